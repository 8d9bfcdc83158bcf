// The game window's options and player tools: the option toggles against their stored settings, the
// player's timer as the window shows it, and the voice chat's port from the deployment.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>

#include "core/Deployment.h"
#include "sound/SoundAndMusic.h"
#include "support/GameFixture.h"
#include "text/GameTextLog.h"
#include "voice/VoiceChat.h"
#include "voice/VoiceWire.h"

namespace gr::test {
namespace {

class GameOptions : public GameFixture {
  protected:
    // A fresh run: the settings as the last one left them.
    Game& Reloaded() {
        peer.Socket = nullptr;
        return Entered();
    }
    static quint16 FreePort() {
        QTcpServer probe;
        probe.listen(QHostAddress::AnyIPv4);
        return probe.serverPort();
    }
};

TEST_F(GameOptions, EachToggleStoresItsSettingTheRightWayRound) {
    // Some settings store "1" for on, others "1" for off; the menu shows the option, not the setting.
    struct Toggle {
        std::function<QAction*(Game&)> item;
        const char* key;
        bool onByDefault;
    };
    const Toggle toggles[] = {
        {[](Game& g) { return g.Audio->SoundsOn; }, "Sounds", false},
        {[](Game& g) { return g.Audio->SoundsOnPaging; }, "SoundsPaging", true},
        {[](Game& g) { return g.Audio->MusicOn; }, "Music", false},
        {[](Game& g) { return g.VoiceChatOn; }, "Voice Chat", false},
        {[](Game& g) { return g.Hide_When_Maximising; }, "Hide_When_Maximising", true},
        {[](Game& g) { return g.Bar_Flashing; }, "Bar_Flashing", true},
        {[](Game& g) { return g.Enhanced_XP; }, "Enhanced_XP", true},
        {[](Game& g) { return g.Start_Maximised; }, "Start_Maximised", false},
        {[](Game& g) { return g.TextLog->Log_Game_Text; }, "LogGameText", false},
    };
    for (const auto& t : toggles) {
        const QString key = QString::fromLatin1(t.key);
        Game* g = &Reloaded();
        EXPECT_EQ(t.onByDefault, t.item(*g)->isChecked()) << t.key;
        // The first click from the default stores "1", whichever way round the key is.
        g->resize(900, 700);
        g->show();
        QMenu* menu = nullptr;
        for (QObject* o : t.item(*g)->associatedObjects())
            if (!menu) menu = qobject_cast<QMenu*>(o);
        ASSERT_TRUE(menu) << t.key;
        QTest::mouseClick(g->menuBar(), Qt::LeftButton, {},
                          g->menuBar()->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); })) << t.key;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(t.item(*g)).center());
        EXPECT_EQ(!t.onByDefault, t.item(*g)->isChecked()) << t.key;
        EXPECT_EQ(QStringLiteral("1"), app->GetSetting(key)) << t.key;
        g = &Reloaded();
        EXPECT_EQ(!t.onByDefault, t.item(*g)->isChecked()) << t.key;
        // The second click stores "" again.
        t.item(*g)->trigger();
        EXPECT_EQ(QString(), app->GetSetting(key)) << t.key;
        g = &Reloaded();
        EXPECT_EQ(t.onByDefault, t.item(*g)->isChecked()) << t.key;
        g->showNormal();
    }
}

TEST_F(GameOptions, TheTimerCountsDownInTheWindowToItsMessage) {
    Game& g = Entered();
    const auto status = [&] {
        g.TD->ClearText();
        Type(QStringLiteral("/timer"));
        return Text();
    };
    Type(QStringLiteral("/timer 1m1s Tea is ready"));
    EXPECT_TRUE(Text().endsWith(QStringLiteral("The timer has been set.\n")));
    EXPECT_TRUE(g.CheckTimer->isActive());
    EXPECT_EQ(980, g.CheckTimer->interval());
    EXPECT_EQ(QStringLiteral("The timer is set for 1m1s, clear with '/timer clear'.\n"), status());
    g.CheckTimer_Timer();
    EXPECT_EQ(QStringLiteral("The timer is set for 1m, clear with '/timer clear'.\n"), status());
    for (int i = 0; i < 60; ++i)
        g.CheckTimer_Timer();
    EXPECT_TRUE(dialogs.Shown.isEmpty()); // at 0, the message waits for the next tick
    EXPECT_TRUE(g.CheckTimer->isActive());
    g.CheckTimer_Timer();
    EXPECT_EQ(QStringList{QStringLiteral("tea is ready")}, dialogs.Shown);
    EXPECT_FALSE(g.CheckTimer->isActive());
    EXPECT_TRUE(status().startsWith(QStringLiteral("The timer is not set")));
    // Counting up, then cleared.
    Type(QStringLiteral("/timer start"));
    for (int i = 0; i < 89; ++i)
        g.CheckTimer_Timer();
    EXPECT_EQ(QStringLiteral("The timer is set for 1m30s, clear with '/timer clear'.\n"), status());
    Type(QStringLiteral("/timer clear"));
    EXPECT_FALSE(g.CheckTimer->isActive());
    EXPECT_EQ(1, dialogs.Shown.size());
    EXPECT_TRUE(Sent(0).empty());
}

TEST_F(GameOptions, VoicePortComesFromTheDeployment) {
    struct Case {
        const char* ini;
        int port;
    };
    const Case cases[] = {
        {"", 111},
        {"[Voice]\nPort=20111 ; voice chat\n", 20111},
        {"[Voice]\nPort=0\n", 111},
        {"[Voice]\nPort=65536\n", 111},
        {"[Voice]\nPort=abc\n", 111},
    };
    for (const auto& c : cases) {
        WriteDeployment(QString::fromLatin1(c.ini));
        EXPECT_EQ(c.port, LoadDeployment(Home.path()).VoicePort) << c.ini;
    }
}

TEST_F(GameOptions, VoiceChatListensAndCallsOnTheDeploymentsPort) {
    const quint16 port = FreePort();
    WriteDeployment(
        QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:9\n[Voice]\nPort=%1\n").arg(port));
    PresetSetting(QStringLiteral("Voice Chat"), QStringLiteral("1"));
    Game& g = Entered();
    EXPECT_EQ(port, g.VoicePort);
    ASSERT_TRUE(g.TCPSocket->IsListening());
    EXPECT_TRUE(Text().contains(QStringLiteral("Voicechat is listening to requests on this character.")));
    // A partner calls in on that port (while this player's request to them stands).
    Type(QStringLiteral("/voicechat Ann"));
    QTcpSocket caller;
    caller.connectToHost(QHostAddress::LocalHost, port);
    caller.write(QByteArray::fromStdString(VoiceHeader("Ann")));
    ASSERT_TRUE(WaitFor([&] { return g.CmdTalk->isVisibleTo(&g); }));
    caller.abort();
    ASSERT_TRUE(WaitFor([&] { return !g.CmdTalk->isVisibleTo(&g); }));
    ASSERT_TRUE(WaitFor([&] { return g.TCPSocket->IsListening(); })) << "listening again once it ended";
    // And this player calls a partner who asked, on the same port (this one's listener steps aside: the
    // two share one machine).
    g.TCPSocket->Close();
    QTcpServer partner;
    ASSERT_TRUE(partner.listen(QHostAddress::AnyIPv4, port));
    g.VoicePartnerName = "Ann";
    g.VoicePartnerAddress = "127.0.0.2";
    Type(QStringLiteral("/voicechat ann"));
    EXPECT_TRUE(WaitFor([&] { return partner.hasPendingConnections(); }));
}

} // namespace
} // namespace gr::test
