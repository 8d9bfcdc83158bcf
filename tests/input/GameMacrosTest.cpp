// The macros in the game window: defined with "/macro", recalled with the function keys, switched with
// "/macroset", edited in the macro editor, and kept in the character's files.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/WireText.h"
#include "input/GameMacros.h"
#include "input/MacrosChange.h"
#include "support/Accessibility.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameMacros : public GameFixture {
  protected:
    void BeforeGame() override {
        for (const auto& [name, bytes] : Files)
            WriteFile(name, bytes);
        if (ServerIndex) lodge->ServerChoice->setCurrentIndex(ServerIndex);
    }
    Game& Shown() {
        Game& g = Entered();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&g));
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }, 2000));
        return g;
    }
    // Types into whatever has the keyboard.
    static void Keys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void TypeLine(const QString& line) {
        Keys(line);
        Key(Qt::Key_Return);
    }
    QByteArray ReadFile(const QString& name) const {
        QFile f(QDir(Home.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(Home.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A macro file as the game writes it: the given rows, then empty texts with the given empty flag.
    static QByteArray FileOf(const std::vector<std::pair<const char*, const char*>>& rows,
                             const char* emptyFlag = "") {
        QByteArray bytes;
        for (std::size_t r = 0; r < 13; ++r) {
            const auto row = r < rows.size() ? rows[r] : std::pair<const char*, const char*>{"", emptyFlag};
            bytes += QByteArray(row.first) + "\r\n" + row.second + "\r\n";
        }
        return bytes;
    }
    // Opens the editor from the "Character Options" menu, as the mouse would.
    MacrosChange& Editor(Game& g) {
        QMenu* menu = nullptr;
        for (QObject* o : g.Macros->Edit_Macros->associatedObjects())
            if ((menu = qobject_cast<QMenu*>(o))) break;
        EXPECT_TRUE(menu && menu->title() == QStringLiteral("&Character Options"));
        QTest::mouseClick(g.menuBar(), Qt::LeftButton, {},
                          g.menuBar()->actionGeometry(menu->menuAction()).center());
        EXPECT_TRUE(WaitFor([&] { return menu->isVisible(); }));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(g.Macros->Edit_Macros).center());
        if (!WaitFor([&] { return g.Macros->MacroEditor && g.Macros->MacroEditor->isVisible(); })) {
            ADD_FAILURE() << "the menu item did not open the editor";
            g.Macros->Edit_Macros->trigger();
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(g.Macros->MacroEditor.get()));
        EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.Macros->MacroEditor->Macro[0]; }));
        return *g.Macros->MacroEditor;
    }

    std::vector<std::pair<QString, QByteArray>> Files; // in the data folder before the game loads
    int ServerIndex = 0;
};

TEST_F(GameMacros, DefinedWithTheCommandAndSentWithF1) {
    Game& g = Shown();
    // The first set's file is made at load, empty.
    EXPECT_EQ(QByteArray(), ReadFile(QStringLiteral("macros_Aldric.txt")));
    TypeLine(QStringLiteral("/macro 1 /who^1"));
    EXPECT_EQ(QStringLiteral("Macro changed.\n"), Text());
    EXPECT_TRUE(g.TI->text().isEmpty());
    TypeLine(QStringLiteral("/macro special /tell bob ^0"));
    EXPECT_EQ(FileOf({{"/who", "1"},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"", ""},
                      {"/tell bob ", "0"}}),
              ReadFile(QStringLiteral("macros_Aldric.txt")));

    // What was typed before the key stays within reach of the Up key.
    Keys(QStringLiteral("half a thought"));
    Key(Qt::Key_F1);
    EXPECT_EQ(std::vector<std::string>{"/who"}, Sent());
    EXPECT_TRUE(g.TI->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), g.TI);
    Key(Qt::Key_Up);
    EXPECT_EQ(QStringLiteral("/who"), g.TI->text());
    Key(Qt::Key_Up);
    EXPECT_EQ(QStringLiteral("half a thought"), g.TI->text());
    g.TI->clear();
    TypeLine(QStringLiteral("/s hello"));
    EXPECT_EQ("/tell bob hello", Sent(2).back());
}

TEST_F(GameMacros, RefusalsAndFailures) {
    Game& g = Shown();
    TypeLine(QStringLiteral("/macro 2 keep me"));
    const QByteArray file = ReadFile(QStringLiteral("macros_Aldric.txt"));
    struct Case {
        const char* typed;
        bool staysTyped; // a run-time failure leaves the line in the input box
        const char* printed;
    };
    const std::vector<Case> cases = {
        {"/macro 14 x", false, ""},
        {"/macro 2.5 x", false, ""},
        {"/macro 2", false, ""},
        {"/macro abc x", true, ""},
        {"/macro 0 x", true, ""},
        {"/macro  2 x", true, ""},
        {"/macro 1e999 x", true, "That number is to big to calculate.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        g.TD->ClearText();
        g.TI->clear();
        TypeLine(QString::fromLatin1(c.typed));
        EXPECT_EQ(c.staysTyped ? QString::fromLatin1(c.typed) : QString(), g.TI->text());
        EXPECT_EQ(QString::fromLatin1(c.printed), Text());
        EXPECT_EQ(file, ReadFile(QStringLiteral("macros_Aldric.txt")));
        EXPECT_EQ("keep me", app->Session.Macros[1][0]);
    }
}

TEST_F(GameMacros, AutoSendTakesTheCommandLinePath) {
    // A file may hold what the input line never lets through; sending a macro cleans it the same way.
    Files = {{QStringLiteral("macros_Aldric.txt"), FileOf({{"say {hi}%$there", " 1 "}, {"n", "1"}})}};
    Game& g = Shown();
    const int before = g.CommandsThisMinute;
    Key(Qt::Key_F1);
    Key(Qt::Key_F2);
    EXPECT_EQ((std::vector<std::string>{"GeneralChatsay hithere", "Dirnn"}), Sent(2));
    EXPECT_EQ(before + 2, g.CommandsThisMinute);
    EXPECT_EQ("n", g.History.CommandHistory[0]);
    EXPECT_EQ("say hithere", g.History.CommandHistory[1]);
    EXPECT_EQ("say hithere", g.History.RecentCommands[14]); // "n" is too short to be logged
    // Without the flag the macro waits in the input line.
    TypeLine(QStringLiteral("/macro 3 look at^0"));
    Key(Qt::Key_F3);
    EXPECT_EQ(QStringLiteral("look at"), g.TI->text());
    EXPECT_EQ(g.TI->text().size(), g.TI->cursorPosition());
}

TEST_F(GameMacros, SetsAndTheSecondServer) {
    ServerIndex = 1;
    Files = {{QStringLiteral("macros1_Aldric.txt"), FileOf({{"one", " 1 "}})},
             {QStringLiteral("macros1_Aldric_2.txt"), FileOf({{"three", "0"}})}};
    Game& g = Shown();
    EXPECT_EQ("one", app->Session.Macros[0][0]);
    TypeLine(QStringLiteral("/macroset 2"));
    EXPECT_EQ(QStringLiteral("Macro set changed.\n"), Text());
    // A missing set's file is made, empty, and every macro is emptied.
    EXPECT_EQ(QByteArray(), ReadFile(QStringLiteral("macros1_Aldric_1.txt")));
    for (const auto& row : app->Session.Macros)
        EXPECT_EQ((std::array<std::string, 2>{}), row);
    TypeLine(QStringLiteral("/macroset 3"));
    EXPECT_EQ("three", app->Session.Macros[0][0]);
    TypeLine(QStringLiteral("/macroset 9"));
    EXPECT_EQ(QStringLiteral("Macro set changed.\nMacro set changed.\nMacro set changed.\n"), Text());
    EXPECT_EQ("three", app->Session.Macros[0][0]);
    // "/macro" writes the current set.
    TypeLine(QStringLiteral("/macro 2 two"));
    EXPECT_EQ(FileOf({{"three", "0"}, {"two", ""}}), ReadFile(QStringLiteral("macros1_Aldric_2.txt")));
    EXPECT_FALSE(QFile::exists(QDir(Home.path()).filePath(QStringLiteral("macros_Aldric.txt"))));
    (void)g;
}

TEST_F(GameMacros, OddFilesAreReadAsFarAsTheyGoAndLeftAlone) {
    QByteArray longer = FileOf({{"a", "1"}});
    longer += "extra\r\nlines\r\n";
    const QByteArray odd = "first\r\n1\r\nsecond";
    Files = {{QStringLiteral("macros_Aldric.txt"), longer}, {QStringLiteral("macros_Aldric_1.txt"), odd}};
    Game& g = Shown();
    EXPECT_EQ((std::array<std::string, 2>{"a", "1"}), app->Session.Macros[0]);
    TypeLine(QStringLiteral("/macroset 2"));
    EXPECT_EQ((std::array<std::string, 2>{"first", "1"}), app->Session.Macros[0]);
    EXPECT_EQ((std::array<std::string, 2>{"second", ""}), app->Session.Macros[1]);
    // Looking at them in the editor and switching sets writes nothing.
    MacrosChange& e = Editor(g);
    e.MacroSet[0]->click();
    e.MacroSet[1]->click();
    Key(Qt::Key_Escape);
    EXPECT_EQ(longer, ReadFile(QStringLiteral("macros_Aldric.txt")));
    EXPECT_EQ(odd, ReadFile(QStringLiteral("macros_Aldric_1.txt")));
    // A change rewrites the file whole.
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }));
    TypeLine(QStringLiteral("/macro 3 third"));
    EXPECT_EQ(FileOf({{"first", "1"}, {"second", ""}, {"third", ""}}),
              ReadFile(QStringLiteral("macros_Aldric_1.txt")));
}

TEST_F(GameMacros, TheEditorChangesSwitchesAndSaves) {
    Files = {{QStringLiteral("macros_Aldric.txt"), FileOf({{"old one", "0"}, {"n", "1"}})},
             {QStringLiteral("macros_Aldric_1.txt"), FileOf({{"second set", " 1 "}})}};
    Game& g = Shown();
    MacrosChange& e = Editor(g);
    EXPECT_EQ(QStringLiteral("Macro Editor"), e.windowTitle());
    EXPECT_EQ(e.Macro[0], QApplication::focusWidget());
    EXPECT_EQ(QStringLiteral("old one"), e.Macro[0]->text());
    EXPECT_FALSE(e.SendAuto[0]->isChecked());
    EXPECT_TRUE(e.SendAuto[1]->isChecked());
    EXPECT_TRUE(e.MacroSet[0]->isChecked());

    // Tab goes from top to bottom: each text, its box, then the set, the buttons.
    std::vector<QWidget*> order;
    for (int i = 0; i < 29; ++i) {
        order.push_back(QApplication::focusWidget());
        Key(Qt::Key_Tab);
    }
    std::vector<QWidget*> expected;
    for (std::size_t r = 0; r < 13; ++r) {
        expected.push_back(e.Macro[r]);
        expected.push_back(e.SendAuto[r]);
    }
    expected.insert(expected.end(), {e.MacroSet[0], e.Save, e.Cancel});
    EXPECT_EQ(expected, order);
    EXPECT_EQ(e.Macro[0], QApplication::focusWidget());

    // Change F1 and its box, then switch to set 2 from the keyboard: set 1 is written first.
    Key(Qt::Key_End);
    Keys(QStringLiteral(" new"));
    Key(Qt::Key_Tab);
    Key(Qt::Key_Space);
    for (int i = 0; i < 25; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(e.MacroSet[0], QApplication::focusWidget());
    Key(Qt::Key_Right);
    EXPECT_TRUE(e.MacroSet[1]->isChecked());
    EXPECT_EQ(FileOf({{"old one new", " 1 "}, {"n", " 1 "}}, " 0 "),
              ReadFile(QStringLiteral("macros_Aldric.txt")));
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == e.Save; }));
    EXPECT_EQ(QStringLiteral("second set"), e.Macro[0]->text());
    EXPECT_TRUE(e.SendAuto[0]->isChecked());
    EXPECT_EQ("second set", app->Session.Macros[0][0]);

    // Edit set 2 and save it with Enter.
    e.Macro[12]->setFocus();
    Keys(QStringLiteral("/tell ann "));
    Key(Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(FileOf({{"second set", " 1 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"", " 0 "},
                      {"/tell ann ", " 0 "}}),
              ReadFile(QStringLiteral("macros_Aldric_1.txt")));
    EXPECT_EQ((std::array<std::string, 2>{"second set", "1"}), app->Session.Macros[0]);
    EXPECT_EQ((std::array<std::string, 2>{"/tell ann ", "0"}), app->Session.Macros[12]);
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }));
    TypeLine(QStringLiteral("/s hi"));
    EXPECT_EQ(std::vector<std::string>{"/tell ann hi"}, Sent());

    // Back to set 1: the editor's flags read as the command's.
    TypeLine(QStringLiteral("/macroset 1"));
    Key(Qt::Key_F1);
    EXPECT_EQ("GeneralChatold one new", Sent(2).back());
}

TEST_F(GameMacros, EscapeCancelsAndEveryControlHasAName) {
    Files = {{QStringLiteral("macros_Aldric.txt"), FileOf({{"kept", "0"}})}};
    Game& g = Shown();
    MacrosChange& e = Editor(g);
    const AccessibleTree tree = Accessible(&e);
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(tree.Shared.isEmpty()) << tree.Shared.join(QLatin1Char(',')).toStdString();
    for (const char* name :
         {"F1", "F12", "/s", "F1 Autosend", "/s Autosend", "Set 1", "Set 4", "Save Changes", "Cancel"})
        EXPECT_TRUE(tree.ByName.contains(QString::fromLatin1(name))) << name;

    Keys(QStringLiteral(" lost"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ("kept", app->Session.Macros[0][0]);
    EXPECT_EQ(FileOf({{"kept", "0"}}), ReadFile(QStringLiteral("macros_Aldric.txt")));
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }));
    // Opened again, it shows the macros, not the edits dropped.
    Editor(g);
    EXPECT_EQ(QStringLiteral("kept"), e.Macro[0]->text());
}

TEST_F(GameMacros, APastedLineBreakNeverSplitsTheFile) {
    Game& g = Shown();
    MacrosChange& e = Editor(g);
    QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree"));
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Return);
    const QByteArray file = ReadFile(QStringLiteral("macros_Aldric.txt"));
    EXPECT_EQ(26, file.count("\r\n"));
    EXPECT_EQ(0, file.count('\n') - file.count("\r\n"));
    EXPECT_TRUE(file.startsWith("one")) << file.toStdString();
    EXPECT_EQ(std::string::npos, app->Session.Macros[0][0].find_first_of("\r\n"));
    (void)e;
}

TEST_F(GameMacros, AFileThatCannotBeWrittenLosesNoEdits) {
    // Something that is no file stands where set 1's file goes.
    ASSERT_TRUE(QDir(Home.path()).mkdir(QStringLiteral("macros_Aldric.txt")));
    Game& g = Shown();
    TypeLine(QStringLiteral("/macro 1 n^1"));
    // The line stays typed to try again; the macro works meanwhile.
    EXPECT_EQ(QStringLiteral("The macros could not be saved.\n"), Text());
    EXPECT_EQ(QStringLiteral("/macro 1 n^1"), g.TI->text());
    EXPECT_EQ((std::array<std::string, 2>{"n", "1"}), app->Session.Macros[0]);
    g.TI->clear();

    // In the editor, a switch to another set keeps the unsaved set on screen.
    MacrosChange& e = Editor(g);
    Keys(QStringLiteral(" north"));
    e.MacroSet[1]->click();
    EXPECT_TRUE(e.MacroSet[0]->isChecked());
    EXPECT_EQ(QStringLiteral("n north"), e.Macro[0]->text());
    EXPECT_EQ(0, MacroSetOf(app->Session.MacroSetSuffix));
    // Saving still gives the macros what is on screen.
    e.Macro[0]->setFocus();
    Key(Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ("n north", app->Session.Macros[0][0]);
    EXPECT_TRUE(
        Text().endsWith(QStringLiteral("The macros could not be saved.\nThe macros could not be saved.\n")));
}

TEST_F(GameMacros, ANameThatIsNoFileNameKeepsMacrosForTheRun) {
    Character = "../Aldric";
    Game& g = Shown();
    TypeLine(QStringLiteral("/macro 1 n^1"));
    EXPECT_EQ(QStringLiteral("Macro changed.\n"), Text());
    TypeLine(QStringLiteral("/macroset 2"));
    EXPECT_TRUE(app->Session.Macros[0][0].empty());
    TypeLine(QStringLiteral("/macroset 1"));
    Key(Qt::Key_F1);
    EXPECT_EQ(std::vector<std::string>{"Dirnn"}, Sent());
    // Nothing was written, inside the data folder or beside it.
    QDir home(Home.path());
    EXPECT_TRUE(
        home.entryList({QStringLiteral("macros*")}, QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    home.cdUp();
    EXPECT_TRUE(home.entryList({QStringLiteral("Aldric*")}, QDir::Files).isEmpty());
    (void)g;
}

} // namespace
} // namespace gr::test
