// A macro against the local server's demo world: defined with "/macro", sent with F1, received by the
// server and answered in the game text; the character's file holds it for the next time.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "devserver/GameServer.h"
#include "game/Game.h"
#include "text/TextWindow.h"
#include "login/AccountDisplay.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class MacrosEndToEnd : public LodgeFixture {
  protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        server =
            std::make_unique<dev::GameServer>(QDir(Home.path()).filePath(QStringLiteral("accounts.txt")));
        ASSERT_TRUE(server->loadAccounts());
        ASSERT_TRUE(server->listen({0, 0})) << server->errorString().toStdString();
        QObject::connect(server.get(), &dev::DevServer::messageReceived,
                         [this](int, const QByteArray& message) { Received << message; });
    }
    void TearDown() override {
        LodgeFixture::TearDown();
        server.reset();
    }
    QString Text() const { return app->game->TD->toPlainText(); }
    std::unique_ptr<dev::GameServer> server;
    QList<QByteArray> Received;
};

TEST_F(MacrosEndToEnd, DefinedThenSentWithF1) {
    Lodge& w = Make();
    w.Form_Load();
    w.SpecialPort->setText(QString::number(server->ports()[0]));
    w.UserName->setText(QStringLiteral("Wanderer"));
    w.Password->setText(QStringLiteral("lantern42"));
    w.Login_Click(1);
    ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }));
    app->accountDisplay->Play_Click(0);
    ASSERT_TRUE(WaitFor([&] { return app->game && Text().contains(QStringLiteral("Exits:")); }));
    Game& g = *app->game;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }));

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("/macro 1 Lanterns light the way^1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("Macro changed.")); }));
    Received.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_TRUE(WaitFor([&] { return Received.contains("GeneralChatLanterns light the way"); }));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("says, \"Lanterns light the way\"")); }));

    const QString character = QString::fromStdString(app->Session.CharacterName);
    QFile file(QDir(Home.path()).filePath(QStringLiteral("macros_") + character + QStringLiteral(".txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("Lanterns light the way\r\n1\r\n"));
}

} // namespace
} // namespace gr::test
