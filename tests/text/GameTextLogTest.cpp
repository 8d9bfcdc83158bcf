// The game window's text log: the Text menu's "Log Game Text" switches it, the setting remembers it, and the
// server's lines reach the day's files as the window draws them.
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>

#include "app/App.h"
#include "support/GameFixture.h"
#include "text/GameTextLog.h"
#include "text/TextLogWriter.h"

namespace gr::test {
namespace {

class GameLog : public GameFixture {
  protected:
    // A fresh run: the settings as the last one left them.
    Game& Reloaded() {
        peer.Socket = nullptr;
        return Entered();
    }
    QStringList LogFiles() const {
        return QDir(QDir(Home.path()).filePath(QStringLiteral("logs"))).entryList(QDir::Files, QDir::Name);
    }
    std::string ReadLog(const QString& name) const {
        QFile f(QDir(Home.path()).filePath(QStringLiteral("logs/") + name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    // The lines written so far.
    void Written(Game& g) {
        ASSERT_TRUE(g.TextLog->Writer);
        g.TextLog->Writer->WaitUntilWritten();
    }
};

TEST_F(GameLog, TheTextMenuSwitchesTheLogAndTheSettingRemembersIt) {
    Game* g = &Entered();
    ASSERT_TRUE(g->TextLog->Log_Game_Text);
    EXPECT_FALSE(g->TextLog->Log_Game_Text->isChecked()); // off until the player asks for it
    EXPECT_FALSE(g->TextLog->Writer);
    // In the Text menu, named by its caption.
    QMenu* menu = nullptr;
    for (QObject* o : g->TextLog->Log_Game_Text->associatedObjects())
        if (!menu) menu = qobject_cast<QMenu*>(o);
    ASSERT_TRUE(menu);
    EXPECT_EQ(QStringLiteral("&Text"), menu->title());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
    ASSERT_TRUE(face);
    bool named = false;
    for (int i = 0; i < face->childCount(); ++i)
        named = named || face->child(i)->text(QAccessible::Name) == QStringLiteral("Log Game Text");
    EXPECT_TRUE(named);

    Tick({"TMD{ffffff{before the log"});
    g->TextLog->Log_Game_Text->trigger();
    EXPECT_TRUE(g->TextLog->Log_Game_Text->isChecked());
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("LogGameText")));
    Tick({"TMD{00c000{Hello <b>you</b> & all", "TMD{ff0000{Blue}{0000ff{Red"});
    Written(*g);
    const QStringList files = LogFiles();
    ASSERT_EQ(2, files.size()) << files.join(QLatin1Char(' ')).toStdString();
    ASSERT_TRUE(files[0].startsWith(QStringLiteral("Aldric-")) && files[0].endsWith(QStringLiteral(".html")));
    ASSERT_EQ(files[0].chopped(5) + QStringLiteral(".txt"), files[1]);
    const std::string plain = ReadLog(files[1]);
    EXPECT_EQ(0u, plain.find("--- Game text of Aldric from ")) << plain;
    EXPECT_EQ(plain.find('\n') + 1, plain.find("Hello <b>you</b> & all\nBlue\nRed\n")) << plain;
    EXPECT_EQ(std::string::npos, plain.find("before the log"));
    const std::string page = ReadLog(files[0]);
    EXPECT_NE(std::string::npos,
              page.find("<div><span style=\"color:#00c000\">Hello &lt;b&gt;you&lt;/b&gt; &amp; "
                        "all</span></div>\n<div><span style=\"color:#0000ff\">Blue</span></div>\n"
                        "<div><span style=\"color:#ff0000\">Red</span></div>\n"))
        << page;

    // "Save Text Display" goes on as before, beside the log.
    g->Save_Character->trigger();
    EXPECT_EQ(1,
              QDir(QDir(Home.path()).filePath(QStringLiteral("saved text"))).entryList(QDir::Files).size());

    // The next run logs from its start, into the same day's files.
    g = &Reloaded();
    EXPECT_TRUE(g->TextLog->Log_Game_Text->isChecked());
    Tick({"TMD{ffffff{second run"});
    Written(*g);
    const std::string second = ReadLog(files[1]);
    EXPECT_EQ(0u, second.find(plain));
    EXPECT_EQ(2, Count(second, "--- Game text of Aldric from "));
    EXPECT_EQ(second.size() - std::string("second run\n").size(), second.find("second run\n"));
    EXPECT_EQ(1, Count(ReadLog(files[0]), "<!DOCTYPE"));

    // Switched off: nothing more is logged, and the next run starts without the log.
    g->TextLog->Log_Game_Text->trigger();
    EXPECT_FALSE(g->TextLog->Writer);
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("LogGameText")));
    const std::string before = ReadLog(files[1]);
    Tick({"TMD{ffffff{not logged"});
    EXPECT_EQ(before, ReadLog(files[1]));
    g = &Reloaded();
    EXPECT_FALSE(g->TextLog->Log_Game_Text->isChecked());
    EXPECT_FALSE(g->TextLog->Writer);
}

TEST_F(GameLog, AFolderThatCannotBeWrittenIsSaidOnceInTheWindow) {
    // The day's plain file cannot be made (a folder stands in its place, today's and tomorrow's, should the
    // test run at midnight). The name's braces are a safe file name, but no markup in the report.
    Character = "Al{0000ff{dric}";
    for (int day = 0; day < 2; ++day)
        QDir(Home.path())
            .mkpath(QStringLiteral("logs/Al{0000ff{dric}-") +
                    QDate::currentDate().addDays(day).toString(QStringLiteral("yyyy-MM-dd")) +
                    QStringLiteral(".txt"));
    Game& g = Entered();
    g.TextLog->Log_Game_Text->trigger();
    Tick({"TMD{ffffff{one", "TMD{ffffff{two"});
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("could not be logged")); }));
    Tick({"TMD{ffffff{three"});
    WaitFor([] { return false; }, 100); // a second report would have arrived by now
    EXPECT_EQ(1, Text().count(QStringLiteral("The game text could not be logged: ")));
    EXPECT_TRUE(Text().contains(
        QRegularExpression(QStringLiteral("\\nThe game text could not be logged: Is a directory "
                                          "\\(logs/Al\\(0000ff\\(dric\\)-[-0-9]+\\.txt\\)\\.\\n"))))
        << Text().toStdString();
    // The log stopped; the menu says so, and the setting stays for the next run.
    EXPECT_FALSE(g.TextLog->Log_Game_Text->isChecked());
    EXPECT_FALSE(g.TextLog->Writer);
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("LogGameText")));
}

TEST_F(GameLog, ANameThatIsNoSafeFileNameGivesNoLog) {
    Character = "../Aldric";
    Game& g = Entered();
    g.TextLog->Log_Game_Text->trigger();
    Tick({"TMD{ffffff{one", "TMD{ffffff{two"});
    EXPECT_EQ(1, Text().count(QStringLiteral(
                     "The game text is not logged: the character's name cannot be a file name.")));
    EXPECT_FALSE(g.TextLog->Log_Game_Text->isChecked());
    EXPECT_FALSE(g.TextLog->Writer);
    EXPECT_FALSE(QDir(Home.path()).exists(QStringLiteral("logs")));
}

} // namespace
} // namespace gr::test
