// Playing against the local server's demo world: enter the game, walk, talk, ping and see the text.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "devserver/GameServer.h"
#include "game/Game.h"
#include "game/TextWindow.h"
#include "login/AccountDisplay.h"
#include "login/ImageButton.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class PlayEndToEnd : public LodgeFixture {
protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        server = std::make_unique<dev::GameServer>(QDir(Home.path()).filePath(QStringLiteral("accounts.txt")));
        server->setKeepAliveInterval(200);
        ASSERT_TRUE(server->loadAccounts());
        ASSERT_TRUE(server->listen({0, 0})) << server->errorString().toStdString();
    }
    void TearDown() override {
        LodgeFixture::TearDown();
        server.reset();
    }
    QString Text() const { return app->game->TD->toPlainText(); }
    void Type(const QString& line) {
        app->game->TI->setText(line);
        app->game->SendTI_Click();
    }
    std::unique_ptr<dev::GameServer> server;
};

TEST_F(PlayEndToEnd, EnterWalkTalkAndPing) {
    Lodge& w = Make();
    w.Form_Load();
    w.SpecialPort->setText(QString::number(server->ports()[0]));
    w.UserName->setText(QStringLiteral("Wanderer"));
    w.Password->setText(QStringLiteral("lantern42"));
    w.Login_Click(1);
    ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }));
    const QString character = app->accountDisplay->CTable[0]->text();
    app->accountDisplay->Play_Click(0);
    ASSERT_TRUE(WaitFor([&] { return app->game && Text().contains(QStringLiteral("Exits:")); }));
    EXPECT_TRUE(Text().contains(QStringLiteral("Welcome to Gloamrest, ") + character));
    EXPECT_TRUE(Text().contains(QStringLiteral("Lamplit Square")));

    Type(QStringLiteral("n"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("The Old Library")); }));
    Type(QStringLiteral("w"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("You can't go that way.")); }));
    Type(QStringLiteral("Is anyone reading?"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(character + QStringLiteral(" says, \"Is anyone reading?\"")); }));
    Type(QStringLiteral("/ping"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("ms to the server.")); }));
    EXPECT_FALSE(app->game->PingInProgress);
    // The server's keep-alive question is answered.
    ASSERT_TRUE(WaitFor([&] { return app->game->UpdateToggle == 1; }, 3000));
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(ending.Ended());
}

} // namespace
} // namespace gr::test
