// Playing against the local server's demo world: enter the game, walk, talk, ping and see the text; the
// panels fill with pictures from the local web host, each fetched once and kept.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <map>
#include <set>

#include "devserver/GameServer.h"
#include "devserver/Music.h"
#include "devserver/Sounds.h"
#include "devserver/WebHost.h"
#include "game/Game.h"
#include "panels/InventoryPanel.h"
#include "panels/PanelSlot.h"
#include "panels/RoomObjectsPanel.h"
#include "text/TextWindow.h"
#include "login/AccountDisplay.h"
#include "login/ImageButton.h"
#include "downloads/PictureStore.h"
#include "support/LodgeFixture.h"
#include "support/WebHost.h"

namespace gr::test {
namespace {

class PlayEndToEnd : public LodgeFixture {
  protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        server =
            std::make_unique<dev::GameServer>(QDir(Home.path()).filePath(QStringLiteral("accounts.txt")));
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
    // Logged in as Wanderer and entered with the first character.
    void Enter() {
        Lodge& w = Make();
        if (media) app->AudioDevice.reset(media);
        w.Form_Load();
        w.SpecialPort->setText(QString::number(server->ports()[0]));
        w.UserName->setText(QStringLiteral("Wanderer"));
        w.Password->setText(QStringLiteral("lantern42"));
        w.Login_Click(1);
        ASSERT_TRUE(WaitFor([&] { return app->accountDisplay->isVisible(); }));
        app->accountDisplay->Play_Click(0);
        ASSERT_TRUE(WaitFor([&] { return app->game && Text().contains(QStringLiteral("Exits:")); }));
    }
    std::unique_ptr<dev::GameServer> server;
    FakeMedia* media = nullptr; // put in place by Enter when set, owned by the application from then on
};

TEST_F(PlayEndToEnd, EnterWalkTalkAndPing) {
    Enter();
    const QString character = app->accountDisplay->CTable[0]->text();
    EXPECT_TRUE(Text().contains(QStringLiteral("Welcome to Gloamrest, ") + character));
    EXPECT_TRUE(Text().contains(QStringLiteral("Lamplit Square")));

    Type(QStringLiteral("n"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("The Old Library")); }));
    Type(QStringLiteral("w"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("You can't go that way.")); }));
    Type(QStringLiteral("Is anyone reading?"));
    ASSERT_TRUE(WaitFor(
        [&] { return Text().contains(character + QStringLiteral(" says, \"Is anyone reading?\"")); }));
    Type(QStringLiteral("/ping"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("ms to the server.")); }));
    EXPECT_FALSE(app->game->PingInProgress);
    // The server's keep-alive question is answered.
    ASSERT_TRUE(WaitFor([&] { return app->game->UpdateToggle == 1; }, 3000));
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(ending.Ended());
}

TEST_F(PlayEndToEnd, PanelsShowPicturesFromTheWebHostFetchedOnceAndKept) {
    dev::WebHost web;
    ASSERT_TRUE(web.listen(0)) << web.errorString().toStdString();
    std::vector<QString> asked;
    QObject::connect(&web, &dev::WebHost::served,
                     [&](const dev::WebRequest& r) { asked.push_back(r.Target); });
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:%1\n").arg(web.port()));
    Enter();
    Game& g = *app->game;
    // Every filled slot of the room and the pack ends up showing its picture, not the placeholder.
    std::vector<PanelSlot*> filledSlots;
    auto filled = [&] {
        filledSlots.clear();
        for (PanelSlot* s : g.RoomPanel->ObjPicG)
            if (s->Picture) filledSlots.push_back(s);
        for (PanelSlot* s : g.InventPanel->InventG)
            if (s->Picture) filledSlots.push_back(s);
        return filledSlots;
    };
    auto allShown = [&] {
        const QImage placeholder = app->Pictures().DL().toImage();
        for (PanelSlot* s : filled())
            if (s->pixmap().isNull() || s->pixmap().toImage() == placeholder) return false;
        return !filledSlots.empty();
    };
    ASSERT_TRUE(WaitFor(allShown, 5000));
    std::set<int> numbers;
    for (PanelSlot* s : filledSlots)
        numbers.insert(s->Picture);
    for (int n : numbers) {
        const QString file = QDir(Home.path()).filePath(QStringLiteral("gfx/%1.jpg").arg(n));
        ASSERT_TRUE(QFile::exists(file)) << n;
        QImage kept(file);
        EXPECT_EQ(kept.size(), app->Pictures().Picture(n).size()) << n;
    }

    // Walking away and back asks the web host for no picture a second time.
    Type(QStringLiteral("n"));
    ASSERT_TRUE(WaitFor([&] { return Text().contains(QStringLiteral("The Old Library")); }));
    Type(QStringLiteral("s"));
    ASSERT_TRUE(WaitFor([&] { return Text().count(QStringLiteral("Lamplit Square")) >= 2; }));
    ASSERT_TRUE(WaitFor(allShown, 5000));
    QTest::qWait(100);
    std::set<QString> distinct(asked.begin(), asked.end());
    EXPECT_EQ(distinct.size(), asked.size());
    for (int n : numbers)
        EXPECT_EQ(1u, distinct.count(QStringLiteral("/grpics/%1.jpg").arg(n))) << n;
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
}

TEST_F(PlayEndToEnd, SoundsAndMusicOfTheWorldAreFetchedOnceKeptAndPlayed) {
    dev::WebHost web;
    ASSERT_TRUE(web.listen(0)) << web.errorString().toStdString();
    std::map<QString, int> asked;
    QObject::connect(&web, &dev::WebHost::served, [&](const dev::WebRequest& r) {
        if (!r.Target.startsWith(QStringLiteral("/grpics/"))) ++asked[r.Target];
    });
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:%1\n").arg(web.port()));
    PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
    PresetSetting(QStringLiteral("Music"), QStringLiteral("1"));
    media = new FakeMedia(Home.path());
    Enter();
    auto played = [&](const QString& open) {
        return WaitFor([&] {
            const qsizetype at = media->Commands.lastIndexOf(open);
            return at >= 0 && at + 1 < media->Commands.size() &&
                   media->Commands[at + 1].startsWith(QStringLiteral("play"));
        });
    };
    ASSERT_TRUE(played(QStringLiteral("open midi music/town.mid")));

    // Through the library door and back: the door, the library's music, the door, the town's music again.
    Type(QStringLiteral("n"));
    ASSERT_TRUE(played(QStringLiteral("open midi music/library.mid")));
    ASSERT_TRUE(played(QStringLiteral("open sound sounds/door.wav")));
    media->Commands.clear();
    Type(QStringLiteral("s"));
    ASSERT_TRUE(played(QStringLiteral("open midi music/town.mid")));
    ASSERT_TRUE(played(QStringLiteral("open sound sounds/door.wav")));

    EXPECT_EQ((std::map<QString, int>{{QStringLiteral("/grmusic/town.mid"), 1},
                                      {QStringLiteral("/grmusic/library.mid"), 1},
                                      {QStringLiteral("/grsounds/door.wav"), 1}}),
              asked);
    const QDir home(Home.path());
    EXPECT_EQ(QByteArray::fromStdString(dev::MakeMusic("town")),
              FileBytes(home.filePath(QStringLiteral("music/town.mid"))));
    EXPECT_EQ(QByteArray::fromStdString(dev::MakeMusic("library")),
              FileBytes(home.filePath(QStringLiteral("music/library.mid"))));
    EXPECT_EQ(QByteArray::fromStdString(dev::MakeSound("door")),
              FileBytes(home.filePath(QStringLiteral("sounds/door.wav"))));
    EXPECT_FALSE(Text().contains(QStringLiteral("No sound"))) << "the recorded device has no problem to tell";
}

} // namespace
} // namespace gr::test
