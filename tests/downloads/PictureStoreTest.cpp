// The picture store and the download service against a web host on a real socket.
#include "downloads/PictureStore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "downloads/Downloads.h"
#include "support/WebHost.h"

namespace gr {
namespace {

using namespace std::chrono_literals;
using test::FileBytes;
using test::Jpeg;

bool SameImage(const QPixmap& a, const QPixmap& b) {
    return a.toImage() == b.toImage();
}

class PictureStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        Service = std::make_unique<Downloads>(Host.Address(), Folder.path());
        Store = std::make_unique<PictureStore>(*Service, Folder.path(), [this] { return Now; });
        Arrived = std::make_unique<QSignalSpy>(Store.get(), &PictureStore::pictureArrived);
    }
    QString Gfx(int number) const { return Folder.filePath(QStringLiteral("gfx/%1.jpg").arg(number)); }
    QByteArray Path(int number) const { return "/grpics/" + QByteArray::number(number) + ".jpg"; }
    bool Idle() {
        QCoreApplication::processEvents(); // lets a queued start begin
        return test::WaitFor([this] { return Service->Running() == 0 && Service->Queued() == 0; });
    }
    // The files in the data folder, below it included (a half-written file would show up here).
    QStringList Files() const {
        QStringList out;
        const QDir gfx(Folder.filePath(QStringLiteral("gfx")));
        for (const QString& name : gfx.entryList(QDir::Files | QDir::Hidden))
            out << name;
        for (const QString& name : QDir(Folder.path()).entryList(QDir::Files | QDir::Hidden))
            out << name;
        return out;
    }
    std::vector<int> ArrivedNumbers() const {
        std::vector<int> out;
        for (const auto& call : *Arrived)
            out.push_back(call.at(0).toInt());
        return out;
    }

    QTemporaryDir Folder;
    test::WebHost Host;
    std::chrono::steady_clock::time_point Now{};
    std::unique_ptr<Downloads> Service;
    std::unique_ptr<PictureStore> Store;
    std::unique_ptr<QSignalSpy> Arrived;
};

TEST_F(PictureStoreTest, FetchesEachPictureOnceAndKeepsItByteForByte) {
    const QByteArray a = Jpeg(1149), b = Jpeg(1150);
    Host.Serve(Path(1149), test::WebHost::Answer(200, a, "Content-Type: image/jpeg\r\n"));
    Host.Serve(Path(1150), test::WebHost::Answer(200, b));

    // Meanwhile the placeholder, however often the picture is asked for.
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1149)));
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1149)));
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1150)));
    ASSERT_TRUE(Idle());

    EXPECT_EQ(1, Host.Requests(Path(1149)));
    EXPECT_EQ(1, Host.Requests(Path(1150)));
    EXPECT_EQ(a, FileBytes(Gfx(1149)));
    EXPECT_EQ(b, FileBytes(Gfx(1150)));
    EXPECT_EQ((std::vector<int>{1149, 1150}), ArrivedNumbers());
    const QPixmap shown = Store->Picture(1149);
    EXPECT_FALSE(SameImage(Store->DL(), shown));
    EXPECT_EQ(QImage::fromData(a).convertToFormat(QImage::Format_RGB32),
              shown.toImage().convertToFormat(QImage::Format_RGB32));
    for (const QByteArray& head : Host.Heads) {
        EXPECT_TRUE(head.contains("\r\nUser-Agent: Gloamrest-Client\r\n")) << head.toStdString();
        EXPECT_TRUE(head.startsWith("GET /grpics/11")) << head.toStdString();
    }

    // Asked again: from memory. Next run: from "gfx", nothing asked of the web host.
    Store->Picture(1149);
    ASSERT_TRUE(Idle());
    PictureStore nextRun(*Service, Folder.path());
    EXPECT_FALSE(SameImage(nextRun.DL(), nextRun.Picture(1150)));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(2, Host.AllRequests());
    EXPECT_EQ(2u, ArrivedNumbers().size());
}

TEST_F(PictureStoreTest, KeepsACompleteAnswerHoweverItIsFramed) {
    struct Case {
        const char* what;
        QByteArray raw;
    };
    const QByteArray picture = Jpeg(2500);
    const int half = int(picture.size() / 2);
    const Case cases[] = {
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
                        QByteArray::number(half, 16) + "\r\n" + picture.left(half) + "\r\n" +
                        QByteArray::number(picture.size() - half, 16) + "\r\n" + picture.mid(half) +
                        "\r\n0\r\n\r\n"},
        {"HTTP/1.0",
         "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(picture.size()) + "\r\n\r\n" + picture},
        {"redirected on the same host",
         test::WebHost::Answer(302, "",
                               "Location: http://" + Host.Address().toLatin1() + "/elsewhere/2500.jpg\r\n")},
    };
    Host.Serve("/elsewhere/2500.jpg", test::WebHost::Answer(200, picture));
    int number = 2500;
    for (const auto& c : cases) {
        ++number;
        Host.Serve(Path(number), c.raw);
        Store->Picture(number);
        ASSERT_TRUE(Idle()) << c.what;
        EXPECT_EQ(picture, FileBytes(Gfx(number))) << c.what;
        EXPECT_FALSE(SameImage(Store->DL(), Store->Picture(number))) << c.what;
    }
    EXPECT_EQ(3u, ArrivedNumbers().size());
}

TEST_F(PictureStoreTest, AWebHostThatIsNoPlainHostIsNeverAsked) {
    Downloads service(QStringLiteral("user@") + Host.Address(), Folder.path());
    PictureStore store(service, Folder.path(), [this] { return Now; });
    Host.Serve(Path(1300), test::WebHost::Answer(200, Jpeg(1300)));
    EXPECT_TRUE(SameImage(store.DL(), store.Picture(1300)));
    ASSERT_TRUE(test::WaitFor([&] { return service.Running() == 0 && service.Queued() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(0, Host.AllRequests());
    EXPECT_TRUE(SameImage(store.DL(), store.Picture(1300)));
    EXPECT_EQ(QStringList(), Files());
}

TEST_F(PictureStoreTest, KeepsNothingButACompletePictureAnswer) {
    QTemporaryDir otherFolder;
    test::WebHost other; // a host that is not the deployment's
    other.Serve("/x.jpg", test::WebHost::Answer(200, Jpeg(1)));
    const QByteArray big(PictureStore::kMaxPictureBytes + 1, 'x');
    struct Case {
        const char* what;
        QByteArray raw;
    };
    const Case cases[] = {
        {"not found, with a picture for body", test::WebHost::Answer(404, Jpeg(2))},
        {"an error page served as 200",
         test::WebHost::Answer(200, "<html><body>Server busy</body></html>", "Content-Type: text/html\r\n")},
        {"a body announced past the bound", test::WebHost::Answer(200, big)},
        {"a body past the bound, no length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big},
        {"no length: a cut cannot be told", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + Jpeg(3)},
        {"shorter than announced",
         "HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" + Jpeg(4)},
        {"a picture too large to be one of ours", test::WebHost::Answer(200, Jpeg(5, 3000, 8))},
        {"an empty body", test::WebHost::Answer(200, "")},
        {"a redirect to another host",
         test::WebHost::Answer(302, "", "Location: http://" + other.Address().toLatin1() + "/x.jpg\r\n")},
        {"a redirect to another scheme",
         test::WebHost::Answer(301, "",
                               "Location: https://" + Host.Address().toLatin1() + "/grpics/9.jpg\r\n")},
        {"a redirect to a file", test::WebHost::Answer(301, "", "Location: file:///etc/hostname\r\n")},
        {"a server error", test::WebHost::Answer(500, Jpeg(6))},
    };
    int number = 2000;
    for (const auto& c : cases) {
        ++number;
        Host.Serve(Path(number), c.raw);
        EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(number))) << c.what;
        ASSERT_TRUE(Idle()) << c.what;
        EXPECT_EQ(1, Host.Requests(Path(number))) << c.what;
        EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(number))) << c.what;
        EXPECT_FALSE(QFile::exists(Gfx(number))) << c.what;
        EXPECT_EQ(0, other.AllRequests()) << c.what;
    }
    EXPECT_EQ(QStringList(), Files()); // nothing half-written either
    EXPECT_TRUE(ArrivedNumbers().empty());
}

// An icon whose directory claims 16 x 16 around a PNG of thousands of pixels a side: the header is not what
// the decoder would allocate, so the format is refused before any reader sees it.
QByteArray IconAround(const QByteArray& png) {
    QByteArray icon("\0\0\1\0\1\0", 6);              // an icon file with one picture
    icon += QByteArray("\x10\x10\0\0\1\0\x20\0", 8); // 16 x 16, one plane, 32 bits
    const quint32 size = quint32(png.size()), offset = 22;
    for (quint32 v : {size, offset})
        for (int i = 0; i < 4; ++i)
            icon += char((v >> (8 * i)) & 0xFF);
    return icon + png;
}

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(1);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST_F(PictureStoreTest, APictureIsDecodedAtTheSizeItShowsAndOnlyWhenItsHeaderIsTheTruth) {
    const QByteArray hugeInside = IconAround(Png(3000, 3000));
    ASSERT_LT(hugeInside.size(), PictureStore::kMaxPictureBytes);
    QImage image;
    EXPECT_FALSE(PictureStore::Decode(hugeInside, image)) << image.width() << " x " << image.height();
    EXPECT_FALSE(PictureStore::Decode(Png(3000, 3000), image)) << "past the largest side";

    // A large picture within the bound is decoded straight to a slot's largest size, its shape kept.
    ASSERT_TRUE(PictureStore::Decode(Jpeg(1, 2048, 1024), image));
    EXPECT_EQ(QSize(PictureStore::kShownSide, PictureStore::kShownSide / 2), image.size());
    ASSERT_TRUE(PictureStore::Decode(Png(40, 30), image));
    EXPECT_EQ(QSize(40, 30), image.size()) << "a small picture keeps its size";
}

TEST_F(PictureStoreTest, PicturesInMemoryAreBoundedAndThoseLetGoAreReadAgainFromDisk) {
    // Large pictures that are small files: without a bound each would cost megabytes in memory.
    const QByteArray large = Jpeg(7, 2048, 2048);
    ASSERT_TRUE(QDir().mkpath(Folder.filePath(QStringLiteral("gfx"))));
    const qint64 each = qint64(PictureStore::kShownSide) * PictureStore::kShownSide * 4;
    const int count = int(2 * PictureStore::kHeldBytes / each);
    for (int number = 1000; number < 1000 + count; ++number) {
        QFile file(Gfx(number));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(large);
    }
    for (int number = 1000; number < 1000 + count; ++number) {
        const QPixmap shown = Store->Picture(number);
        ASSERT_FALSE(SameImage(Store->DL(), shown)) << number;
        EXPECT_LE(shown.width(), PictureStore::kShownSide);
        EXPECT_LE(Store->HeldBytes(), PictureStore::kHeldBytes) << number;
        Store->Picture(1000); // shown again and again: never the one let go
    }
    EXPECT_GT(Store->HeldBytes(), PictureStore::kHeldBytes / 2);
    // The first ones shown went first (but 1000, shown all along); they come back from disk, not the web.
    EXPECT_FALSE(SameImage(Store->DL(), Store->Picture(1001)));
    EXPECT_FALSE(SameImage(Store->DL(), Store->Picture(1000)));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(0, Host.AllRequests());
}

TEST_F(PictureStoreTest, AsksForNothingOutsideThePictureNumbers) {
    for (int number : {999, 4001, 0, -1, -1149, INT_MIN, INT_MAX})
        EXPECT_TRUE(Store->Picture(number).isNull()) << number;
    // What the download service is handed never names anything outside its plain names, whoever asks.
    bool told = false;
    auto fetch = [&](const char* path, const char* file) {
        return Service->Fetch(
            {DownloadKind::Picture, QString::fromLatin1(path), QString::fromLatin1(file), 100, {}}, nullptr,
            [&](const DownloadResult&) { told = true; });
    };
    EXPECT_FALSE(fetch("/grpics/../../etc/passwd", "gfx/1.jpg"));
    EXPECT_FALSE(fetch("/grpics/1.jpg", "../1.jpg"));
    EXPECT_FALSE(fetch("/grpics/1.jpg", "/tmp/1.jpg"));
    EXPECT_FALSE(fetch("/grpics/1.jpg", "deployment.ini"));
    EXPECT_FALSE(fetch("http://elsewhere/1.jpg", "gfx/1.jpg"));
    EXPECT_EQ(0, Service->Queued());
    ASSERT_TRUE(Idle());
    EXPECT_EQ(0, Host.AllRequests());
    EXPECT_FALSE(told);
    EXPECT_EQ(QStringList(), Files());
}

TEST_F(PictureStoreTest, AsksAgainForAFailedPictureOnlyAfterAMinute) {
    Store->Picture(1500);
    ASSERT_TRUE(Idle());
    ASSERT_EQ(1, Host.Requests(Path(1500))); // not found
    const QByteArray picture = Jpeg(1500);
    Host.Serve(Path(1500), test::WebHost::Answer(200, picture));

    Now += 59s;
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1500)));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(1, Host.Requests(Path(1500)));

    Now += 1s;
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1500)));
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1500)));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(2, Host.Requests(Path(1500)));
    EXPECT_EQ(picture, FileBytes(Gfx(1500)));
    EXPECT_EQ((std::vector<int>{1500}), ArrivedNumbers());
    EXPECT_FALSE(SameImage(Store->DL(), Store->Picture(1500)));
}

TEST_F(PictureStoreTest, ReplacesACachedFileThatIsNoPicture) {
    QDir(Folder.path()).mkpath(QStringLiteral("gfx"));
    QFile broken(Gfx(1234));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<html>error</html>");
    broken.close();
    const QByteArray picture = Jpeg(1234);
    Host.Serve(Path(1234), test::WebHost::Answer(200, picture));
    EXPECT_TRUE(SameImage(Store->DL(), Store->Picture(1234)));
    ASSERT_TRUE(Idle());
    EXPECT_EQ(picture, FileBytes(Gfx(1234)));
    EXPECT_EQ((std::vector<int>{1234}), ArrivedNumbers());
}

TEST_F(PictureStoreTest, RunsAFewAtOnceAndReportsProgress) {
    QSignalSpy progress(Service.get(), &Downloads::progressChanged);
    Host.Hold = true;
    for (int number = 3000; number < 3005; ++number) {
        Host.Serve(Path(number), test::WebHost::Answer(200, Jpeg(number)));
        Store->Picture(number);
    }
    ASSERT_TRUE(test::WaitFor([&] { return Host.Waiting() == Downloads::kMaxRunning; }));
    EXPECT_FALSE(test::WaitFor([&] { return Host.Waiting() > Downloads::kMaxRunning; }, 200));
    EXPECT_EQ(Downloads::kMaxRunning, Service->Running());
    EXPECT_EQ(5 - Downloads::kMaxRunning, Service->Queued());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ((QList<QVariant>{Downloads::kMaxRunning, 5 - Downloads::kMaxRunning}), progress.last());

    Host.Release();
    ASSERT_TRUE(Idle());
    EXPECT_EQ(5, Host.AllRequests());
    EXPECT_EQ(5u, ArrivedNumbers().size());
    EXPECT_EQ((QList<QVariant>{0, 0}), progress.last());
}

TEST_F(PictureStoreTest, AStoreGoneBeforeItsDownloadsIsNotCalled) {
    Host.Hold = true;
    Host.Serve(Path(1111), test::WebHost::Answer(200, Jpeg(1111)));
    Store->Picture(1111);
    ASSERT_TRUE(test::WaitFor([&] { return Host.Waiting() == 1; }));
    Arrived.reset();
    Store.reset();
    Host.Release();
    ASSERT_TRUE(Idle());
    // The file is still kept for the next one who asks.
    EXPECT_EQ(Jpeg(1111), FileBytes(Gfx(1111)));
}

} // namespace
} // namespace gr
