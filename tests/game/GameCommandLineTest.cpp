// The game window's command line: every kind of line, the history keys, macros and the housekeeping that
// counts lines.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "core/WireText.h"
#include "game/GameWindows.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameCommandLine : public GameFixture {
};

TEST_F(GameCommandLine, LinesForTheServer) {
    struct Case {
        QString typed;
        std::string sent;
        QString history;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("N"), "Dirnn", QStringLiteral("N")},
        {QStringLiteral("North"), "Dirnn", QStringLiteral("North")},
        {QStringLiteral("down"), "Dirdd", QStringLiteral("down")},
        {QStringLiteral("n "), "GeneralChatn ", QStringLiteral("n ")},
        {QStringLiteral("Hi {there}%$"), "GeneralChatHi there", QStringLiteral("Hi there")},
        {QStringLiteral("//who"), "/who", QStringLiteral("/who")},
        {QStringLiteral("/Tell Ann hello"), "/Tell Ann hello", QStringLiteral("/Tell Ann hello")},
    };
    Game& g = Entered();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Type(cases[i].typed);
        EXPECT_EQ(cases[i].sent, Sent(i + 1).back()) << cases[i].typed.toStdString();
        EXPECT_EQ(cases[i].history, FromWire(g.History.CommandHistory[0]));
        EXPECT_TRUE(g.TI->text().isEmpty());
    }
    EXPECT_EQ(cases.size(), Sent(cases.size()).size());
}

TEST_F(GameCommandLine, EmptyLineIsEmptyChat) {
    Game& g = Entered();
    Type(QString());
    EXPECT_EQ(std::vector<std::string>{"GeneralChat"}, Sent());
    EXPECT_TRUE(g.History.CommandHistory[0].empty());
}

TEST_F(GameCommandLine, SpecialSayUsesTheSpecialMacro) {
    Entered();
    Type(QStringLiteral("/s hello there"));
    app->Session.Macros[12][0] = "/tell bob ";
    Type(QStringLiteral("/S hello there"));
    EXPECT_EQ((std::vector<std::string>{"GeneralChathello there", "/tell bob hello there"}), Sent(2));
}

TEST_F(GameCommandLine, ClientCommandsSendNothing) {
    struct Case {
        QString typed;
        QString printed;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/version"), QStringLiteral("This game version is 2.58.16")},
        {QStringLiteral("/VERSION"), QStringLiteral("This game version is 2.58.16")},
        {QStringLiteral("/calc 2+3*4"), QStringLiteral("Calculator: 2+3*4 = 20")},
        {QStringLiteral("/textbuffersize 500"), QStringLiteral("Value must be greater than 1000 characters.\nThe text "
                                                               "buffer is currently set to 1000 characters")},
        {QStringLiteral("/timer"), QStringLiteral("The timer is not set, type '/timer [HhMmSs] [optional message]' (eg "
                                                  "'/timer 1h5m30s blah' to say blah after 1 hour, 5 minutes and 30 "
                                                  "seconds).\nOr type '/timer start' to start the timer counting up "
                                                  "from 0.")},
        {QStringLiteral("/timer 10s Tea is ready"), QString()},
    };
    Game& g = Entered();
    for (const auto& c : cases) {
        g.TD->ClearText();
        Type(c.typed);
        if (!c.printed.isEmpty()) {
            EXPECT_EQ(c.printed + QLatin1Char('\n'), Text()) << c.typed.toStdString();
        }
        EXPECT_TRUE(g.TI->text().isEmpty()) << c.typed.toStdString();
    }
    EXPECT_EQ(1000, g.TD->TextBufferSize);
    EXPECT_TRUE(g.CheckTimer->isActive());
    EXPECT_TRUE(Sent(0).empty());
}

TEST_F(GameCommandLine, OverflowKeepsTheLine) {
    Game& g = Entered();
    Type(QStringLiteral("/calc 10^400"));
    EXPECT_EQ(QStringLiteral("That number is to big to calculate.\n"), Text());
    EXPECT_EQ(QStringLiteral("/calc 10^400"), g.TI->text());
    EXPECT_TRUE(g.History.CommandHistory[0].empty());
}

TEST_F(GameCommandLine, TextSizeIsSetStoredAndSent) {
    Game& g = Entered();
    Type(QStringLiteral("/textsize 12"));
    Type(QStringLiteral("/textsize 9"));
    EXPECT_EQ(12, g.TD->TextSize);
    EXPECT_EQ(QStringLiteral("12"), app->GetSetting(QStringLiteral("Textsize")));
    EXPECT_TRUE(g.TextSizeItems[2]->isChecked());
    EXPECT_FALSE(g.TextSizeItems[0]->isChecked());
    const QString line = QStringLiteral("The text size is currently set to 12. It can be changed to 8,10,12,14,16,18\n");
    EXPECT_EQ(line + line, Text());
    EXPECT_EQ((std::vector<std::string>{"/textsize 12", "/textsize 9"}), Sent(2));
}

TEST_F(GameCommandLine, ClearPauseAndResume) {
    Game& g = Entered();
    Tick({"TMD{ffffff{before"});
    Type(QStringLiteral("/scroll"));
    EXPECT_TRUE(g.TD->TextPaused);
    Tick({"TMD{ffffff{held"});
    EXPECT_FALSE(Text().contains(QStringLiteral("held")));
    Type(QStringLiteral("/cls"));
    EXPECT_TRUE(Text().isEmpty());
    Type(QStringLiteral("/scroll"));
    EXPECT_FALSE(g.TD->TextPaused);
    EXPECT_EQ(QStringLiteral("Text resumed.\nheld\n"), Text()); // paused lines outlive the clearing
}

TEST_F(GameCommandLine, WebLookUpsAndOtherClientsGoThroughTheShell) {
    Game& g = Entered();
    Type(QStringLiteral("/google big \"cats\"&dogs"));
    Type(QStringLiteral("/dictionary gloaming"));
    Type(QStringLiteral("/forum"));
    EXPECT_EQ((QStringList{QStringLiteral("http://127.0.0.1:8080/search?hl=en&q=big+%22cats%22%26dogs"),
                           QStringLiteral("http://127.0.0.1:8080/browse/gloaming"),
                           QStringLiteral("http://127.0.0.1:8080/forum/")}),
              shell.Opened);
    Type(QStringLiteral("/manager"));
    Type(QStringLiteral("/load Brynn  corwen"));
    const QString program = QCoreApplication::applicationFilePath();
    EXPECT_EQ((QStringList{program + QStringLiteral("|bob/pw/0"), program + QStringLiteral("|bob/pw/0/brynn"),
                           program + QStringLiteral("|bob/pw/0/"), program + QStringLiteral("|bob/pw/0/corwen")}),
              shell.Started);
    EXPECT_TRUE(Sent(0).empty());
    (void)g;
}

TEST_F(GameCommandLine, TaskbarDisguiseAndConsole) {
    Game& g = Entered();
    const QString title = g.windowTitle();
    Type(QStringLiteral("/taskbar"));
    EXPECT_EQ(QStringLiteral("Document - WordPad"), g.windowTitle());
    Type(QStringLiteral("/taskbar"));
    EXPECT_EQ(QStringLiteral(" Aldric - 127.0.0.1"), g.windowTitle());
    Tick({"TMD{ffffff{for the console"});
    Type(QStringLiteral("/console"));
    ASSERT_TRUE(g.ConsoleWindow);
    EXPECT_TRUE(g.ConsoleWindow->isVisible());
    EXPECT_TRUE(g.ConsoleWindow->Display->toPlainText().contains(QStringLiteral("for the console")));
    (void)title;
}

TEST_F(GameCommandLine, SecondPingWaitsForTheFirst) {
    Game& g = Entered();
    std::int64_t now = 0;
    g.PingClock = ClassPrecisionTimer([&] { return now; }, 1000);
    Type(QStringLiteral("/ping"));
    now += 5000;
    Type(QStringLiteral("/ping"));
    EXPECT_EQ(QStringLiteral("A Ping is currently in progress, please wait for the result (timeout is 20s).\n"), Text());
    now += 16000; // more than 20 s without an answer
    Type(QStringLiteral("/ping"));
    EXPECT_EQ((std::vector<std::string>{"PING", "PING"}), Sent(2));
}

TEST_F(GameCommandLine, HistoryKeysAndMacros) {
    Game& g = Entered();
    QTest::keyClick(g.TI, Qt::Key_Up);
    EXPECT_TRUE(g.TI->text().isEmpty());
    for (const char* line : {"one", "two", "three"}) Type(QString::fromLatin1(line));
    QTest::keyClick(g.TI, Qt::Key_Up);
    EXPECT_EQ(QStringLiteral("three"), g.TI->text());
    QTest::keyClick(g.TI, Qt::Key_Up);
    EXPECT_EQ(QStringLiteral("two"), g.TI->text());
    g.TI->clear();
    Type(QStringLiteral("four"));
    QTest::keyClick(g.TI, Qt::Key_Down);
    EXPECT_EQ(QStringLiteral("one"), g.TI->text());
    g.TI->clear();
    app->Session.Macros[0] = {"n", "1"};
    app->Session.Macros[1] = {"say hello", "0"};
    QTest::keyClick(g.TI, Qt::Key_F2);
    EXPECT_EQ(QStringLiteral("say hello"), g.TI->text());
    g.TI->clear();
    QTest::keyClick(g.TI, Qt::Key_F1); // sent at once
    EXPECT_TRUE(g.TI->text().isEmpty());
    EXPECT_EQ("Dirnn", Sent(5).back());
}

TEST_F(GameCommandLine, HoldingDownMacrosEndsTheProgram) {
    Game& g = Entered();
    for (int i = 0; i < 600; ++i) g.ProcessCommandLine();
    g.StuckKey_Timer();
    EXPECT_FALSE(ending.Ended());
    EXPECT_EQ(0, g.CommandsThisMinute);
    for (int i = 0; i < 601; ++i) g.ProcessCommandLine();
    g.StuckKey_Timer();
    EXPECT_EQ(QStringList{QStringLiteral("Don't hold down macros")}, dialogs.Shown);
    EXPECT_TRUE(ending.Ended());
}

} // namespace
} // namespace gr::test
