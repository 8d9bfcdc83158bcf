// The local web host over loopback: the picture, sound, music and skin requests as the client sends them,
// answers for everything else, keep-alive and close as HTTP/1.0 and HTTP/1.1 ask, and Qt's network access on
// top of it.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include <memory>

#include "devserver/Music.h"
#include "devserver/Skins.h"
#include "devserver/Sounds.h"
#include "devserver/WebHost.h"

namespace gr::dev {
namespace {

constexpr int kTimeoutMs = 5000;

struct Response {
    int Status = 0;
    QByteArray Head; // status line and headers
    QByteArray Body;
    bool Complete = false; // Content-Length bytes of body arrived
};

// Reads one response from the socket: the head, then as many body bytes as Content-Length says.
Response ReadResponse(QTcpSocket& socket, QByteArray& buffer, bool bodyExpected = true) {
    Response r;
    const QDeadlineTimer deadline(kTimeoutMs);
    qsizetype length = -1;
    while (!deadline.hasExpired()) {
        if (length < 0) {
            const qsizetype end = buffer.indexOf("\r\n\r\n");
            if (end >= 0) {
                r.Head = buffer.left(end);
                buffer.remove(0, end + 4);
                r.Status = r.Head.mid(9, 3).toInt();
                const qsizetype at = r.Head.indexOf("\r\nContent-Length: ");
                length = at < 0 ? 0 : r.Head.mid(at + 18).split('\r').value(0).toLongLong();
                if (!bodyExpected) length = 0;
            }
        }
        if (length >= 0 && buffer.size() >= length) {
            r.Body = buffer.left(length);
            buffer.remove(0, length);
            r.Complete = true;
            return r;
        }
        // The host runs in this thread: let the event loop serve it while waiting.
        if (socket.bytesAvailable() == 0) QTest::qWait(2);
        buffer += socket.readAll();
    }
    return r;
}

bool WaitClosed(QTcpSocket& socket) {
    const QDeadlineTimer deadline(kTimeoutMs);
    while (socket.state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired())
        QTest::qWait(2);
    return socket.state() == QAbstractSocket::UnconnectedState;
}

struct WebFixture {
    WebHost Host;
    std::vector<WebRequest> Log;

    WebFixture() {
        EXPECT_TRUE(Host.listen(0)) << Host.errorString().toStdString();
        QObject::connect(&Host, &WebHost::served, [this](const WebRequest& r) { Log.push_back(r); });
    }
    std::unique_ptr<QTcpSocket> Connect() {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, Host.port());
        EXPECT_TRUE(socket->waitForConnected(kTimeoutMs));
        return socket;
    }
    // One request exactly as the client's downloader sends it; the answer, and whether the host closed.
    Response ClientGet(const QByteArray& path, bool* closed = nullptr) {
        auto socket = Connect();
        socket->write("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: Gloamrest-Client\r\n\r\n");
        QByteArray buffer;
        Response r = ReadResponse(*socket, buffer);
        if (closed) *closed = WaitClosed(*socket) && buffer.isEmpty();
        return r;
    }
};

// A path the web host serves byte for byte with its type, or (body empty) answers 404.
struct ServedCase {
    QByteArray path;
    QByteArray body; // empty: 404
    QByteArray type;
};

// Asks for each path on a connection of its own and checks the answer and its log line.
void ExpectServed(WebFixture& f, const std::vector<ServedCase>& cases) {
    for (const ServedCase& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        bool closed = false;
        const Response r = f.ClientGet(c.path, &closed);
        ASSERT_TRUE(r.Complete);
        EXPECT_TRUE(closed);
        if (c.body.isEmpty()) {
            EXPECT_EQ(r.Status, 404);
            EXPECT_EQ(r.Body, "404 Not Found\n");
        } else {
            EXPECT_EQ(r.Status, 200);
            EXPECT_TRUE(r.Head.contains("\r\nContent-Type: " + c.type + "\r\n"));
            EXPECT_EQ(r.Body, c.body);
        }
        ASSERT_FALSE(f.Log.empty());
        EXPECT_EQ(f.Log.back().Status, r.Status);
    }
}

TEST(WebHost, ServesAPictureForEveryNumberFrom1000To4000AndNothingElse) {
    struct Case {
        QByteArray path;
        int status;
    };
    const Case cases[] = {
        {"/grpics/1000.jpg", 200},     {"/grpics/4000.jpg", 200},  {"/grpics/2345.jpg", 200},
        {"/grpics/1149.jpg?x=1", 200}, {"/grpics/999.jpg", 404},   {"/grpics/4001.jpg", 404},
        {"/grpics/0999.jpg", 404},     {"/grpics/01000.jpg", 404}, {"/grpics/../x", 404},
        {"/grpics/../1000.jpg", 404},  {"/grpics/1000.jpg/", 404}, {"/grpics/1000.JPG", 404},
        {"/grpics/1000", 404},         {"/grpics/+1000.jpg", 404}, {"/grpics/1e3.jpg", 404},
        {"/grpics/.jpg", 404},         {"/grpics/", 404},          {"/", 404},
        {"/grsounds/1000.wav", 404},   {"/GRPICS/1000.jpg", 404},  {"/x/grpics/1000.jpg", 404},
    };
    WebFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        bool closed = false;
        const Response r = f.ClientGet(c.path, &closed);
        ASSERT_TRUE(r.Complete);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_TRUE(
            r.Head.startsWith(c.status == 200 ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n"));
        EXPECT_TRUE(closed) << "HTTP/1.0: the host ends the connection after the answer";
        EXPECT_FALSE(r.Body.isEmpty());
        if (c.status == 200) {
            EXPECT_TRUE(r.Head.contains("\r\nContent-Type: image/jpeg"));
            const QImage picture = QImage::fromData(r.Body, "JPG");
            ASSERT_FALSE(picture.isNull());
            EXPECT_EQ(picture.size(), QSize(kPictureSize, kPictureSize));
        } else {
            EXPECT_TRUE(QImage::fromData(r.Body).isNull());
        }
        ASSERT_FALSE(f.Log.empty());
        EXPECT_EQ(f.Log.back().Status, c.status);
        EXPECT_EQ(f.Log.back().Target, QString::fromLatin1(c.path));
    }
    EXPECT_EQ(f.Log.size(), std::size(cases)) << "one log entry per request";
}

TEST(WebHost, PicturesAreDistinctPerNumberAndTheSameEachTime) {
    WebFixture f;
    const QByteArray first = f.ClientGet("/grpics/1000.jpg").Body;
    EXPECT_EQ(f.ClientGet("/grpics/1000.jpg").Body, first);
    const QImage a = QImage::fromData(first, "JPG");
    for (const QByteArray path : {"/grpics/1001.jpg", "/grpics/1002.jpg", "/grpics/4000.jpg"}) {
        SCOPED_TRACE(path.toStdString());
        const QImage b = QImage::fromData(f.ClientGet(path).Body, "JPG");
        ASSERT_FALSE(b.isNull());
        // The background (a corner) or the shape (the middle) differs to the eye, not only in bytes.
        auto far = [](QRgb x, QRgb y) {
            return std::abs(qRed(x) - qRed(y)) + std::abs(qGreen(x) - qGreen(y)) +
                       std::abs(qBlue(x) - qBlue(y)) >
                   60;
        };
        EXPECT_TRUE(far(a.pixel(1, 1), b.pixel(1, 1)) || far(a.pixel(20, 14), b.pixel(20, 14)));
    }
}

// Every effect and piece under its exact name, byte for byte with its type; any other spelling, a path that
// climbs out, an escape or another extension is not found.
TEST(WebHost, ServesEverySoundAndPieceByItsNameAndNothingElse) {
    std::vector<ServedCase> cases;
    for (const std::string_view name : kSoundNames)
        cases.push_back({"/grsounds/" + QByteArray(name.data(), qsizetype(name.size())) + ".wav",
                         QByteArray::fromStdString(MakeSound(name)), "audio/wav"});
    for (const std::string_view name : kMusicNames)
        cases.push_back({"/grmusic/" + QByteArray(name.data(), qsizetype(name.size())) + ".mid",
                         QByteArray::fromStdString(MakeMusic(name)), "audio/midi"});
    cases.push_back({"/grsounds/door.wav?v=2", QByteArray::fromStdString(MakeSound("door")), "audio/wav"});
    for (const QByteArray path : {"/grsounds/Door.wav",
                                  "/grsounds/door.WAV",
                                  "/grsounds/door.mid",
                                  "/grmusic/town.wav",
                                  "/grsounds/town.wav",
                                  "/grmusic/door.mid",
                                  "/grsounds/pagereceive.wav",
                                  "/grsounds/door",
                                  "/grsounds/.wav",
                                  "/grsounds/",
                                  "/grsounds//door.wav",
                                  "/grsounds/./door.wav",
                                  "/grsounds/../grsounds/door.wav",
                                  "/grmusic/../../etc/passwd",
                                  "/grmusic/..%2ftown.mid",
                                  "/grsounds/%64oor.wav",
                                  "/grsounds/door%2ewav",
                                  "/grsounds/door.wav%00",
                                  "/grsounds/door.wav/",
                                  "/grmusic/town.mid.mid",
                                  "/grmusic/town.midi",
                                  "/grpics/door.wav",
                                  "/GRSOUNDS/door.wav",
                                  "/x/grmusic/town.mid"})
        cases.push_back({path, {}, {}});

    WebFixture f;
    ExpectServed(f, cases);
    EXPECT_EQ(f.Log.size(), cases.size()) << "one log entry per request";

    // Kept alive and pipelined like the pictures; a HEAD tells the length without the bytes.
    auto socket = f.Connect();
    socket->write("GET /grsounds/bell.wav HTTP/1.1\r\nHost: x\r\n\r\n"
                  "HEAD /grmusic/tavern.mid HTTP/1.1\r\nHost: x\r\n\r\n"
                  "GET /grmusic/library.mid HTTP/1.1\r\nHost: x\r\n\r\n");
    QByteArray buffer;
    EXPECT_EQ(ReadResponse(*socket, buffer).Body, QByteArray::fromStdString(MakeSound("bell")));
    const Response head = ReadResponse(*socket, buffer, false);
    EXPECT_EQ(head.Status, 200);
    EXPECT_TRUE(head.Head.contains("\r\nContent-Length: " + QByteArray::number(MakeMusic("tavern").size())));
    EXPECT_EQ(ReadResponse(*socket, buffer).Body, QByteArray::fromStdString(MakeMusic("library")));
    QTest::qWait(50);
    EXPECT_TRUE(buffer.isEmpty() && socket->bytesAvailable() == 0) << "no body after the HEAD";
    EXPECT_EQ(socket->state(), QAbstractSocket::ConnectedState);
}

// The skin list, and each skin's file and picture under its exact name, byte for byte with its type; any
// other name or extension, a path that climbs out or an escape is not found.
TEST(WebHost, ServesTheSkinsAndTheirListByteForByteAndNothingElse) {
    constexpr QByteArrayView kText = "text/plain; charset=windows-1252";
    std::vector<ServedCase> cases = {
        {"/grskins/skins.ini", QByteArray::fromStdString(MakeSkinList()), kText.toByteArray()}};
    for (const std::string_view name : kSkinNames) {
        const QByteArray base = "/grskins/" + QByteArray(name.data(), qsizetype(name.size()));
        cases.push_back({base + ".skn", QByteArray::fromStdString(MakeSkinFile(name)), kText.toByteArray()});
        cases.push_back({base + ".jpg", MakeSkinPicture(name), "image/jpeg"});
    }
    cases.push_back(
        {"/grskins/dusk.skn?v=2", QByteArray::fromStdString(MakeSkinFile("dusk")), kText.toByteArray()});
    for (const QByteArray path : {"/grskins/Dusk.skn",
                                  "/grskins/dusk.SKN",
                                  "/grskins/dusk.ini",
                                  "/grskins/skins.INI",
                                  "/grskins/Skins.ini",
                                  "/grskins/skins.ini/",
                                  "/grskins/skins.ini.bak",
                                  "/grskins/skins.skn",
                                  "/grskins/skins.jpg",
                                  "/grskins/dark.skn",
                                  "/grskins/harbour.bmp",
                                  "/grskins/harbour.wav",
                                  "/grskins/dusk",
                                  "/grskins/.skn",
                                  "/grskins/",
                                  "/grskins",
                                  "/grskins//dusk.skn",
                                  "/grskins/./dusk.jpg",
                                  "/grskins/../grskins/dusk.skn",
                                  "/grskins/../../etc/passwd",
                                  "/grskins/..%2fdusk.skn",
                                  "/grskins/%64usk.skn",
                                  "/grskins/dusk%2eskn",
                                  "/grskins/dusk.skn%00",
                                  "/grskins/dusk.jpg.skn",
                                  "/grskins/dusk.skn.jpg",
                                  "/grskins/dusk.skn/",
                                  "/grpics/dusk.jpg",
                                  "/grsounds/dusk.skn",
                                  "/GRSKINS/dusk.skn",
                                  "/x/grskins/dusk.skn",
                                  "/skins.ini"})
        cases.push_back({path, {}, {}});

    WebFixture f;
    ExpectServed(f, cases);
    EXPECT_EQ(f.Log.size(), cases.size()) << "one log entry per request";

    // The chooser's order over one kept-alive connection: the list, then a skin's file and picture.
    auto socket = f.Connect();
    socket->write("GET /grskins/skins.ini HTTP/1.1\r\nHost: x\r\n\r\n"
                  "GET /grskins/harbour.jpg HTTP/1.1\r\nHost: x\r\n\r\n"
                  "GET /grskins/harbour.skn HTTP/1.1\r\nHost: x\r\n\r\n");
    QByteArray buffer;
    EXPECT_EQ(ReadResponse(*socket, buffer).Body, QByteArray::fromStdString(MakeSkinList()));
    const QByteArray picture = ReadResponse(*socket, buffer).Body;
    EXPECT_EQ(picture, MakeSkinPicture("harbour"));
    EXPECT_EQ(QImage::fromData(picture, "JPG").size(), QSize(kSkinPictureWidth, kSkinPictureHeight));
    EXPECT_EQ(ReadResponse(*socket, buffer).Body, QByteArray::fromStdString(MakeSkinFile("harbour")));
    EXPECT_EQ(socket->state(), QAbstractSocket::ConnectedState);
}

TEST(WebHost, KeepsHttp11ConnectionsOpenAndAnswersPipelinedRequestsInOrder) {
    WebFixture f;
    auto socket = f.Connect();
    socket->write("GET /grpics/1500.jpg HTTP/1.1\r\nHost: x\r\n\r\n"
                  "HEAD /grpics/1501.jpg HTTP/1.1\r\nHost: x\r\n\r\n"
                  "GET /nothing HTTP/1.1\r\nHost: x\r\n\r\n");
    QByteArray buffer;
    const Response one = ReadResponse(*socket, buffer);
    const Response two = ReadResponse(*socket, buffer, false);
    const Response three = ReadResponse(*socket, buffer);
    EXPECT_EQ(one.Status, 200);
    EXPECT_TRUE(one.Head.contains("\r\nConnection: keep-alive"));
    EXPECT_FALSE(QImage::fromData(one.Body, "JPG").isNull());
    EXPECT_EQ(two.Status, 200);
    EXPECT_TRUE(two.Head.contains("\r\nContent-Length: " +
                                  QByteArray::number(f.ClientGet("/grpics/1501.jpg").Body.size())));
    EXPECT_EQ(three.Status, 404);
    EXPECT_EQ(three.Body, "404 Not Found\n");
    EXPECT_EQ(socket->state(), QAbstractSocket::ConnectedState);

    // "Connection: close" ends it after the answer; an HTTP/1.0 request asking keep-alive keeps it.
    socket->write("GET /grpics/1502.jpg HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(ReadResponse(*socket, buffer).Status, 200);
    EXPECT_TRUE(WaitClosed(*socket));
    auto old = f.Connect();
    old->write("GET /grpics/1503.jpg HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n");
    QByteArray oldBuffer;
    EXPECT_EQ(ReadResponse(*old, oldBuffer).Status, 200);
    old->write("GET /grpics/1504.jpg HTTP/1.0\r\n\r\n");
    EXPECT_EQ(ReadResponse(*old, oldBuffer).Status, 200);
    EXPECT_TRUE(WaitClosed(*old));
}

TEST(WebHost, RefusesWhatItDoesNotServe) {
    struct Case {
        QByteArray request;
        int status;
        bool closes;
    };
    const Case cases[] = {
        {"POST /grpics/1000.jpg HTTP/1.1\r\n\r\n", 405, false},
        {"GET /grpics/1000.jpg HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello", 400, true},
        {"GET /grpics/1000.jpg HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 400, true},
        {"GET /grpics/1000.jpg\r\n\r\n", 400, true},
        {"GET grpics/1000.jpg HTTP/1.1\r\n\r\n", 400, true},
        {"\x01\x02\x03\r\n\r\n", 400, true},
        {"GET /grpics/1000.jpg HTTP/2.0\r\n\r\n", 505, true},
        {"GET /grpics/1000.jpg HTTP/1.1\r\nX: " + QByteArray(kMaxRequestBytes + 100, 'a'), 431, true},
    };
    WebFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request.left(60).toStdString());
        auto socket = f.Connect();
        socket->write(c.request);
        QByteArray buffer;
        const Response r = ReadResponse(*socket, buffer);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_TRUE(r.Complete);
        if (c.closes) {
            EXPECT_TRUE(WaitClosed(*socket));
        } else {
            QTest::qWait(200);
            EXPECT_EQ(socket->state(), QAbstractSocket::ConnectedState);
        }
    }
    EXPECT_EQ(f.Log.size(), std::size(cases));
    // The log shows only printable text of what a client sent.
    for (const WebRequest& r : f.Log) {
        for (const QChar c : r.Target)
            EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7f) << r.Target.toStdString();
    }
}

// What the client builds its downloads on: a 200 with a picture, a 404 as an error without a body to keep.
TEST(WebHost, QtNetworkAccessGetsPicturesAndNotFound) {
    WebFixture f;
    QNetworkAccessManager manager;
    auto get = [&](const QString& path) {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(f.Host.port()).arg(path)));
        request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Gloamrest-Client"));
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        EXPECT_TRUE(finished.wait(kTimeoutMs));
        return reply;
    };
    for (int round = 0; round < 2; ++round) { // the second round reuses kept-alive connections
        const auto ok = get(QStringLiteral("/grpics/1234.jpg"));
        EXPECT_EQ(ok->error(), QNetworkReply::NoError);
        EXPECT_EQ(ok->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        const QByteArray body = ok->readAll();
        EXPECT_EQ(ok->header(QNetworkRequest::ContentLengthHeader).toLongLong(), body.size());
        EXPECT_FALSE(QImage::fromData(body, "JPG").isNull());
        const auto missing = get(QStringLiteral("/grpics/4001.jpg"));
        EXPECT_EQ(missing->error(), QNetworkReply::ContentNotFoundError);
        EXPECT_EQ(missing->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
    }
    EXPECT_EQ(f.Log.size(), 4u);
}

TEST(WebHost, PictureNumbersAreCheckedBeforeAnythingIsMade) {
    EXPECT_TRUE(MakePicture(999).isEmpty());
    EXPECT_TRUE(MakePicture(4001).isEmpty());
    EXPECT_TRUE(MakePicture(-1).isEmpty());
    EXPECT_FALSE(MakePicture(1000).isEmpty());
    PictureCache cache;
    EXPECT_TRUE(cache.Picture(5000).isEmpty());
    EXPECT_EQ(cache.Size(), 0);
    EXPECT_EQ(cache.Picture(1200), cache.Picture(1200));
    EXPECT_EQ(cache.Size(), 1);
}

} // namespace
} // namespace gr::dev
