// The voice chat's session as the game window runs it: which calls are taken, what a partner's stream can
// and cannot do, how a session ends, and push-to-talk through the chosen key.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeySequenceEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/App.h"
#include "voice/VoiceChat.h"
#include "voice/VoiceWire.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameVoice : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Port = WriteVoiceDeployment();
    }
    void BeforeGame() override { PresetSetting(QStringLiteral("Voice Chat"), QStringLiteral("1")); }
    // Calls this player's listener and sends the bytes; true when the call is still open afterwards.
    bool CallWith(QTcpSocket& caller, const QByteArray& bytes) {
        caller.connectToHost(QHostAddress::LocalHost, Port);
        if (!caller.waitForConnected(3000)) return false;
        caller.write(bytes);
        caller.flush();
        QTest::qWait(300);
        return caller.state() == QAbstractSocket::ConnectedState;
    }
    quint16 Port = 0;
};

TEST_F(GameVoice, OnlyTheRequestedPartnerIsTaken) {
    const QByteArray ann = QByteArray::fromStdString(VoiceHeader("Ann"));
    struct Case {
        const char* what;
        const char* request; // typed before the call, or nullptr
        QByteArray bytes;
        bool opens;
        const char* line; // in the text window afterwards
    };
    const Case cases[] = {
        {"no request stands", nullptr, ann, false, nullptr},
        {"the request was taken back", "/voicechat off", ann, false, nullptr},
        {"another player's name", "/voicechat Ann", QByteArray::fromStdString(VoiceHeader("Mallory")), false,
         "Voicechat closed a connection that did not come from Ann."},
        {"not a voice stream", "/voicechat Ann", "GET / HTTP/1.1\r\n\r\n", false,
         "Voicechat closed a connection that did not come from Ann (the stream is not a voice chat stream)."},
        {"a newer version", "/voicechat Ann",
         QByteArray("GRVC\x02\x01\x03"
                    "Ann",
                    10),
         false, "(unsupported voice format version 2)"},
        {"the partner, any case", "/voicechat Ann", QByteArray::fromStdString(VoiceHeader("aNN")), true,
         "Voicechat with Ann has started"},
    };
    Game& g = Entered();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.request) Type(QString::fromLatin1(c.request));
        ASSERT_TRUE(WaitFor([&] { return g.TCPSocket->IsListening(); }));
        QTcpSocket caller;
        EXPECT_EQ(c.opens, CallWith(caller, c.bytes));
        EXPECT_EQ(c.opens, g.TCPSocket->IsOpen());
        EXPECT_EQ(c.opens, g.CmdTalk->isVisibleTo(&g));
        if (c.line) {
            EXPECT_TRUE(Text().contains(QString::fromLatin1(c.line))) << Text().toStdString();
        }
        if (c.opens) {
            // A second caller meanwhile is closed, and the first stays.
            QTcpSocket second;
            second.connectToHost(QHostAddress::LocalHost, Port);
            EXPECT_TRUE(WaitFor([&] { return second.state() == QAbstractSocket::UnconnectedState; }));
            EXPECT_TRUE(g.TCPSocket->IsOpen());
        }
        caller.abort();
        EXPECT_TRUE(WaitFor([&] { return !g.TCPSocket->IsOpen() && !g.CmdTalk->isVisibleTo(&g); }));
    }
}

TEST_F(GameVoice, EverySessionEndSaysSoAndPutsTheInputBoxBack) {
    const QByteArray ann = QByteArray::fromStdString(VoiceHeader("Ann"));
    struct Case {
        const char* what;
        std::function<void(QTcpSocket&)> end;
        const char* line;
    };
    const Case cases[] = {
        {"the partner closes", [](QTcpSocket& s) { s.disconnectFromHost(); },
         "Voicechat with Ann has ended: the other side closed it."},
        {"an oversized frame", [](QTcpSocket& s) { s.write(QByteArray("\x01\x05\x00", 3)); },
         "Voicechat with Ann has ended: an oversized voice frame (1280 bytes)."},
        {"an unknown frame", [](QTcpSocket& s) { s.write(QByteArray("\x07", 1)); },
         "Voicechat with Ann has ended: unknown voice frame kind 7."},
        {"this player turns it off", [this](QTcpSocket&) { Type(QStringLiteral("/voicechat off")); },
         "Voicechat with Ann has ended."},
    };
    Game& g = Entered();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Type(QStringLiteral("/voicechat Ann"));
        ASSERT_TRUE(WaitFor([&] { return g.TCPSocket->IsListening(); }));
        QTcpSocket caller;
        ASSERT_TRUE(CallWith(caller, ann));
        ASSERT_TRUE(g.CmdTalk->isVisibleTo(&g));
        c.end(caller);
        EXPECT_TRUE(WaitFor([&] { return Text().contains(QString::fromLatin1(c.line)); }))
            << Text().toStdString();
        EXPECT_FALSE(g.CmdTalk->isVisibleTo(&g));
        EXPECT_TRUE(WaitFor([&] { return g.TCPSocket->IsListening(); })) << "listening for requests again";
        g.TD->ClearText();
    }
}

TEST_F(GameVoice, CallingOnlyTheAnnouncedAddressAndOnlyThatPartner) {
    Game& g = Entered();
    g.TCPSocket->Close(); // the partner's listener takes the port on this one machine
    QTcpServer partner;
    ASSERT_TRUE(partner.listen(QHostAddress::AnyIPv4, Port));
    Tick({"VoiceChatAnn/127.0.0.2"});
    // Not listening, so the notice was ignored: nothing to call.
    Type(QStringLiteral("/voicechat ann"));
    EXPECT_FALSE(partner.waitForNewConnection(300));
    g.VoicePartnerName = "Ann";
    g.VoicePartnerAddress = "127.0.0.2";
    Type(QStringLiteral("/voicechat ann"));
    ASSERT_TRUE(partner.waitForNewConnection(3000));
    QTcpSocket* answer = partner.nextPendingConnection();
    EXPECT_EQ(QHostAddress(QStringLiteral("127.0.0.2")), answer->localAddress());
    ASSERT_TRUE(WaitFor([&] { return answer->bytesAvailable() >= qint64(VoiceHeader("Aldric").size()); }));
    EXPECT_EQ(QByteArray::fromStdString(VoiceHeader("Aldric")), answer->readAll())
        << "the caller names itself";
    answer->write(QByteArray::fromStdString(VoiceHeader("Mallory")));
    EXPECT_TRUE(WaitFor([&] { return answer->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(Text().contains(QStringLiteral("did not come from Ann")));
    EXPECT_FALSE(g.CmdTalk->isVisibleTo(&g));
}

TEST_F(GameVoice, ThePushToTalkKeyIsChosenFromTheOptionsAndRemembered) {
    Game& g = Entered();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    EXPECT_EQ(int(Qt::Key_Insert), g.TalkKey);
    g.Voice_Talk_Key->trigger();
    ASSERT_TRUE(g.TalkKeyWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.TalkKeyWindow));
    auto* edit = g.TalkKeyWindow->findChild<QKeySequenceEdit*>();
    ASSERT_NE(nullptr, edit);
    ASSERT_TRUE(WaitFor([&] {
        return QApplication::focusWidget() == edit || edit->isAncestorOf(QApplication::focusWidget());
    })) << "the key field has the keyboard";
    EXPECT_EQ(QStringLiteral("Push-to-talk key"), edit->accessibleName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    QTest::qWait(50);
    g.TalkKeyWindow->accept();
    EXPECT_EQ(int(Qt::Key_F9), g.TalkKey);
    EXPECT_EQ(QStringLiteral("F9"), app->GetSetting(QStringLiteral("Voice_Talk_Key")));
    EXPECT_TRUE(Text().contains(QStringLiteral("Hold F9 to talk in a voicechat.")));
    EXPECT_EQ(QStringLiteral("Mute Voice Chat Partner"), g.Voice_Mute->text());
}

} // namespace
} // namespace gr::test
