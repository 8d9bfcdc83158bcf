// The game window as a player meets it: the input line has the keyboard from the start and gets it back
// after every click, menu action and dialog; every control has a name for screen readers; the input line's
// length limit.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "text/FindBar.h"
#include "game/GameWindows.h"
#include "sound/SoundAndMusic.h"
#include "text/TextWindow.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameFocus : public GameFixture {
  protected:
    // The game window, shown and active, as the login window left it.
    Game& Shown() {
        Game& g = Entered();
        EXPECT_TRUE(g.isVisible());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&g));
        return g;
    }
    // Types into whatever has the keyboard, then Enter.
    static void TypeLine(const QString& line) {
        QTest::keyClicks(QApplication::focusWidget(), line);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    bool FocusOnInputLine() {
        return WaitFor([&] { return QApplication::focusWidget() == app->game->TI; }, 2000);
    }
    // Opens the item's menu from the menu bar and clicks the item, as the mouse would.
    static void ClickMenuItem(Game& g, QAction* item) {
        QMenu* menu = nullptr;
        for (QObject* o : item->associatedObjects())
            if ((menu = qobject_cast<QMenu*>(o))) break;
        ASSERT_TRUE(menu);
        QTest::mouseClick(g.menuBar(), Qt::LeftButton, {},
                          g.menuBar()->actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
};

TEST_F(GameFocus, TypedLinesGoOutWithoutAClick) {
    Game& g = Shown();
    ASSERT_TRUE(FocusOnInputLine());
    TypeLine(QStringLiteral("hello there"));
    TypeLine(QStringLiteral("n"));
    EXPECT_EQ((std::vector<std::string>{"GeneralChathello there", "Dirnn"}), Sent(2));
    EXPECT_TRUE(g.TI->text().isEmpty());
}

TEST_F(GameFocus, TheInputLineTakesTheKeyboardBackAfterClicks) {
    Game& g = Shown();
    g.resize(900, 700);
    Tick({"TMD{ffffff{Some words to read"});
    // A click on the text display.
    QTest::mouseClick(g.TD->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(FocusOnInputLine());
    // Keys typed while the display has the keyboard reach the input line all the same.
    g.TD->setFocus();
    ASSERT_EQ(g.TD, QApplication::focusWidget());
    TypeLine(QStringLiteral("look"));
    EXPECT_EQ(std::vector<std::string>{"GeneralChatlook"}, Sent());
    EXPECT_TRUE(FocusOnInputLine());
    // A click on the window's backdrop.
    g.TD->setFocus();
    QTest::mouseClick(g.MainBack, Qt::LeftButton, {},
                      QPoint(g.MainBack->width() - 5, g.MainBack->height() - 5));
    EXPECT_TRUE(FocusOnInputLine());
    // The talk button never takes the keyboard.
    g.PlaceInputBox(4);
    QTest::mouseClick(g.CmdTalk, Qt::LeftButton);
    EXPECT_EQ(g.TI, QApplication::focusWidget());
}

TEST_F(GameFocus, TheInputLineTakesTheKeyboardBackAfterMenusAndDialogs) {
    Game& g = Shown();
    g.resize(900, 700);
    // A menu action.
    g.TD->setFocus();
    ClickMenuItem(g, g.Audio->SoundsOn);
    EXPECT_TRUE(g.Audio->SoundsOn->isChecked());
    EXPECT_TRUE(FocusOnInputLine());
    // A dialog from the menu: the player types the size into it, and on closing the input line has the
    // keyboard again.
    ClickMenuItem(g, g.Text_Buffer_Size);
    ASSERT_TRUE(g.GoldDialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.GoldDialog.get()));
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.GoldDialog->Amount; }));
    TypeLine(QStringLiteral("5000"));
    EXPECT_EQ(5000, g.TD->TextBufferSize);
    EXPECT_FALSE(g.GoldDialog->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&g));
    EXPECT_TRUE(FocusOnInputLine());
    // The About window, closed with its button.
    Tick({"ABOUTGloamrest"});
    ASSERT_TRUE(g.About);
    g.About->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.About.get()));
    QTest::mouseClick(g.About->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_FALSE(g.About->isVisible());
    EXPECT_TRUE(FocusOnInputLine());
    TypeLine(QStringLiteral("s"));
    EXPECT_EQ(std::vector<std::string>{"Dirss"}, Sent());
    // Back from another window: the game window's activation gives the input line the keyboard.
    TypeLine(QStringLiteral("/console"));
    ASSERT_TRUE(g.ConsoleWindow);
    g.ConsoleWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.ConsoleWindow.get()));
    g.TD->setFocus();
    g.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    EXPECT_TRUE(FocusOnInputLine());
}

// The accessible name of every control in the tree below root that a player reads or uses; unnamed ones
// are collected in missing.
void CollectUnnamed(QAccessibleInterface* root, QStringList& missing, const QString& path = QString()) {
    static const QList<QAccessible::Role> kNamed = {
        QAccessible::EditableText, QAccessible::PushButton, QAccessible::MenuBar,  QAccessible::MenuItem,
        QAccessible::PopupMenu,    QAccessible::StaticText, QAccessible::CheckBox, QAccessible::ComboBox,
        QAccessible::List,         QAccessible::Dialog,     QAccessible::Window,
    };
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        if (!child || child->state().invisible) continue;
        const QString where = path + QLatin1Char('/') + QString::number(int(child->role()), 16);
        if (kNamed.contains(child->role()) && child->text(QAccessible::Name).trimmed().isEmpty())
            missing.push_back(where);
        CollectUnnamed(child, missing, where);
    }
}

TEST_F(GameFocus, EveryControlHasAnAccessibleName) {
    Game& g = Shown();
    struct Named {
        QObject* control;
        const char* name;
    };
    const std::vector<Named> controls = {
        {g.TI, "Command line"}, {g.TD, "Game text"},   {g.SendTI, "Send"},
        {g.CmdTalk, "Talk"},    {g.menuBar(), "Menu"},
    };
    for (const auto& c : controls) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c.control);
        ASSERT_TRUE(face) << c.name;
        EXPECT_EQ(QString::fromLatin1(c.name), face->text(QAccessible::Name));
    }
    // The menus and each of their items.
    QStringList unnamed;
    QList<QMenu*> menus;
    for (QAction* item : g.menuBar()->actions())
        if (item->menu()) menus.push_back(item->menu());
    EXPECT_EQ(4, menus.size()); // File, Options, Character, Text
    for (QMenu* menu : menus) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty()) << menu->title().toStdString();
        for (int i = 0; i < face->childCount(); ++i)
            if (face->child(i)->role() != QAccessible::Separator &&
                face->child(i)->text(QAccessible::Name).isEmpty())
                unnamed.push_back(menu->title() + QLatin1Char('/') + QString::number(i));
    }
    // Everything that shows in the window, with the voice chat's button and the other windows open.
    g.PlaceInputBox(4);
    Tick({"ABOUTGloamrest", "Browsehttp://127.0.0.1:9/page"});
    g.Text_Buffer_Size->trigger();
    Type(QStringLiteral("/console"));
    for (QWidget* window : std::vector<QWidget*>{&g, g.About.get(), g.BrowserWindow.get(), g.GoldDialog.get(),
                                                 g.ConsoleWindow.get()}) {
        ASSERT_TRUE(window);
        CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed, window->windowTitle());
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(QStringLiteral("Characters"),
              QAccessible::queryAccessibleInterface(g.GoldDialog->Amount)->text(QAccessible::Name));
}

TEST_F(GameFocus, SysopsMayTypeLongerLines) {
    Game& g = Shown();
    ASSERT_TRUE(FocusOnInputLine());
    const auto paste = [&](int length) {
        g.TI->clear();
        QApplication::clipboard()->setText(QString(length, QLatin1Char('a')));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        return g.TI->text().size();
    };
    EXPECT_EQ(Game::kInputLength, paste(30000));
    g.Bots_Timer();
    EXPECT_EQ(Game::kInputLength, paste(30000));
    // The server's word alone does not raise it: the next tick of the housekeeping timer does.
    Tick({"Sysop"});
    EXPECT_EQ(Game::kInputLength, paste(30000));
    EXPECT_EQ(5000, g.Bots->interval());
    EXPECT_TRUE(g.Bots->isActive());
    g.Bots_Timer();
    EXPECT_EQ(Game::kSysopInputLength, paste(30000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ("GeneralChat" + std::string(Game::kSysopInputLength, 'a'), Sent().back());
}

TEST_F(GameFocus, TheGameTextScrollsBackAndFindsFromTheInputLine) {
    Game& g = Shown();
    ASSERT_TRUE(FocusOnInputLine());
    std::vector<std::string> lines;
    for (int i = 0; i < 120; ++i)
        lines.push_back("TMD{ffffff{The lantern " + std::to_string(i) + " flickers.");
    Tick(lines);
    QTest::qWait(2 * TextWindow::kFrameMs);
    ASSERT_TRUE(g.TD->AtBottom());

    // Page Up in the input line reads back; new text holds still and is marked; End comes back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    EXPECT_FALSE(g.TD->AtBottom());
    EXPECT_EQ(g.TI, QApplication::focusWidget());
    Tick({"TMD{ffffff{A bell rings."});
    EXPECT_TRUE(g.TD->NewTextBelow());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_TRUE(g.TD->AtBottom());
    // Sending a line comes back as well.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    EXPECT_FALSE(g.TD->AtBottom());
    TypeLine(QStringLiteral("hello"));
    EXPECT_TRUE(g.TD->AtBottom());
    EXPECT_EQ(std::vector<std::string>{"GeneralChathello"}, Sent());

    // Ctrl+F: the find bar takes the keyboard; Enter finds the newest match; Escape gives the keyboard back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.FindText->Term; }));
    QTest::qWait(50); // what the menu does after an action has run by now
    ASSERT_EQ(g.FindText->Term, QApplication::focusWidget()) << "the find bar keeps the keyboard";
    EXPECT_TRUE(g.FindText->isVisible());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("lantern 7"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const QString text = g.TD->toPlainText();
    const int newest = int(text.lastIndexOf(QStringLiteral("lantern 7")));
    EXPECT_EQ(newest, g.TD->CurrentMatch());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(int(text.lastIndexOf(QStringLiteral("lantern 7"), newest - 1)), g.TD->CurrentMatch());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(newest, g.TD->CurrentMatch()) << "Shift+Enter goes to newer text";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QStringLiteral("Not found"), g.FindText->Outcome->text());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(g.FindText->isVisible());
    EXPECT_TRUE(FocusOnInputLine());
    EXPECT_EQ(-1, g.TD->CurrentMatch());
}

} // namespace
} // namespace gr::test
