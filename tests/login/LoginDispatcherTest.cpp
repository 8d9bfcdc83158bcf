// The login-phase dispatcher: each message as the server sends it, on a connected login window.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/Cipher.h"
#include "game/Game.h"
#include "login/AccountDisplay.h"
#include "login/ImageButton.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {
namespace {

const std::string kKey = "Zq7secret";

class LoginDispatcher : public LodgeFixture {
protected:
    // A window that has logged in to the peer: the key has arrived and the log-in has gone out.
    Lodge& Connected() { return LoggedIn(peer, kKey); }
    // Queues the messages in order and runs one tick of the dispatcher.
    void Tick(Lodge& w, const std::vector<std::string>& messages) {
        for (const auto& m : messages) app->Wire.InQueue.Put(m);
        w.Worker_Timer();
    }
    // What the client has sent since the log-in, once `count` messages are there.
    std::vector<std::string> Sent(std::size_t count = 1) { return peer.WaitMessages(kKey, count); }
    std::vector<std::string> Names(int rows) const {
        std::vector<std::string> names;
        for (int r = 0; r < rows; ++r) names.push_back(app->Account.CritTable[std::size_t(r)][0]);
        return names;
    }
    Peer peer;
};

TEST_F(LoginDispatcher, NoticesAndRefusals) {
    struct Case {
        std::string message;
        QStringList shown;
        bool playEnabled;
    };
    const std::vector<Case> cases = {
        {"AccountMSGThe realm is closed for repairs.", {QStringLiteral("The realm is closed for repairs.")}, true},
        {"AccountMsgnot a keyword", {}, false},
        {"InUse", {QStringLiteral("You are already logged on to the game. If you were disconnected from the server then "
                                  "wait a minute then try again.")}, true},
        {"InUse ", {}, false},
        {"Unknown", {}, false},
    };
    Lodge& w = Connected();
    for (const auto& c : cases) {
        dialogs.Shown.clear();
        app->accountDisplay->PlayCharacter("Nobody"); // buttons waiting
        peer.Received.clear();
        Tick(w, {c.message});
        EXPECT_EQ(c.shown, dialogs.Shown) << c.message;
        EXPECT_EQ(c.playEnabled, app->accountDisplay->Play[0]->isEnabled()) << c.message;
        EXPECT_EQ(c.playEnabled ? QStringLiteral("Play") : QStringLiteral("Wait"), app->accountDisplay->Play[10]->text());
    }
    EXPECT_TRUE(w.Login[0]->isVisible()); // the notice returned the login window to idle
    EXPECT_FALSE(ending.Ended());
}

TEST_F(LoginDispatcher, WrongPasswordOffersTheEmailThreeTimes) {
    Lodge& w = Connected();
    dialogs.Answers = {false, true, true, true};
    for (int i = 0; i < 5; ++i) Tick(w, {"Password"});
    const QString question = QStringLiteral("Password has not been recognised (case sensitive). Do you want the server "
                                            "to send the password to the accounts' email?");
    const QString requesting = QStringLiteral("Requesting email...");
    EXPECT_EQ((QStringList{question, question, requesting, question, requesting, question, requesting,
                           QStringLiteral("You have made to many attempts to login, restart gloamrest to continue.")}),
              dialogs.Shown);
    EXPECT_EQ(std::vector<std::string>(3, "AccountEmailbob"), Sent(3));
    EXPECT_EQ(3, w.PasswordRetries);
}

TEST_F(LoginDispatcher, BansEndTheApplication) {
    for (const char* message : {"DayBanned", "SysMsgBanned"}) {
        dialogs.Shown.clear();
        FakeEnding fresh;
        std::swap(ending, fresh);
        Lodge& w = Connected();
        Tick(w, {message, "InUse"});
        ASSERT_EQ(1, dialogs.Shown.size()) << message;
        EXPECT_TRUE(ending.Ended()) << message;
        peer.Socket = nullptr;
    }
}

TEST_F(LoginDispatcher, DayBanRecordGoesOutInsteadOfTheLogIn) {
    Lodge& w = Make();
    w.Form_Load();
    app->Machine.RecordDayBan(QStringLiteral("until midnight"));
    w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
    w.UserName->setText(QStringLiteral("bob"));
    w.Password->setText(QStringLiteral("pw"));
    w.Login_Click(0);
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
    peer.Send("KEYCODE 59" + kKey + "{[}]");
    ASSERT_TRUE(WaitFor([&] { return !peer.Received.empty(); }));
    EXPECT_EQ(std::vector<std::string>{"DayBanneduntil midnight"}, Sent());
    // The server lifts the ban: the record goes and the log-in follows.
    peer.Received.clear();
    Tick(w, {"DayBanRemove"});
    EXPECT_FALSE(app->Machine.ActiveDayBan());
    EXPECT_EQ(std::vector<std::string>{"AccountLoadbob/pw"}, Sent());
    EXPECT_EQ(QStringLiteral("Login Info Sent"), w.ConStatus->text());
}

TEST_F(LoginDispatcher, VersionCheck) {
    struct Case {
        std::string keycode;
        bool accepted;
    };
    for (const Case& c : {Case{"KEYCODE 59abc", true}, Case{"KEYCODE 58abc", true}, Case{"KEYCODE 60abc", false}}) {
        dialogs.Shown.clear();
        FakeEnding fresh;
        std::swap(ending, fresh);
        Lodge& w = Connected();
        Tick(w, {c.keycode});
        EXPECT_EQ(!c.accepted, ending.Ended()) << c.keycode;
        if (c.accepted) {
            EXPECT_EQ("abc", app->Wire.CipherKey);
            EXPECT_TRUE(dialogs.Shown.isEmpty());
        } else {
            EXPECT_EQ(QStringList{QStringLiteral("Your version is out of date, click ok to start the updater from 127.0.0.1")},
                      dialogs.Shown);
            EXPECT_FALSE(w.ComlineConnected());
        }
        peer.Socket = nullptr;
    }
}

TEST_F(LoginDispatcher, FailingHandlerEndsTheTickAndLaterSlotsWait) {
    Lodge& w = Connected();
    Tick(w, {"KEYCODE xxkey", "AccountMSGlater"});
    EXPECT_TRUE(dialogs.Shown.isEmpty());
    EXPECT_EQ("AccountMSGlater", app->Wire.InQueue.At(0));
    w.Worker_Timer();
    EXPECT_EQ(QStringList{QStringLiteral("later")}, dialogs.Shown);
}

TEST_F(LoginDispatcher, CharacterCreationAnswersGoToItsWindowOnly) {
    Lodge& w = Connected();
    Tick(w, {"GenerateUserUsernameAccepted"}); // no window yet: dropped
    std::vector<std::string> answers;
    app->CharacterCreationAnswer = [&](std::string_view text) { answers.emplace_back(text); };
    Tick(w, {"GenerateUserStatsIn1/2/3", "GenerateUser"});
    EXPECT_EQ((std::vector<std::string>{"StatsIn1/2/3", ""}), answers);
}

TEST_F(LoginDispatcher, DisplayOpensTheAccountManager) {
    Lodge& w = Connected();
    Tick(w, {"Displaybob/bob@example.org/3/Aldric:3:Elf:Mage:Male:Never/Five:1:2:3:4/Brynn:9:Orc:Rogue:Female:Never/"
             "Seven:1:2:3:4:5:6/"});
    AccountDisplay& manager = *app->accountDisplay;
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(manager.isVisible());
    EXPECT_EQ(QStringLiteral("Account Manager - Gloamrest Multi - bob"), manager.windowTitle());
    EXPECT_EQ(QStringLiteral("bob"), app->GetSetting(QStringLiteral("UserID")));
    EXPECT_EQ("bob@example.org", app->Account.AccountEmail);
    EXPECT_EQ((std::vector<std::string>{"Aldric", "", "Brynn", "", ""}), Names(5));
    EXPECT_EQ(QStringLiteral("Aldric"), manager.CTable[0]->text());
    EXPECT_EQ(QStringLiteral("Elf"), manager.CTable[2]->text());
    EXPECT_EQ(QStringLiteral("Brynn"), manager.CTable[12]->text());
    // Received again, the list is added after the rows held.
    Tick(w, {"Displaybob/bob@example.org/1/Corwen:1:Human:Cleric:Male:Never/", "Displaybob/x"});
    EXPECT_EQ((std::vector<std::string>{"Aldric", "Corwen", "Brynn", "", ""}), Names(5));
    EXPECT_TRUE(dialogs.Shown.isEmpty());
}

TEST_F(LoginDispatcher, TransferSuccessRemovesTheRow) {
    Lodge& w = Connected();
    Tick(w, {"Displaybob/e/2/Aldric:3:Elf:Mage:Male:Never/Brynn:9:Orc:Rogue:Female:Never/"});
    AccountDisplay& manager = *app->accountDisplay;
    manager.TransferCrit->setEnabled(false);
    manager.CharacterMove->setText(QStringLiteral("Nobody"));
    Tick(w, {"AccountEnableCrit"});
    EXPECT_TRUE(manager.TransferCrit->isEnabled());
    EXPECT_EQ(QStringLiteral("Transfer Character"), manager.TransferCrit->text());
    EXPECT_EQ((std::vector<std::string>{"Aldric", "Brynn"}), Names(2));
    manager.CharacterMove->setText(QStringLiteral("Aldric"));
    Tick(w, {"AccountEnableCrit"});
    EXPECT_EQ((std::vector<std::string>{"Brynn", ""}), Names(2));
    EXPECT_EQ(QStringLiteral("Brynn"), manager.CTable[0]->text());
}

TEST_F(LoginDispatcher, CritInfoHandsOverToTheGameWindow) {
    Lodge& w = Connected();
    Tick(w, {"Displaybob/e/1/Aldric:3:Elf:Mage:Male:Never/"});
    app->accountDisplay->Play_Click(0);
    EXPECT_EQ((std::vector<std::string>{"AccountLoginGRAldric/" + app->Machine.MachineIdentifier().toStdString()}), Sent());
    EXPECT_EQ(QStringLiteral("Wait"), app->accountDisplay->Play[3]->text());
    Tick(w, {"CritInfoAldric^%^3^%^Elf^%^Mage^%^Male^%^Never", "HPChange10", "RoomText hello"});
    ASSERT_NE(nullptr, app->game);
    EXPECT_TRUE(app->game->isVisible());
    EXPECT_FALSE(app->accountDisplay->isVisible());
    EXPECT_EQ(QStringLiteral("Aldric - 127.0.0.1 - Gloamrest Multi"), app->game->windowTitle());
    EXPECT_EQ((std::array<std::string, 6>{"Aldric", "3", "Elf", "Mage", "Male", "Never"}), app->Session.CharacterInfo);
    // The rest of the queue is the game window's, in arrival order.
    EXPECT_FALSE(w.WorkerEnabled);
    EXPECT_EQ("HPChange10", app->Wire.InQueue.At(0));
    EXPECT_EQ("RoomText hello", app->Wire.InQueue.At(1));
    w.Worker_Timer();
    EXPECT_EQ("HPChange10", app->Wire.InQueue.At(0));
}

TEST_F(LoginDispatcher, CritInfoWithTooFewPartsDoesNotEnter) {
    Lodge& w = Connected();
    Tick(w, {"CritInfoAldric^%^3", "InUse"});
    EXPECT_EQ(nullptr, app->game);
    EXPECT_TRUE(w.WorkerEnabled);
    EXPECT_EQ("InUse", app->Wire.InQueue.At(0));
}

TEST_F(LoginDispatcher, CommandLineCharacterIsEnteredWithoutAClick) {
    Lodge& w = Connected();
    app->Session.AutoPlayCharacter = "brynn";
    Tick(w, {"Displaybob/e/2/Aldric:3:Elf:Mage:Male:Never/Brynn:9:Orc:Rogue:Female:Never/"});
    EXPECT_EQ("Brynn", app->Session.CharacterName);
    EXPECT_EQ((std::vector<std::string>{"AccountLoginGRBrynn/" + app->Machine.MachineIdentifier().toStdString()}), Sent());
    EXPECT_FALSE(app->accountDisplay->Play[0]->isEnabled());
}

} // namespace
} // namespace gr::test
