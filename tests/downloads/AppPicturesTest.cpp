// The application's picture store: wired to the deployment's web host and the data folder.
#include <QFile>
#include <QSignalSpy>

#include "downloads/Downloads.h"
#include "downloads/PictureStore.h"
#include "support/LodgeFixture.h"
#include "support/WebHost.h"

namespace gr {
namespace {

class AppPicturesTest : public test::LodgeFixture {};

TEST_F(AppPicturesTest, FetchesIntoTheDataFolderFromTheDeploymentsWebHost) {
    test::WebHost host;
    host.Serve("/grpics/1149.jpg", test::WebHost::Answer(200, test::Jpeg(1149)));
    WriteDeployment(QStringLiteral("[Hosts]\nWeb=") + host.Address() + QStringLiteral("\n"));
    Make();
    PictureStore& pictures = app->Pictures();
    EXPECT_EQ(&pictures, &app->Pictures()); // one store for the run
    QSignalSpy arrived(&pictures, &PictureStore::pictureArrived);
    pictures.Picture(1149);
    ASSERT_TRUE(WaitFor([&] { return arrived.size() == 1; }));
    EXPECT_EQ(test::Jpeg(1149), test::FileBytes(QDir(Home.path()).filePath(QStringLiteral("gfx/1149.jpg"))));
    EXPECT_EQ(1, host.Requests("/grpics/1149.jpg"));
    EXPECT_EQ(0, app->Downloader().Running());
}

} // namespace
} // namespace gr
