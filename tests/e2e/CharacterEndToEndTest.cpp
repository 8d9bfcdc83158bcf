// Character creation against the local server and its web host: a new account, a new character made
// through the window (its portraits fetched from the web host), the character in the account list, the
// game entered with it, and its portrait changed from the game window's character menu.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "character/Makeuser.h"
#include "devserver/AccountServer.h"
#include "devserver/WebHost.h"
#include "game/Game.h"
#include "character/PortraitSelector.h"
#include "login/AccountDisplay.h"
#include "login/ImageButton.h"
#include "downloads/PictureStore.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class CharacterEndToEnd : public LodgeFixture {
  protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        ASSERT_TRUE(web.listen(0)) << web.errorString().toStdString();
        WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:%1\n").arg(web.port()));
        server =
            std::make_unique<dev::AccountServer>(QDir(Home.path()).filePath(QStringLiteral("accounts.txt")));
        ASSERT_TRUE(server->loadAccounts());
        ASSERT_TRUE(server->listen({0, 0})) << server->errorString().toStdString();
    }
    void TearDown() override {
        LodgeFixture::TearDown();
        server.reset();
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    dev::WebHost web;
    std::unique_ptr<dev::AccountServer> server;
};

TEST_F(CharacterEndToEnd, CreateAccountCreateCharacterSeeItAndPlay) {
    Lodge& w = Make();
    w.SpecialPort->setText(QStringLiteral("0"));
    QObject::connect(w.SpecialPort, &QLineEdit::textChanged, &w, [&](const QString& port) {
        if (port == QLatin1String("20000")) w.SpecialPort->setText(QString::number(server->ports()[0]));
    });
    w.Form_Load();
    w.UserName->clear();
    QTest::keyClicks(w.UserName, QStringLiteral("Wanderer"));
    QTest::keyClicks(w.Password, QStringLiteral("lantern42"));
    QTest::mouseClick(w.Login[1], Qt::LeftButton);
    AccountDisplay& manager = *app->accountDisplay;
    ASSERT_TRUE(WaitFor([&] { return manager.isVisible(); }));
    ASSERT_TRUE(manager.CTable[12]->text().isEmpty()); // the two starters only

    manager.MakeChar->click();
    Makeuser* m = manager.MakeuserWindow;
    ASSERT_TRUE(m);
    ASSERT_TRUE(QTest::qWaitForWindowActive(m));
    // The portraits come from the web host: each shows its picture once it has arrived.
    const QImage placeholder = app->Pictures().DL().toImage();
    ASSERT_TRUE(WaitFor(
        [&] {
            for (auto* pic : m->HavePic)
                if (pic->pixmap().toImage() == placeholder) return false;
            return true;
        },
        15000));
    EXPECT_TRUE(QFile::exists(QDir(Home.path()).filePath(QStringLiteral("gfx/1273.jpg"))));

    Type(QStringLiteral("sable_wind"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return !m->RolledStats[0]->text().isEmpty(); }));
    EXPECT_EQ(1, m->Pages->currentIndex());
    // Every rolled value is within the Human's maximum.
    for (auto* label : m->RolledStats)
        EXPECT_LE(label->text().toInt(), 19);
    // The Pacifist is never refused; the dwarf's roll replaces the first.
    QTest::mouseClick(m->Race[2], Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return m->SubmitAll->isEnabled(); }));
    QTest::mouseClick(m->Class[8], Qt::LeftButton);
    QTest::mouseClick(m->Female, Qt::LeftButton);
    QTest::mouseClick(m->HavePic[33], Qt::LeftButton);
    QTest::mouseClick(m->SubmitAll, Qt::LeftButton);

    // The account list gets the new character after the starters, with its race, class and gender.
    ASSERT_TRUE(WaitFor([&] { return manager.isVisible() && !manager.CTable[12]->text().isEmpty(); }));
    EXPECT_EQ((QStringList{"Sable_Wind", "1", "Dwarf", "Pacifist", "Female", "Never"}), ([&] {
                  QStringList row;
                  for (int c = 0; c < 6; ++c)
                      row << manager.CTable[std::size_t(12 + c)]->text();
                  return row;
              }()));
    // This client knows the portrait it chose, and shows it in the character's row.
    EXPECT_EQ(QStringLiteral("Portrait of Sable_Wind"), manager.CritPortrait[2]->accessibleName());
    EXPECT_EQ(app->Pictures().Picture(1267).toImage(), manager.CritPortrait[2]->pixmap().toImage());
    EXPECT_TRUE(manager.CritPortrait[0]->pixmap().isNull()); // a starter: not known here
    const dev::CharacterRecord* kept = server->accounts().Find("Wanderer")->Find("Sable_Wind");
    ASSERT_TRUE(kept);
    EXPECT_EQ(33, kept->Portrait);
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();

    // And the game is entered with it.
    QTest::mouseClick(manager.Play[2], Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return app->game && app->game->isVisible(); }));
    EXPECT_EQ("Sable_Wind", app->Session.CharacterInfo[0]);
    EXPECT_EQ("Pacifist", app->Session.CharacterInfo[3]);

    // The portrait selector marks the portrait chosen at creation; another choice reaches the server.
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->game));
    app->game->Portrait->trigger();
    Character_Portrait_Selector* selector = app->game->PortraitWindow.get();
    ASSERT_TRUE(selector);
    ASSERT_TRUE(QTest::qWaitForWindowActive(selector));
    EXPECT_EQ(33, selector->Current());
    EXPECT_TRUE(selector->HavePic[33]->isChecked());
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == selector->HavePic[33]; }));
    Key(Qt::Key_Tab);
    Key(Qt::Key_Space);
    EXPECT_EQ(34, selector->Current());
    ASSERT_TRUE(
        WaitFor([&] { return server->accounts().Find("Wanderer")->Find("Sable_Wind")->Portrait == 34; }));
}

} // namespace
} // namespace gr::test
