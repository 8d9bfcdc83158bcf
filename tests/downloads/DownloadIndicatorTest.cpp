// The small download indicator: shown with the number of files left while any are, hidden otherwise.
#include "downloads/DownloadIndicator.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "downloads/Downloads.h"
#include "downloads/PictureStore.h"
#include "support/WebHost.h"

namespace gr {
namespace {

TEST(DownloadIndicator, Texts) {
    struct Case {
        int running, queued;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, ""},
        {1, 0, "Downloading 1 file"},
        {0, 1, "Downloading 1 file"},
        {3, 2, "Downloading 5 files"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QString::fromLatin1(c.text), DownloadIndicator::Text(c.running, c.queued))
            << c.running << c.queued;
}

TEST(DownloadIndicator, ShowsWhatIsLeftWhileDownloadsRun) {
    QTemporaryDir folder;
    test::WebHost host;
    host.Hold = true;
    Downloads service(host.Address(), folder.path());
    PictureStore store(service, folder.path());
    DownloadIndicator indicator(service);
    EXPECT_TRUE(indicator.isHidden());

    store.Picture(1149);
    store.Picture(1150);
    ASSERT_TRUE(test::WaitFor([&] { return host.Waiting() == 2; }));
    EXPECT_FALSE(indicator.isHidden());
    EXPECT_EQ(QStringLiteral("Downloading 2 files"), indicator.text());
    EXPECT_EQ(indicator.text(), indicator.accessibleName());

    host.Release(); // two 404s
    ASSERT_TRUE(test::WaitFor([&] { return service.Running() == 0; }));
    EXPECT_TRUE(indicator.isHidden());
    EXPECT_EQ(QString(), indicator.text());
}

} // namespace
} // namespace gr
