// The login phase against the local server with accounts: creating an account, the account manager's
// grid, entering the game, a wrong password, and a command line that reaches the game by itself.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "devserver/AccountServer.h"
#include "game/Game.h"
#include "login/AccountDisplay.h"
#include "login/ImageButton.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class AccountEndToEnd : public LodgeFixture {
protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        server = std::make_unique<dev::AccountServer>(QDir(Home.path()).filePath(QStringLiteral("accounts.txt")));
        ASSERT_TRUE(server->loadAccounts());
        ASSERT_TRUE(server->listen({0, 0})) << server->errorString().toStdString();
    }
    void TearDown() override {
        LodgeFixture::TearDown();
        server.reset();
    }
    // A login window pointed at the server, with name and password typed.
    Lodge& Typed(const QString& name, const QString& password, const QString& commandLine = QString()) {
        Lodge& w = Make(commandLine);
        // Start-up picks the first server's port; the test server listens elsewhere.
        w.SpecialPort->setText(QStringLiteral("0"));
        QObject::connect(w.SpecialPort, &QLineEdit::textChanged, &w, [&](const QString& port) {
            if (port == QLatin1String("20000")) w.SpecialPort->setText(QString::number(server->ports()[0]));
        });
        w.Form_Load();
        if (commandLine.isEmpty()) {
            w.UserName->clear(); // the name remembered from the last log-in
            QTest::keyClicks(w.UserName, name);
            QTest::keyClicks(w.Password, password);
        }
        return w;
    }
    bool InGame() const { return app->game && app->game->isVisible(); }
    std::unique_ptr<dev::AccountServer> server;
};

TEST_F(AccountEndToEnd, CreateAccountSeeCharactersAndPlay) {
    Lodge& w = Typed(QStringLiteral("Wanderer"), QStringLiteral("lantern42"));
    QTest::mouseClick(w.Login[1], Qt::LeftButton);
    AccountDisplay& manager = *app->accountDisplay;
    ASSERT_TRUE(WaitFor([&] { return manager.isVisible(); }));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(QStringLiteral("Account Manager - Gloamrest Multi - Wanderer"), manager.windowTitle());
    // Two starter characters with six fields each.
    const QString first = manager.CTable[0]->text();
    EXPECT_FALSE(first.isEmpty());
    EXPECT_FALSE(manager.CTable[6]->text().isEmpty());
    EXPECT_TRUE(manager.CTable[12]->text().isEmpty());
    EXPECT_EQ(QStringLiteral("Never"), manager.CTable[5]->text());

    QTest::mouseClick(manager.Play[0], Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return InGame(); }));
    EXPECT_FALSE(manager.isVisible());
    EXPECT_EQ(first + QStringLiteral(" - 127.0.0.1 - Gloamrest Multi"), app->game->windowTitle());
    EXPECT_EQ(first.toStdString(), app->Session.CharacterInfo[0]);
    // Nothing stands in the way of the game window: no updater notice, no other message.
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();

    // The account is kept: a later log-in with it lists the same characters.
    Lodge& again = Typed(QStringLiteral("Wanderer"), QStringLiteral("lantern42"));
    QTest::mouseClick(again.Login[0], Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }))
        << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(first, app->accountDisplay->CTable[0]->text());
}

TEST_F(AccountEndToEnd, WrongPasswordAndTheEmailRequest) {
    Typed(QStringLiteral("Wanderer"), QStringLiteral("lantern42")).Login_Click(1);
    ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }));

    Lodge& w = Typed(QStringLiteral("Wanderer"), QStringLiteral("LANTERN42"));
    dialogs.Shown.clear();
    dialogs.Answers = {true};
    QTest::mouseClick(w.Login[0], Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return dialogs.Shown.size() >= 3; }));
    EXPECT_TRUE(dialogs.Shown[0].startsWith(QStringLiteral("Password has not been recognised")));
    EXPECT_EQ(QStringLiteral("Requesting email..."), dialogs.Shown[1]);
    EXPECT_EQ(QStringLiteral("The password has been sent to the account's e-mail address."), dialogs.Shown[2]);
    EXPECT_EQ(1, w.PasswordRetries);
    EXPECT_TRUE(w.Login[0]->isVisible());
    EXPECT_FALSE(app->accountDisplay->isVisible());
}

TEST_F(AccountEndToEnd, CommandLineNamingACharacterReachesTheGame) {
    Typed(QStringLiteral("Wanderer"), QStringLiteral("lantern42")).Login_Click(1);
    ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }));
    const QString second = app->accountDisplay->CTable[6]->text();

    Typed({}, {}, QStringLiteral("Wanderer/lantern42/0/") + second.toUpper());
    ASSERT_TRUE(WaitFor([&] { return InGame(); }));
    EXPECT_EQ(second.toStdString(), app->Session.CharacterName);
    EXPECT_TRUE(app->game->windowTitle().startsWith(second + QStringLiteral(" - ")));
}

} // namespace
} // namespace gr::test
