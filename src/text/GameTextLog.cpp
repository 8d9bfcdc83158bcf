#include "text/GameTextLog.h"

#include <QAction>
#include <QMenu>
#include <QMetaObject>

#include "core/SafeName.h"
#include "core/WireText.h"
#include "text/TextLogWriter.h"

namespace gr {

namespace {
const QString kSetting = QStringLiteral("LogGameText");
} // namespace

GameTextLog::GameTextLog(Host host, QMenu* text, QObject* parent) : QObject(parent), Window(std::move(host)) {
    Log_Game_Text = text->addAction(QStringLiteral("Log Game Text"));
    Log_Game_Text->setCheckable(true);
    Log_Game_Text->setToolTip(QStringLiteral("Keeps the game text in the data folder's \"logs\""));
    connect(Log_Game_Text, &QAction::triggered, this, &GameTextLog::Log_Game_Text_Click);
}

GameTextLog::~GameTextLog() = default; // the writer writes what is queued

void GameTextLog::ReadOption() {
    Log_Game_Text->setChecked(!Window.Setting(kSetting).isEmpty());
    if (Log_Game_Text->isChecked()) Start();
}

void GameTextLog::Append(const std::vector<DrawOp>& ops) {
    if (Writer) Writer->Append(ops);
}

void GameTextLog::Log_Game_Text_Click() {
    Window.Save(kSetting, Log_Game_Text->isChecked() ? QStringLiteral("1") : QString());
    if (Log_Game_Text->isChecked())
        Start();
    else
        Stop();
}

void GameTextLog::Start() {
    Stop();
    const std::string name = Window.CharacterName();
    if (!IsSafeFileNamePart(name)) {
        // The name comes from the server; one that is no safe file name makes no file at all.
        Log_Game_Text->setChecked(false);
        Window.Print("The game text is not logged: the character's name cannot be a file name.");
        return;
    }
    const int run = ++Run;
    Writer = std::make_unique<TextLogWriter>(Window.DataFolder, name, [this, run](const QString& reason) {
        // Told on the log's own thread: the report is handed to the window's.
        QMetaObject::invokeMethod(
            this, [this, run, reason] { Failed(run, reason); }, Qt::QueuedConnection);
    });
}

void GameTextLog::Stop() {
    Writer.reset();
}

void GameTextLog::Failed(int run, const QString& reason) {
    if (run != Run || !Writer) return; // a log that has ended since
    // Said once; the log stops until the player switches it on again. The setting stays, so the next
    // session tries again (a full disk may have room by then).
    Stop();
    Log_Game_Text->setChecked(false);
    // The reason names the file, and so the character: braces in a name must not read as markup.
    std::string said = ToWire(reason);
    for (char& c : said)
        if (c == '{' || c == '}') c = c == '{' ? '(' : ')';
    Window.Print("The game text could not be logged: " + said + ".");
}

} // namespace gr
