// The picture store against a web host that is not ours: Python's http.server over a folder of JPEGs.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "downloads/Downloads.h"
#include "downloads/PictureStore.h"
#include "support/WebHost.h"

namespace gr {
namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A port nobody listens on just now.
quint16 FreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

TEST(PictureStoreHttpServer, FetchesFromAForeignWebHostOnceEach) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) GTEST_SKIP() << "python3 is not installed";

    QTemporaryDir site, data;
    ASSERT_TRUE(site.isValid() && data.isValid());
    ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("grpics")));
    const QByteArray a = test::Jpeg(1149, 24, 18), b = test::Jpeg(1150, 24, 18);
    ASSERT_TRUE(WriteFile(site.filePath(QStringLiteral("grpics/1149.jpg")), a));
    ASSERT_TRUE(WriteFile(site.filePath(QStringLiteral("grpics/1150.jpg")), b));
    // Served as 200 with a picture's name, but an error page inside.
    ASSERT_TRUE(WriteFile(site.filePath(QStringLiteral("grpics/1152.jpg")), "<html>Quota exceeded</html>"));

    const quint16 port = FreePort();
    ASSERT_NE(0, port);
    QProcess server;
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.setWorkingDirectory(site.path()); // the test's own may be gone, left by an earlier test
    server.start(python, {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                          QString::number(port), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                          QStringLiteral("--directory"), site.path()});
    ASSERT_TRUE(server.waitForStarted(5000));
    const bool listening = test::WaitFor(
        [&] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(100);
        },
        10000);
    if (!listening) {
        server.kill();
        server.waitForFinished(2000);
        FAIL() << "http.server did not start: " << server.readAllStandardError().toStdString();
    }
    QByteArray log; // one line per request on its standard error
    QObject::connect(&server, &QProcess::readyReadStandardError,
                     [&] { log += server.readAllStandardError(); });
    auto requests = [&](const char* path) { return int(log.count(QByteArray("\"GET ") + path + " HTTP")); };

    {
        Downloads service(QStringLiteral("127.0.0.1:%1").arg(port), data.path());
        PictureStore store(service, data.path());
        QSignalSpy arrived(&store, &PictureStore::pictureArrived);
        for (int round = 0; round < 2; ++round)
            for (int number : {1149, 1150, 1151, 1152})
                EXPECT_EQ(store.DL().toImage(), store.Picture(number).toImage()) << number;
        const char* paths[] = {"/grpics/1149.jpg", "/grpics/1150.jpg", "/grpics/1151.jpg",
                               "/grpics/1152.jpg"};
        ASSERT_TRUE(test::WaitFor([&] {
            if (service.Running() != 0 || service.Queued() != 0) return false;
            for (const char* path : paths)
                if (requests(path) == 0) return false; // its log line may still be on its way
            return true;
        }));

        EXPECT_EQ(a, test::FileBytes(data.filePath(QStringLiteral("gfx/1149.jpg"))));
        EXPECT_EQ(b, test::FileBytes(data.filePath(QStringLiteral("gfx/1150.jpg"))));
        EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("gfx/1151.jpg")))); // 404
        EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("gfx/1152.jpg")))); // not a picture
        for (const char* path :
             {"/grpics/1149.jpg", "/grpics/1150.jpg", "/grpics/1151.jpg", "/grpics/1152.jpg"})
            EXPECT_EQ(1, requests(path)) << path << "\n" << log.toStdString();
        ASSERT_EQ(2, arrived.size());
        EXPECT_NE(store.DL().toImage(), store.Picture(1149).toImage());
        EXPECT_EQ(QSize(24, 18), store.Picture(1150).size());
        EXPECT_EQ(store.DL().toImage(), store.Picture(1151).toImage());
    }
    server.kill();
    server.waitForFinished(2000);
}

} // namespace
} // namespace gr
