// Connecting and logging in, sending and the server's closing, against a scripted peer on loopback.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "devserver/ServerProtocol.h"
#include "core/Cipher.h"
#include "login/ImageButton.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {
namespace {

class LodgeConnect : public LodgeFixture {
protected:
    // A window on the peer's port, as the hidden connection boxes allow.
    Lodge& MakeOnPeer() {
        Lodge& w = Make();
        w.Form_Load();
        w.SpecialIP->setText(QStringLiteral("127.0.0.1"));
        w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
        w.UserName->setText(QStringLiteral("Bob Smith"));
        w.Password->setText(QStringLiteral(" p@ss/word "));
        return w;
    }
    Peer peer;
};

TEST_F(LodgeConnect, EmptyNameOrPasswordAsksForThem) {
    Lodge& w = Make();
    w.Form_Load();
    w.Login_Click(0);
    w.UserName->setText(QStringLiteral("bob"));
    w.Login_Click(1);
    EXPECT_EQ((QStringList{QStringLiteral("To login to your account, type the username and password in above, then click again."),
                           QStringLiteral("To create an account type the username and password you want above, then click again.")}),
              dialogs.Shown);
    EXPECT_FALSE(w.ComlineConnected());
    EXPECT_EQ(0, w.PendingAction);
}

TEST_F(LodgeConnect, BannedMachineCannotLogIn) {
    Lodge& w = MakeOnPeer();
    app->Machine.RegWrite(QStringLiteral("Protection"), QStringLiteral("Banned"), QStringLiteral("1"));
    w.Login_Click(0);
    EXPECT_EQ(QStringList{QStringLiteral("This machine has been banned, you must have been pretty bad to deserve this.")},
              dialogs.Shown);
    EXPECT_TRUE(ending.Ended());
}

TEST_F(LodgeConnect, LogInWaitsForTheKeyThenSendsOnce) {
    Lodge& w = MakeOnPeer();
    QTest::mouseClick(w.Login[0], Qt::LeftButton);
    ASSERT_TRUE(w.ComlineConnected());
    EXPECT_EQ(1, w.PendingAction);
    EXPECT_EQ(QStringLiteral("Connection Established"), w.ConStatus->text());
    EXPECT_FALSE(w.Login[0]->isVisible());
    EXPECT_TRUE(w.Connecting->isVisible());
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
    QTest::qWait(50);
    EXPECT_TRUE(peer.Received.empty()); // nothing before the key
    peer.Send("KEYCODE 59Zq7secret{[}]");
    ASSERT_TRUE(WaitFor([&] { return !peer.Received.empty(); }));
    EXPECT_EQ("Zq7secret", app->Wire.CipherKey);
    EXPECT_EQ(std::vector<std::string>{"AccountLoadBob Smith/ p@ss/word "}, peer.Messages("Zq7secret"));
    EXPECT_EQ(QStringLiteral("Login Info Sent"), w.ConStatus->text());
    // n bytes become n + 6 enciphered bytes and the terminator.
    EXPECT_EQ(std::string("AccountLoadBob Smith/ p@ss/word ").size() + 8, peer.Received.size());

    // Clicking again while connected sends at once, without a new connection.
    w.Login_Click(1);
    ASSERT_TRUE(WaitFor([&] { return peer.Messages("Zq7secret").size() == 2; }));
    EXPECT_EQ("AccountAdddBob Smith/ p@ss/word ", peer.Messages("Zq7secret")[1]);
    EXPECT_TRUE(dialogs.Shown.isEmpty());
}

TEST_F(LodgeConnect, KeyWithoutPendingActionSendsNameAndPassword) {
    Lodge& w = MakeOnPeer();
    w.Login_Click(0);
    w.PendingAction = 0;
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
    peer.Send("KEYCODE 59ab{[}]");
    ASSERT_TRUE(WaitFor([&] { return !peer.Received.empty(); }));
    EXPECT_EQ(std::vector<std::string>{"Bob Smith/ p@ss/word "}, peer.Messages("ab"));
}

TEST_F(LodgeConnect, KeyTooShortIsNotTakenAndNothingIsSent) {
    Lodge& w = MakeOnPeer();
    w.Login_Click(0);
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
    peer.Send("KEYCODE 59k{[}]");
    ASSERT_TRUE(WaitFor([&] { return peer.Closed; }));
    EXPECT_TRUE(app->Wire.CipherKey.empty());
    EXPECT_TRUE(peer.Received.empty());
    EXPECT_FALSE(w.ComlineConnected());
    EXPECT_TRUE(w.Login[0]->isVisible());
    EXPECT_FALSE(w.ConStatus->isVisible());
    EXPECT_FALSE(ending.Ended());
}

TEST_F(LodgeConnect, ReconnectingStartsWithoutTheOldKeyOrBatch) {
    Lodge& w = LoggedIn(peer, "firstKey");
    const QTcpSocket* first = peer.Socket;
    peer.Send("TMDhalf a batch");
    ASSERT_TRUE(WaitFor([&] { return !w.Receiver.ReceiveBuffer().empty(); }));
    // A port change drops the connection.
    w.Alternate_Port_Click();
    w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
    EXPECT_TRUE(app->Wire.CipherKey.empty());
    EXPECT_TRUE(w.Receiver.ReceiveBuffer().empty());
    peer.Received.clear();
    w.Login_Click(0);
    ASSERT_TRUE(WaitFor([&] { return peer.Socket != first; }));
    QTest::qWait(50);
    EXPECT_TRUE(peer.Received.empty()); // nothing before the new key
    peer.Send("KEYCODE 59secondKey{[}]");
    EXPECT_EQ(std::vector<std::string>{"AccountLoadbob/pw"}, peer.WaitMessages("secondKey", 1));
    EXPECT_TRUE(dialogs.Shown.isEmpty());
}

TEST_F(LodgeConnect, ServerClosingEndsTheApplication) {
    for (int deleted : {0, 1}) {
        dialogs.Shown.clear();
        Lodge& w = MakeOnPeer();
        app->Wire.CharacterDeleted = deleted;
        w.Login_Click(0);
        ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
        peer.Socket->disconnectFromHost();
        ASSERT_TRUE(WaitFor([&] { return ending.Ended(); }));
        EXPECT_EQ(QStringList{deleted ? QStringLiteral("Your character has been deleted.")
                                      : QStringLiteral("Connection dropped by remote host.")},
                  dialogs.Shown);
        peer.Socket = nullptr;
        FakeEnding fresh; // the next round starts unended
        std::swap(ending, fresh);
    }
}

TEST_F(LodgeConnect, SendingWithoutConnectionEndsTheApplication) {
    Lodge& w = Make();
    EXPECT_FALSE(w.SendToServer("Look"));
    EXPECT_EQ(QStringList{QStringLiteral("Not connected, can't send data.")}, dialogs.Shown);
    EXPECT_TRUE(ending.Ended());
}

TEST_F(LodgeConnect, NoServerGivesUpWithAMessage) {
    Lodge& w = Make();
    w.Form_Load();
    w.SpecialIP->setText(QStringLiteral("127.0.0.2"));
    w.UserName->setText(QStringLiteral("bob"));
    w.Password->setText(QStringLiteral("pw"));
    w.Login_Click(0);
    EXPECT_EQ(QStringList{QStringLiteral("Server could not be found, try clicking 'Alternate DNS/Port' on the options "
                                         "menu, or try again shortly.")},
              dialogs.Shown);
    EXPECT_EQ(QStringLiteral("Server not found"), w.ConStatus->text());
    EXPECT_TRUE(w.Login[0]->isVisible());
    EXPECT_TRUE(w.Login[1]->isVisible());
    EXPECT_FALSE(w.Connecting->isVisible());
    EXPECT_EQ(0, w.PendingAction);
}

// A listening socket whose queue of waiting connections is full: the kernel drops a further connection
// attempt without an answer, so a client's connecting can end only by its own time limit.
class SilentHost {
public:
    SilentHost() {
        Listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(0, ::bind(Listener, reinterpret_cast<sockaddr*>(&address), length));
        EXPECT_EQ(0, ::listen(Listener, 0));
        EXPECT_EQ(0, ::getsockname(Listener, reinterpret_cast<sockaddr*>(&address), &length));
        Port = ntohs(address.sin_port);
        for (int i = 0; i < 3; ++i) { // fill the queue; nobody accepts
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
            Fillers.push_back(filler);
        }
        QTest::qWait(50);
    }
    ~SilentHost() {
        for (const int filler : Fillers) ::close(filler);
        ::close(Listener);
    }
    int Listener = -1;
    quint16 Port = 0;
    std::vector<int> Fillers;
};

TEST_F(LodgeConnect, ConnectingGivesUpAtTheTimeLimit) {
    SilentHost silent;
    Lodge& w = MakeOnPeer();
    w.SpecialPort->setText(QString::number(silent.Port));
    w.ConnectWaitMs = 300;
    QElapsedTimer clock;
    clock.start();
    w.Login_Click(0);
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, 250); // the limit (a timer within 5%), not a refusal, ended the wait
    EXPECT_LT(waited, 3000);
    EXPECT_EQ(QStringList{QStringLiteral("Server could not be found, try clicking 'Alternate DNS/Port' on the options "
                                         "menu, or try again shortly.")},
              dialogs.Shown);
    EXPECT_EQ(QStringLiteral("Server not found"), w.ConStatus->text());
    EXPECT_EQ(QAbstractSocket::UnconnectedState, w.Comline->state());
    EXPECT_TRUE(w.Login[0]->isVisible());
    EXPECT_EQ(0, w.PendingAction);
    EXPECT_FALSE(ending.Ended());
}

TEST_F(LodgeConnect, PortChangeDropsTheOpenConnection) {
    Lodge& w = LoggedIn(peer, "k3y");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    struct Step {
        std::function<void()> act;
        const char* port;
    };
    const std::vector<Step> steps = {
        {[&] {
             w.ServerChoice->setFocus();
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // the second server
         },
         "20001"},
        {[&] { w.Alternate_Port->trigger(); }, "143"},
        {[&] {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up); // back to the first
         },
         "110"},
    };
    for (const auto& step : steps) {
        // Connected afresh on the peer's port.
        if (!w.ComlineConnected()) {
            peer.Socket = nullptr;
            peer.Closed = false;
            w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
            w.Login_Click(0);
            ASSERT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
        }
        ASSERT_TRUE(w.ComlineConnected());
        step.act();
        EXPECT_EQ(QString::fromLatin1(step.port), w.SpecialPort->text());
        EXPECT_FALSE(w.ComlineConnected()) << step.port;
        EXPECT_TRUE(WaitFor([&] { return peer.Closed; })) << step.port;
    }
    EXPECT_EQ(QStringLiteral("0"), app->GetSetting(QStringLiteral("ServerChoice")));
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Port")));
    // Dropping it ourselves is no loss of connection: no message, the client goes on.
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(ending.Ended());
}

TEST_F(LodgeConnect, OptionsChooseHostAndPort) {
    Lodge& w = Make();
    w.Form_Load();
    struct Step {
        std::function<void()> act;
        const char* port;
        const char* stored;
    };
    const std::vector<Step> steps = {
        {[&] { w.Alternate_Port->trigger(); }, "110", "1"},
        {[&] { w.ServerChoice->setCurrentIndex(1); w.ServerChoice_Click(1); }, "143", "1"},
        {[&] { w.Alternate_Port->trigger(); }, "20001", ""},
        {[&] { w.ServerChoice->setCurrentIndex(0); w.ServerChoice_Click(0); }, "20000", ""},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(QString::fromLatin1(step.port), w.SpecialPort->text());
        EXPECT_EQ(QString::fromLatin1(step.stored), app->GetSetting(QStringLiteral("Port")));
    }
    EXPECT_EQ(QStringLiteral("0"), app->GetSetting(QStringLiteral("ServerChoice")));
    w.Alternate_DNS->trigger();
    EXPECT_EQ(app->Deployment.Alternate, w.SpecialIP->text());
    w.Alternate_DNS->trigger();
    EXPECT_EQ(app->Deployment.Primary, w.SpecialIP->text());
}

TEST_F(LodgeConnect, AccessCodeShowsConnectionBoxesAndHelpOpensThePage) {
    Lodge& w = Make();
    w.Form_Load();
    w.Password->setText(QStringLiteral("gl0aM"));
    EXPECT_FALSE(w.SpecialPort->isVisible());
    w.Password->setText(Lodge::TestAccessCode);
    EXPECT_TRUE(w.SpecialIP->isVisible());
    EXPECT_TRUE(w.SpecialPort->isVisible());
    EXPECT_TRUE(w.VersionRequired->isVisible());
    QTest::mouseClick(w.Help, Qt::LeftButton);
    EXPECT_EQ(QStringList{QStringLiteral("http://127.0.0.1:9/gamehelpicon.html")}, shell.Opened);
}

TEST_F(LodgeConnect, ButtonsAnimateWhileTheMouseIsOverThem) {
    Lodge& w = Make();
    w.Form_Load();
    QTest::mouseMove(w.Login[0], QPoint(10, 10));
    EXPECT_TRUE(w.LoginTimer->isActive());
    EXPECT_FALSE(w.CreateAccountTimer->isActive());
    for (int i = 0; i < 29; ++i) w.LoginTimer_Timer();
    EXPECT_EQ(0, w.LoginFrame); // 29 frames wrap back to the first
    QTest::mouseMove(w.Login[1], QPoint(10, 10));
    EXPECT_FALSE(w.LoginTimer->isActive());
    EXPECT_TRUE(w.CreateAccountTimer->isActive());
    for (int i = 0; i < 40; ++i) w.CreateAccountTimer_Timer();
    EXPECT_EQ(2, w.CreateAccountFrame); // 38 frames
    QTest::mouseMove(w.centralWidget(), QPoint(5, 5));
    EXPECT_FALSE(w.LoginTimer->isActive());
    EXPECT_FALSE(w.CreateAccountTimer->isActive());
}

} // namespace
} // namespace gr::test
