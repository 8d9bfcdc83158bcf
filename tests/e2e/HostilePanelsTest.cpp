// Hostile panel messages against the real picture store and a web host on a real socket: only served
// picture numbers are asked for, each once, and nothing is written anywhere but "gfx/" in the data folder.
#include <QTest>

#include <set>

#include "panels/InventoryPanel.h"
#include "panels/PanelSlot.h"
#include "panels/RoomObjectsPanel.h"
#include "downloads/PictureStore.h"
#include "support/GameFixture.h"
#include "support/WebHost.h"

namespace gr::test {
namespace {

using HostilePanels = GameFixture;

TEST_F(HostilePanels, AskOnlyForServedPicturesAndWriteOnlyIntoGfx) {
    WebHost web;
    const QByteArray picture = Jpeg(7);
    web.Serve("/grpics/1500.jpg", WebHost::Answer(200, picture));
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=%1\n").arg(web.Address()));
    Game& g = Entered();
    const std::set<QString> before = DataFiles();

    Tick({"PLAa00ffff/..\\..\\evil/b00ffff/../../etc/passwd/c00ffff/999/d00ffff/4001/e00ffff/1500/"
          "f00ffff/%2e%2e%2f1500/g00ffff/1500.jpg/h00ffff/-1500/i00ffff/15000000000000000000/",
          "Inventorya/../x/b/gfx/1500/c/1500/d/0x5dc/", "Equipment0/Crown/../../1200",
          "OtherEquipment" + std::string(13, '/') + "../1300/../1301/" + std::string(11, '/'),
          "PLAj00ffff/1500/"});
    for (int tick = 0; tick < 10 && app->Wire.InQueue.HasMessages(); ++tick)
        g.Worker_Timer();
    EXPECT_FALSE(app->Wire.InQueue.HasMessages());

    // The one served number arrives and shows; nothing else was asked for, and it only once.
    const QImage placeholder = app->Pictures().DL().toImage();
    ASSERT_TRUE(WaitFor([&] {
        const PanelSlot* slot = g.RoomPanel->ObjPicG[0];
        return slot->Picture == 1500 && !slot->pixmap().isNull() && slot->pixmap().toImage() != placeholder;
    }));
    QTest::qWait(100);
    EXPECT_EQ(1, web.Requests("/grpics/1500.jpg"));
    EXPECT_EQ(1, web.AllRequests());
    EXPECT_EQ(picture, FileBytes(QDir(Home.path()).filePath(QStringLiteral("gfx/1500.jpg"))));

    std::set<QString> added;
    for (const QString& file : DataFiles())
        if (!before.count(file)) added.insert(file);
    EXPECT_EQ((std::set<QString>{QStringLiteral("gfx/1500.jpg")}), added);
    EXPECT_FALSE(ending.Ended());
}

} // namespace
} // namespace gr::test
