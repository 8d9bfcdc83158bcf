// The command line of the game window: what the player types, and the keys of the input line.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTcpSocket>
#include <QTimer>

#include "app/App.h"
#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "input/Calculator.h"
#include "input/GameMacros.h"
#include "input/WebQuery.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "text/TextWindow.h"
#include "voice/VoiceChat.h"

namespace gr {

namespace {
constexpr double kPingTimeoutMs = 20000;
} // namespace

void Game::ProcessCommandLine() {
    if (Ended()) return;
    ++CommandsThisMinute;
    TD->ScrollToBottom(); // a line sent: the player reads the newest text again
    try {
        TI->setText(FromWire(CleanCommandLine(ToWire(TI->text()), app.Session.SysopMode)));
        const std::string typed = ToWire(TI->text());
        const std::string command = LowerCase(typed);
        CommandRow row = ClassifyCommandLine(command);
        // A voice chat request for another player goes on to the server as typed.
        if (row == CommandRow::VoiceChat && VoiceChatCommand(command, typed)) row = CommandRow::Other;
        switch (row) {
        case CommandRow::DirectionOrChat:
            SendToServer(DirectionOrChat(command, typed));
            break;
        case CommandRow::SpecialSay: {
            std::string text = app.Session.Macros[12][0] + std::string(TextFrom(typed, 4));
            if (!text.starts_with("/")) text = "GeneralChat" + text;
            SendToServer(text);
            break;
        }
        case CommandRow::Cls:
            TD->ClearText();
            break;
        case CommandRow::Ping:
            Ping();
            break;
        case CommandRow::Google:
            OpenWebQuery(app.Deployment.Search, std::string(TextFrom(command, 9)));
            break;
        case CommandRow::Dictionary:
            OpenWebQuery(app.Deployment.Dictionary, std::string(TextFrom(command, 13)));
            break;
        case CommandRow::Forum:
            app.platform.shell.OpenUrl(app.Deployment.Site + QStringLiteral("/forum/"));
            break;
        case CommandRow::VoiceChat:
            break;
        case CommandRow::Save:
            Save_Character_Click();
            break;
        case CommandRow::Macro:
            Macros->Line(command, typed);
            break;
        case CommandRow::Scroll:
            if (TD->TextPaused)
                TD->Resume();
            else
                TD->Pause();
            break;
        case CommandRow::Manager:
            StartClient(std::string());
            break;
        case CommandRow::Load:
            for (const auto& name : LoadNames(command))
                StartClient("/" + name);
            break;
        case CommandRow::Calc:
            RunCalculator(std::string(TextFrom(command, 7)));
            break;
        case CommandRow::Timer:
            RunTimer(std::string(TextFrom(command, 8)));
            break;
        case CommandRow::Version:
            PrintSystemLine("This game version is 2.58.16");
            break;
        case CommandRow::Taskbar:
            ToggleTaskbarDisguise();
            break;
        case CommandRow::Console:
            ShowConsole();
            break;
        case CommandRow::TextBufferSize: {
            const BufferSizeResult result = TextBufferSizeCommand(command, TD->TextBufferSize);
            if (result.Size) TD->TextBufferSize = *result.Size;
            for (const auto& line : result.Print)
                PrintSystemLine(line);
            break;
        }
        case CommandRow::Other:
            if (command.starts_with("/textsize")) {
                if (const auto size = TextSizeCommand(command)) TextSize_Click(*size);
                PrintSystemLine(TextSizeLine(TD->TextSize));
            }
            SendToServer(typed);
            break;
        }
        if (Ended()) return;
        History.Finish(typed);
        TI->clear();
    } catch (const OverflowError&) {
        PrintSystemLine("That number is to big to calculate.");
    } catch (const RunTimeError&) {
        // The rest of the line's handling is abandoned; the line stays in the input box.
    }
}

void Game::RunCalculator(const std::string& argument) {
    PrintSystemLine(Calculate(argument).Print);
}

void Game::RunTimer(const std::string& argument) {
    const PlayerTimer::CommandResult result = Timer.Command(argument);
    PrintSystemLine(result.Print);
    if (result.CheckTimer == PlayerTimer::CheckTimerChange::Start)
        CheckTimer->start();
    else if (result.CheckTimer == PlayerTimer::CheckTimerChange::Stop)
        CheckTimer->stop();
}

void Game::CheckTimer_Timer() {
    const PlayerTimer::TickResult tick = Timer.Tick();
    if (!tick.MessageBox) return;
    // Stopped before the box opens: the box runs the event loop, and a running timer would open more.
    CheckTimer->stop();
    app.platform.dialogs.Message(FromWire(*tick.MessageBox));
}

void Game::Ping() {
    if (PingInProgress) {
        PingClock.StopTimer();
        double elapsed = 0;
        PingClock.ElapsedMs(elapsed);
        if (elapsed <= kPingTimeoutMs) {
            PrintSystemLine("A Ping is currently in progress, please wait for the result (timeout is 20s).");
            return;
        }
        PingInProgress = false;
    }
    PingInProgress = true;
    PingClock.StartTimer();
    SendToServer("PING");
}

void Game::OpenWebQuery(const QString& base, const std::string& query) {
    app.platform.shell.OpenUrl(base + QString::fromLatin1(WebQueryText(query)));
}

void Game::StartClient(const std::string& character) {
    // A second client with the command line of this log-in (and "/" + a character to enter), started
    // directly with its argument list: no script is written, and nothing typed reaches a shell.
    const Lodge& lodge = *app.lodge;
    QString line = lodge.UserName->text() + QLatin1Char('/') + lodge.Password->text() + QLatin1Char('/') +
                   QString::number(lodge.ServerChoice->currentIndex()) + FromWire(character);
    app.platform.shell.StartProgram(QCoreApplication::applicationFilePath(), {line});
}

bool Game::VoiceChatCommand(const std::string& command, const std::string& typed) {
    try {
        if (command == "/voicechat off") {
            PrintSystemLine("Voicechat is off.");
            PlaceInputBox(0);
            VoicePartnerName.clear();
            VoicePartnerAddress.clear();
            TCPSocket->Expect(QString()); // no call is taken until a new request stands
            if (!TCPSocket->IsListening() && !TCPSocket->Listen(quint16(VoicePort)))
                PrintSystemLine(
                    "Voicechat could not start listening for requests on this character, perhaps one of "
                    "your alts is.");
            return false;
        }
        const std::string name(TextFrom(command, 12));
        if (name == LowerCase(VoicePartnerName) && !VoicePartnerAddress.empty()) {
            if (app.lodge && FromWire(VoicePartnerAddress) == app.lodge->Comline->localAddress().toString()) {
                PrintSystemLine("You can't connect to yourself.");
            } else {
                // Only to the address the server announced for this partner, and only a stream that
                // names them.
                TCPSocket->Connect(FromWire(VoicePartnerAddress), quint16(VoicePort),
                                   FromWire(VoicePartnerName));
            }
            return false;
        }
        if (!TCPSocket->IsListening()) {
            PrintSystemLine(
                "You can only have one voicechat session at a time, type '/voicechat off' to cancel the "
                "other person and listen for voicechat requests, or check if any of your alts are "
                "listening for requests.");
            return false;
        }
        VoicePartnerName = std::string(TextFrom(typed, 12));
        // While this request stands, the one call taken is the one whose stream names this player.
        TCPSocket->Expect(FromWire(VoicePartnerName));
        return true; // the request goes to the server as typed
    } catch (const RunTimeError&) {
        return false;
    }
}

void Game::ToggleTaskbarDisguise() {
    if (windowTitle() != QLatin1String("Document - WordPad")) {
        setWindowTitle(QStringLiteral("Document - WordPad"));
        setWindowIcon(WordPadIcon());
    } else {
        setWindowTitle(NormalTitle());
        setWindowIcon(CloudIcon());
    }
}

void Game::ShowConsole() {
    if (!ConsoleWindow) {
        ConsoleWindow = std::make_unique<Console>();
        WatchWindow(ConsoleWindow.get());
    }
    ConsoleWindow->ShowCopy(TD->toHtml());
}

void Game::TI_KeyDown(int keyCode) {
    if (keyCode == 38) {
        TI->setText(FromWire(History.Up()));
    } else if (keyCode == 40) {
        TI->setText(FromWire(History.Down()));
    } else if (keyCode >= 112 && keyCode <= 123) {
        const auto& macro = app.Session.Macros[std::size_t(keyCode - 112)];
        // What the player had typed stays within reach of the Up key.
        const std::string draft = ToWire(TI->text());
        if (draft != macro[0]) History.Keep(draft);
        TI->setText(FromWire(macro[0]));
        TI->setCursorPosition(int(TI->text().size()));
        if (LeadingNumber(macro[1]) == 1) ProcessCommandLine();
        TI->setFocus();
    }
}

void Game::TI_Change() {
    if (TI->text() != QLatin1String("/r ")) return;
    TI->setText(FromWire(ReplyText));
    TI->setCursorPosition(int(TI->text().size()));
}

} // namespace gr
