// The login window as a player meets it: the keyboard from the first key on (typed through whatever has
// the focus), and what a screen reader finds in it.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "devserver/DevServer.h"
#include "login/ImageButton.h"
#include "support/Accessibility.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class LodgeKeyboard : public LodgeFixture {
  protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        ASSERT_TRUE(server.listen({0, 0})) << server.errorString().toStdString();
    }
    // Start-up as the player sees it, the window pointed at the test server before anything connects.
    Lodge& Started(const QString& commandLine = QString()) {
        Lodge& w = Make(commandLine);
        w.SpecialPort->setText(QStringLiteral("0")); // so that start-up's choice is seen as a change
        QObject::connect(w.SpecialPort, &QLineEdit::textChanged, &w, [&](const QString& port) {
            if (port == QLatin1String("20000")) w.SpecialPort->setText(QString::number(server.ports()[0]));
        });
        w.Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    dev::DevServer server;
};

TEST_F(LodgeKeyboard, FocusAtStartIsWhereTheFirstKeyBelongs) {
    struct Case {
        QString remembered, commandLine;
        bool password; // the password box has the focus, not the name box
    };
    const std::vector<Case> cases = {
        {QString(), QString(), false},
        {QStringLiteral("Bob"), QString(), true},
        {QString(), QStringLiteral("Bob/pw 123/0"), true},
    };
    for (const auto& c : cases) {
        PresetSetting(QStringLiteral("UserID"), c.remembered);
        Lodge& w = Started(c.commandLine);
        EXPECT_EQ(c.password ? static_cast<QWidget*>(w.Password) : w.UserName, QApplication::focusWidget())
            << c.remembered.toStdString() << " " << c.commandLine.toStdString();
        EXPECT_EQ(&w, QApplication::activeWindow());
    }
}

TEST_F(LodgeKeyboard, NameTabPasswordThenEnterLogsIn) {
    // Enter in the password box, or Tab to the log-in button and Enter or Space there.
    const std::vector<std::vector<Qt::Key>> endings = {
        {Qt::Key_Return}, {Qt::Key_Enter}, {Qt::Key_Tab, Qt::Key_Return}, {Qt::Key_Tab, Qt::Key_Space}};
    for (const auto& ending : endings) {
        QSignalSpy received(&server, &dev::DevServer::messageReceived);
        Lodge& w = Started();
        ASSERT_EQ(w.UserName, QApplication::focusWidget());
        Type(QStringLiteral("Bob"));
        Key(Qt::Key_Tab);
        ASSERT_EQ(w.Password, QApplication::focusWidget());
        Type(QStringLiteral("hunter22"));
        for (const Qt::Key key : ending)
            Key(key);
        ASSERT_TRUE(received.count() > 0 || received.wait(5000)) << ending.size();
        EXPECT_EQ(QByteArray("AccountLoadBob/hunter22"), received[0][1].toByteArray());
        EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(LodgeKeyboard, EnterInTheNameBoxLogsInToo) {
    QSignalSpy received(&server, &dev::DevServer::messageReceived);
    PresetSetting(QStringLiteral("UserID"), QStringLiteral("Bob"));
    Lodge& w = Started();
    Type(QStringLiteral("hunter22"));
    Key(Qt::Key_Backtab);
    ASSERT_EQ(w.UserName, QApplication::focusWidget());
    Key(Qt::Key_Return);
    ASSERT_TRUE(received.count() > 0 || received.wait(5000));
    EXPECT_EQ(QByteArray("AccountLoadBob/hunter22"), received[0][1].toByteArray());
}

TEST_F(LodgeKeyboard, TabGoesNamePasswordLogInAndRoundAgain) {
    Lodge& w = Started();
    const std::vector<QWidget*> order = {w.Password, w.Login[0],     w.Login[1],
                                         w.Help,     w.ServerChoice, w.UserName};
    for (QWidget* next : order) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(next, QApplication::focusWidget()) << next->accessibleName().toStdString();
    }
}

TEST_F(LodgeKeyboard, ScreenReadersFindEveryControlByItsOwnName) {
    Lodge& w = Started();
    AccessibleTree tree = Accessible(&w);
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(tree.Shared.isEmpty()) << tree.Shared.join(QLatin1Char('|')).toStdString();
    const std::vector<std::pair<const char*, const QObject*>> named = {
        {"Account name", w.UserName},   {"Password", w.Password},          {"Log in", w.Login[0]},
        {"Create account", w.Login[1]}, {"Select Server", w.ServerChoice}, {"Help", w.Help}};
    for (const auto& [name, control] : named)
        EXPECT_EQ(control, tree.ByName.value(QString::fromLatin1(name))) << name;
    // The tester's connection boxes are not there until the access code is typed.
    for (const QObject* helper : {w.SpecialIP, w.SpecialPort, w.VersionRequired})
        EXPECT_EQ(0u, tree.Objects.count(helper));
    w.Password->setFocus();
    Type(Lodge::TestAccessCode);
    tree = Accessible(&w);
    for (const QObject* helper : {w.SpecialIP, w.SpecialPort, w.VersionRequired})
        EXPECT_EQ(1u, tree.Objects.count(helper));
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(w.SpecialPort, tree.ByName.value(QStringLiteral("Server port")));
}

} // namespace
} // namespace gr::test
