#pragma once
// The game window's macros: the character's sets read at load, "/macro" and "/macroset" typed in the
// command line, and the macro editor behind "Edit Macros" in the Character Options menu.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace gr {

class MacroSets;
class MacrosChange;
struct SessionState;

class GameMacros final : public QObject {
    Q_OBJECT
  public:
    // What it needs from the window around it: the session (whose macros these are), the data folder, the
    // server chosen at login (0 or 1: the sets of the second server are files of their own), a system line
    // in the game text, and a window the game opens (the keyboard goes back to the input line when it
    // closes).
    struct Host {
        SessionState& Session;
        QString DataFolder;
        std::function<int()> Server;
        std::function<void(const std::string&)> Print;
        std::function<void(QWidget*)> Opened;
    };
    // Adds "Edit Macros" to the character menu.
    GameMacros(Host host, QMenu* character, QObject* parent);
    ~GameMacros() override;

    // The load sequence: the character's current set.
    void Start();
    // "/macroset N" or "/macro ..." as typed; a number that is no number throws, and the line stays typed.
    void Line(const std::string& command, const std::string& typed);
    void Edit_Macros_Click();

    QAction* Edit_Macros = nullptr;
    std::unique_ptr<MacroSets> MacroFiles;     // from the load sequence on
    std::unique_ptr<MacrosChange> MacroEditor; // once opened

  private:
    Host Window;
};

} // namespace gr
