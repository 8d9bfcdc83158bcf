// The game window's text log: "Log Game Text" in the Text menu, remembered in "LogGameText" ("1" is on),
// keeps every line the text window draws in the data folder's "logs" (game/TextLog.h).
#include <QAction>
#include <QMetaObject>

#include "app/App.h"
#include "core/SafeName.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "text/TextLogWriter.h"
#include "text/TextWindow.h"

namespace gr {

void Game::Log_Game_Text_Click() {
    StoreOption(Log_Game_Text, "LogGameText", true);
    if (Log_Game_Text->isChecked())
        StartTextLog();
    else
        StopTextLog();
}

void Game::StartTextLog() {
    StopTextLog();
    const std::string& name = app.Session.CharacterName;
    if (!IsSafeFileNamePart(name)) {
        // The name comes from the server; one that is no safe file name makes no file at all.
        Log_Game_Text->setChecked(false);
        PrintSystemLine("The game text is not logged: the character's name cannot be a file name.");
        return;
    }
    const int run = ++TextLogRun;
    TextLog = std::make_unique<TextLogWriter>(app.DataFolder, name, [this, run](const QString& reason) {
        // Told on the log's own thread: the report is handed to the window's.
        QMetaObject::invokeMethod(
            this, [this, run, reason] { TextLogFailed(run, reason); }, Qt::QueuedConnection);
    });
}

void Game::StopTextLog() {
    TextLog.reset();
}

void Game::TextLogFailed(int run, const QString& reason) {
    if (run != TextLogRun || !TextLog) return; // a log that has ended since
    // Said once; the log stops until the player switches it on again. The setting stays, so the next
    // session tries again (a full disk may have room by then).
    StopTextLog();
    Log_Game_Text->setChecked(false);
    // The reason names the file, and so the character: braces in a name must not read as markup.
    std::string said = ToWire(reason);
    for (char& c : said)
        if (c == '{' || c == '}') c = c == '{' ? '(' : ')';
    PrintSystemLine("The game text could not be logged: " + said + ".");
}

} // namespace gr
