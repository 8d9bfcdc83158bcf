// The login-phase dispatcher: every message from the server until a character enters the game.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/App.h"
#include "core/Cipher.h"
#include "core/DispatchTick.h"
#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "login/AccountDisplay.h"
#include "login/LoginMessages.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"

namespace gr {

void Lodge::ScheduleWorker() {
    if (WorkerEnabled && !Worker->isActive()) Worker->start();
}

void Lodge::Worker_Timer() {
    if (!WorkerEnabled || Ended() || InWorkerTick) return;
    InWorkerTick = true;
    DispatchTick(app.Wire.InQueue, WorkerMessage, [this](const std::string& m) { return Dispatch(m) && !Ended(); });
    InWorkerTick = false;
    if (!Ended() && app.Wire.InQueue.HasMessages()) ScheduleWorker();
}

bool Lodge::Dispatch(const std::string& message) {
    switch (ClassifyLoginMessage(message)) {
    case LoginMessage::GenerateUser:
        if (app.CharacterCreationAnswer) app.CharacterCreationAnswer(TextFrom(message, 13));
        break;
    case LoginMessage::AccountMsg: AccountMsg(message); break;
    case LoginMessage::AccountEnableCrit: AccountEnableCrit(); break;
    case LoginMessage::Password: WrongPassword(); break;
    case LoginMessage::Display: Display(message); break;
    case LoginMessage::CritInfo: CritInfo(message); return false; // the game window's dispatcher takes over
    case LoginMessage::InUse: InUse(); break;
    case LoginMessage::DayBanRemove:
        app.Machine.RemoveDayBan();
        SendPendingLogin();
        break;
    case LoginMessage::DayBanned: DayBanned(); break;
    case LoginMessage::SysMsgBanned: SysMsgBanned(); break;
    case LoginMessage::KeyCode: KeyCode(message); break;
    case LoginMessage::None: break;
    }
    return true;
}

QString Lodge::ServerKind() const {
    return ServerChoice->currentIndex() == 0 ? QStringLiteral("Multi") : QStringLiteral("Solo");
}

void Lodge::KeyCode(const std::string& message) {
    const auto clientVersion = WholeNumber(ToWire(VersionRequired->text().mid(1)));
    if (!clientVersion) throw RunTimeError("client version is not a number");
    if (KeyCodeVersion(message) > *clientVersion) {
        app.platform.dialogs.Message(QStringLiteral("Your version is out of date, click ok to start the updater from ") +
                                     app.Deployment.WebHostName());
        CloseComline();
        // The updater is a program of the original platform and cannot run here: the client ends as it
        // would after starting it.
        app.platform.ending.End();
        return;
    }
    ConStatus->setText(QStringLiteral("Version ID Received"));
    // A key too short for the cipher is not taken, and then sending closes the connection as before any key.
    const std::string key = KeyCodeKey(message);
    if (key.size() >= kMinCipherKeyLength) {
        app.Wire.CipherKey = key;
        BuildCipherTables(app.Wire.Tables, key);
    }
    if (const auto ban = app.Machine.ActiveDayBan()) {
        SendToServer("DayBanned" + ToWire(*ban));
        return;
    }
    SendPendingLogin();
}

void Lodge::SendPendingLogin() {
    std::string keyword;
    if (PendingAction == 1) {
        if (ScreenIs640x480()) app.platform.dialogs.Message(ResolutionMessage);
        if (Ended()) return;
        keyword = "AccountLoad";
    } else if (PendingAction == 2) {
        keyword = "AccountAddd";
    }
    if (!SendToServer(keyword + ToWire(UserName->text()) + "/" + ToWire(Password->text()))) return;
    ConStatus->setText(QStringLiteral("Login Info Sent"));
}

void Lodge::AccountMsg(const std::string& message) {
    ResetLoginDisplay();
    app.accountDisplay->EnablePlay();
    // A refused transfer is answered with a notice: the transfer button is usable again.
    app.accountDisplay->EnableTransfer();
    app.platform.dialogs.Message(FromWire(TextFrom(message, 11)));
}

void Lodge::AccountEnableCrit() {
    AccountDisplay& manager = *app.accountDisplay;
    manager.EnableTransfer();
    if (!RemoveCritRecord(app.Account.CritTable, ToWire(manager.CharacterMove->text()))) return;
    app.Account.CritView = app.Account.CritTable;
    manager.ShowCritPage();
}

void Lodge::WrongPassword() {
    Dialogs& dialogs = app.platform.dialogs;
    if (PasswordRetries >= 3) {
        dialogs.Message(QStringLiteral("You have made to many attempts to login, restart gloamrest to continue."));
        return;
    }
    if (dialogs.Ask(QStringLiteral("Password has not been recognised (case sensitive). Do you want the server to send "
                                   "the password to the accounts' email?"))) {
        if (!SendToServer("AccountEmail" + ToWire(UserName->text()))) return;
        dialogs.Message(QStringLiteral("Requesting email..."));
        ++PasswordRetries;
    }
    if (Ended()) return;
    ResetLoginDisplay();
}

void Lodge::Display(const std::string& message) {
    app.SaveSetting(QStringLiteral("UserID"), UserName->text());
    const auto display = ParseDisplay(TextFrom(message, 8));
    if (!display) return;
    AccountState& account = app.Account;
    account.AccountEmail = display->Email;
    AppendCritRecords(account.CritTable, display->Records);
    account.CritView = account.CritTable;

    AccountDisplay& manager = *app.accountDisplay;
    const bool opening = !manager.isVisible();
    hide();
    manager.show();
    if (opening) manager.TakeKeyboard(); // a list sent again (Refresh) leaves the focus where it is
    manager.setWindowTitle(QStringLiteral("Account Manager - Gloamrest ") + ServerKind() + QStringLiteral(" - ") +
                           FromWire(display->AccountName));
    manager.RefreshView();

    // A character named on the command line is entered without a click, once.
    if (app.Session.AutoPlayCharacter.empty()) return;
    for (const auto& record : account.CritTable) {
        if (!record[0].empty() && LowerCase(record[0]) == app.Session.AutoPlayCharacter) {
            app.Session.AutoPlayCharacter.clear();
            manager.PlayCharacter(record[0]);
            return;
        }
    }
}

void Lodge::CritInfo(const std::string& message) {
    // Fewer than six parts is a failure: the handler ends before the game starts.
    const auto parts = SplitFields(TextFrom(message, 9), "^%^");
    for (std::size_t i = 0; i < app.Session.CharacterInfo.size(); ++i) {
        if (i >= parts.size()) throw RunTimeError("CritInfo has fewer than six parts");
        app.Session.CharacterInfo[i] = std::string(parts[i]);
    }
    WorkerEnabled = false;
    Worker->stop();
    if (!GameWindow) {
        GameWindow = std::make_unique<Game>(app);
        GameWindow->Form_Load();
        if (Ended()) return;
    }
    GameWindow->show();
    app.accountDisplay->hide();
    GameWindow->setWindowTitle(FromWire(app.Session.CharacterName) + QStringLiteral(" - ") +
                               app.Deployment.WebHostName() + QStringLiteral(" - Gloamrest ") + ServerKind());
}

void Lodge::InUse() {
    app.accountDisplay->EnablePlay();
    app.platform.dialogs.Message(QStringLiteral("You are already logged on to the game. If you were disconnected from "
                                                "the server then wait a minute then try again."));
}

void Lodge::DayBanned() {
    app.platform.dialogs.Message(QStringLiteral("This machine has been banned until midnight server time (GMT), you "
                                                "must have been pretty bad to deserve this."));
    app.platform.ending.End();
}

void Lodge::SysMsgBanned() {
    app.platform.dialogs.Message(QStringLiteral("That character has been banned."));
    CloseComline();
    app.platform.ending.End();
}

} // namespace gr
