// The in-game dispatcher and the server's control messages, on a game window entered through the login
// window against a scripted peer.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "game/GameWindows.h"
#include "voice/VoiceChat.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameDispatcher : public GameFixture {
};

TEST_F(GameDispatcher, HandlesTheQueueInArrivalOrder) {
    Game& g = Entered();
    EXPECT_TRUE(g.WorkerEnabled);
    Tick({"TMD{ffffff{one", "tmd{ffffff{ignored", "TMD{ffffff{two", "TMD{00c000{three"});
    EXPECT_EQ(QStringLiteral("one\ntwo\nthree\n"), Text());
    Tick({"CLS "});
    EXPECT_FALSE(Text().isEmpty());
    Tick({"CLS"});
    EXPECT_TRUE(Text().isEmpty());
}

TEST_F(GameDispatcher, FailingHandlerEndsTheTickAndLaterSlotsWait) {
    Game& g = Entered();
    g.VoicePort = 0; // any free port
    g.VoiceChatOn->setChecked(true);
    Type(QStringLiteral("/voicechat off"));
    ASSERT_TRUE(g.TCPSocket->IsListening());
    Tick({"VoiceChatAnn", "TMD{ffffff{later"}); // one field where two are needed
    EXPECT_FALSE(Text().contains(QStringLiteral("later")));
    EXPECT_EQ("TMD{ffffff{later", app->Wire.InQueue.At(0));
    g.Worker_Timer();
    EXPECT_TRUE(Text().contains(QStringLiteral("later")));
    // With both fields the request is shown.
    Tick({"VoiceChatAnn/127.0.0.1"});
    EXPECT_TRUE(Text().contains(QStringLiteral("'Ann' would like to voicechat with you, type '/voicechat Ann' to chat.")));
    EXPECT_EQ("Ann", g.VoicePartnerName);
    EXPECT_EQ("127.0.0.1", g.VoicePartnerAddress);
}

TEST_F(GameDispatcher, VoiceChatRequestWhileOffIsIgnored) {
    Game& g = Entered();
    g.VoiceChatOn->setChecked(false);
    Tick({"VoiceChatAnn/127.0.0.1", "VoiceChatx"});
    EXPECT_TRUE(g.VoicePartnerName.empty());
    EXPECT_TRUE(Text().isEmpty());
}

TEST_F(GameDispatcher, AnswersTheServersQuestions) {
    Entered();
    Tick({"KBA", "KBA", "Monitorabc", "MID7", "KBA"});
    std::string nothing;
    for (int i = 0; i < 15; ++i) nothing += "NLC";
    EXPECT_EQ((std::vector<std::string>{"Update1", "Update0", "Monitorabc/" + nothing,
                                        "MachineID7/" + app->Machine.MachineIdentifier().toStdString(), "Update1"}),
              Sent(5));
}

TEST_F(GameDispatcher, RecordsSysopAndProtectionMessages) {
    Entered();
    Tick({"Sysop", "MacLock5875", "DayBanuntil midnight", "PROCbot"});
    EXPECT_TRUE(app->Session.SysopMode);
    EXPECT_TRUE(app->Machine.HasBanRecord());
    EXPECT_EQ(QStringLiteral("until midnight"), app->Machine.ActiveDayBan().value_or(QString()));
    EXPECT_TRUE(Sent(0).empty());
}

TEST_F(GameDispatcher, PingShowsTheRoundTripInWholeMilliseconds) {
    Game& g = Entered();
    std::int64_t now = 0;
    g.PingClock = ClassPrecisionTimer([&] { return now; }, 1'000'000);
    Type(QStringLiteral("/ping"));
    EXPECT_EQ(std::vector<std::string>{"PING"}, Sent());
    now += 123'900; // 123.9 ms
    Tick({"PING"});
    EXPECT_TRUE(Text().endsWith(QStringLiteral("You have a ping of 123ms to the server.\n"))) << Text().toStdString();
    EXPECT_FALSE(g.PingInProgress);
}

TEST_F(GameDispatcher, PageReplySetsTheReplyShortcut) {
    Game& g = Entered();
    Tick({"PageReplyAnn"});
    EXPECT_EQ("/p Ann ", g.ReplyText);
    QTest::keyClicks(g.TI, QStringLiteral("/r "));
    EXPECT_EQ(QStringLiteral("/p Ann "), g.TI->text());
    EXPECT_EQ(g.TI->text().size(), g.TI->cursorPosition());
}

TEST_F(GameDispatcher, AboutAndBrowseOpenTheirWindows) {
    Game& g = Entered();
    Tick({"ABOUTGloamrest, a world of words", "Browseftp://example.org/file"});
    ASSERT_TRUE(g.About);
    EXPECT_TRUE(g.About->isVisible());
    EXPECT_EQ(QStringLiteral("Gloamrest, a world of words"), g.About->Text->text());
    ASSERT_TRUE(g.BrowserWindow);
    EXPECT_TRUE(g.BrowserWindow->isVisible());
    EXPECT_EQ(QStringLiteral("ftp://example.org/file"), g.BrowserWindow->Address->text());
}

TEST_F(GameDispatcher, OfflineEndsTheProgram) {
    Game& g = Entered();
    Tick({"OFFLINEThe realm sleeps.", "TMD{ffffff{never"});
    EXPECT_EQ(QStringList{QStringLiteral("The realm sleeps.")}, dialogs.Shown);
    EXPECT_TRUE(ending.Ended());
    EXPECT_FALSE(g.ImStillOn->isActive());
    EXPECT_FALSE(app->lodge->ComlineConnected());
    EXPECT_FALSE(Text().contains(QStringLiteral("never")));
}

TEST_F(GameDispatcher, OfflineDeliversTheLastAnswerAndShowsItsTextBounded) {
    Entered();
    peer.Received.clear();
    peer.Send("MonitorAnn%$OFFLINE" + std::string(4 << 20, 'z') + "%${[}]");
    ASSERT_TRUE(WaitFor([&] { return ending.Ended(); }));
    const auto sent = peer.WaitMessages(kKey, 1);
    ASSERT_EQ(1u, sent.size());
    EXPECT_TRUE(sent[0].starts_with("MonitorAnn/")) << sent[0].substr(0, 40);
    ASSERT_EQ(1, dialogs.Shown.size());
    EXPECT_EQ(QString(Dialogs::kMaxChars, QLatin1Char('z')) + Dialogs::CutMark, dialogs.Shown[0]);
}

} // namespace
} // namespace gr::test
