#pragma once
// The game's sound effects and music. A name the server sends plays its file from "sounds/" or "music/" in
// the data folder; a missing file is fetched from the web host first, in the background, and plays once it
// is saved. Only one effect and one piece are open at a time: each new request stops the one before, and a
// newer request replaces one still waiting for its download. Music loops until it is stopped.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "sound/SoundRules.h"

namespace gr {

class Downloads;
class Media;

class SoundPlayer final : public QObject {
    Q_OBJECT
  public:
    // folder: the data folder. say: one line for the text window (why nothing can be heard, once).
    // downloading: the caption's suffix while a download runs ("Downloading Sound Effect"), empty after.
    SoundPlayer(Media& media, Downloads& downloads, QString folder,
                std::function<void(const std::string&)> say, std::function<void(const QString&)> downloading,
                QObject* parent = nullptr);
    ~SoundPlayer() override;

    void PlaySoundEffect(const std::string& name);
    void PlayMusic(const std::string& name);
    // "OFFLINE": both stop and close; nothing waiting plays afterwards.
    void StopAll();

    std::string CurrentMusic;

  private:
    struct Waiting {
        std::string Name; // empty: nothing waits
        QString File;     // the local file that will play
    };
    void Play(SoundKind kind, const std::string& name);
    static bool IsKept(SoundKind kind, const QString& file);
    void Start(SoundKind kind, const QString& file);
    void Arrived(SoundKind kind, const std::string& name, bool saved);
    void ShowDownloading();
    void TellProblem();

    Media& Device;
    Downloads& Service;
    QString Folder;
    std::function<void(const std::string&)> Say;
    std::function<void(const QString&)> Downloading;
    Waiting Wait[2];
    bool ProblemTold = false;
};

} // namespace gr
