#pragma once
// The game window's text log: "Log Game Text" in the Text menu, remembered in "LogGameText" ("1" is on),
// keeps every line the text window draws in the data folder's "logs" (TextLog.h). Should the files fail to
// be written, the game says so once and the log stops until it is switched on again.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "text/TextMarkup.h"

class QAction;
class QMenu;

namespace gr {

class TextLogWriter;

class GameTextLog final : public QObject {
    Q_OBJECT
  public:
    // What it needs from the window around it: the settings, a system line in the game text, the data
    // folder and the character's name.
    struct Host {
        std::function<QString(const QString& key)> Setting;
        std::function<void(const QString& key, const QString& value)> Save;
        std::function<void(const std::string&)> Print;
        QString DataFolder;
        std::function<std::string()> CharacterName;
    };
    // Adds "Log Game Text" to the text menu.
    GameTextLog(Host host, QMenu* text, QObject* parent);
    ~GameTextLog() override;

    // The load sequence: the switch from the settings, and the log when it is on.
    void ReadOption();
    // A line the text window drew.
    void Append(const std::vector<DrawOp>& ops);

    QAction* Log_Game_Text = nullptr;
    std::unique_ptr<TextLogWriter> Writer; // while the log runs

  private:
    void Log_Game_Text_Click();
    // Starts the log for the character, or says why it cannot; Stop writes what is queued.
    void Start();
    void Stop();
    void Failed(int run, const QString& reason);

    Host Window;
    int Run = 0; // counts the logs started, so that a late report of an ended one is ignored
};

} // namespace gr
