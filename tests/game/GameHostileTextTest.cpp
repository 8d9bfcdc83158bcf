// Server text that could hold the game window hostage: pages that name local files as pictures, and
// addresses, pages, About texts and titles of megabytes. Everything returns promptly, shows at most its
// bound and marks what was cut. The times below only guard against a hang; they assert no speed.
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextDocument>

#include "core/BoundText.h"
#include "game/GameWindows.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

constexpr qint64 kHangGuardMs = 60000;
const QString kMark = QStringLiteral(" [...]");

class GameHostileText : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        clock.start();
    }
    Web_Browser& Viewer(Game& g) {
        if (!g.BrowserWindow) Tick({"Browsehttp://127.0.0.1:9/"});
        g.BrowserWindow->resize(720, 540);
        return *g.BrowserWindow;
    }
    // Lays the page out in full, as showing it would.
    static void LayOut(Web_Browser& viewer) {
        viewer.show();
        (void)viewer.Browser->document()->size();
        (void)viewer.Browser->viewport()->grab();
    }
    QElapsedTimer clock;
};

TEST_F(GameHostileText, PageViewerLoadsNothingThePageRefersTo) {
    Game& g = Entered();
    // A picture among the player's files (the data folder is the working folder).
    QImage secret(7, 5, QImage::Format_RGB32);
    secret.fill(Qt::red);
    const QString secretPath = QDir(Home.path()).filePath(QStringLiteral("secret.png"));
    ASSERT_TRUE(secret.save(secretPath));
    const QStringList sources = {
        secretPath,
        QStringLiteral("secret.png"),
        QUrl::fromLocalFile(secretPath).toString(),
        QStringLiteral("qrc:/qt-project.org/styles/commonstyle/images/standardbutton-apply-16.png"),
        QStringLiteral(":/qt-project.org/styles/commonstyle/images/standardbutton-apply-16.png"),
        QStringLiteral("/dev/zero"),
        QStringLiteral("http://127.0.0.1:9/picture.png"),
        QStringLiteral("ftp://127.0.0.1:9/picture.png"),
    };
    QString page =
        QStringLiteral("<html><head><link rel=\"stylesheet\" href=\"%1\"></head><body>").arg(secretPath);
    for (const QString& source : sources)
        page += QStringLiteral("<p><img src=\"%1\" alt=\"picture\"></p>").arg(source);
    Web_Browser& viewer = Viewer(g);
    viewer.ShowPage(page.toUtf8(), QStringLiteral("text/html"));
    LayOut(viewer);
    EXPECT_GT(viewer.Browser->ResourcesAsked, 0); // the page did ask, and had the viewer's answer
    for (const QString& source : sources) {
        const QVariant shown =
            viewer.Browser->document()->resource(QTextDocument::ImageResource, QUrl(source));
        EXPECT_EQ(QSize(12, 12), shown.value<QImage>().size()) << source.toStdString();
    }
    EXPECT_LT(clock.elapsed(), kHangGuardMs);
}

TEST_F(GameHostileText, HugePagesAreShownCut) {
    Game& g = Entered();
    Web_Browser& viewer = Viewer(g);
    struct Case {
        QByteArray body;
        const char* type;
    };
    const std::vector<Case> cases = {
        {QByteArray(64 << 20, 'x'), "text/plain"}, // one line without a break
        {"<p>" + QByteArray(16 << 20, 'y'), "text/html; charset=utf-8"},
    };
    for (const auto& c : cases) {
        viewer.ShowPage(c.body, QString::fromLatin1(c.type));
        LayOut(viewer);
        const QString shown = viewer.Browser->toPlainText();
        EXPECT_TRUE(shown.endsWith(kMark)) << c.type;
        EXPECT_LE(shown.size(), qsizetype(kMaxPageBytes + kCutMark.size())) << c.type;
        EXPECT_GE(shown.size(), qsizetype(kMaxPageBytes - 3)) << c.type;
    }
    EXPECT_LT(clock.elapsed(), kHangGuardMs);
}

TEST_F(GameHostileText, AFetchedPageStopsAtItsBound) {
    // A web host that sends a page of 8 MiB.
    QTcpServer web;
    ASSERT_TRUE(web.listen(QHostAddress::LocalHost));
    qint64 written = 0;
    QObject::connect(&web, &QTcpServer::newConnection, &web, [&] {
        QTcpSocket* s = web.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, s, [s, &written] {
            s->readAll();
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n");
            const QByteArray piece(64 * 1024, 'z');
            for (int i = 0; i < 128 && s->state() == QAbstractSocket::ConnectedState; ++i)
                written += s->write(piece);
            s->disconnectFromHost();
        });
    });
    Game& g = Entered();
    Tick({"Browsehttp://127.0.0.1:" + std::to_string(web.serverPort()) + "/long"});
    Web_Browser& viewer = *g.BrowserWindow;
    ASSERT_TRUE(WaitFor([&] { return viewer.Browser->toPlainText().endsWith(kMark); }, 20000))
        << viewer.Browser->toPlainText().left(200).toStdString();
    EXPECT_EQ(qsizetype(kMaxPageBytes + kCutMark.size()), viewer.Browser->toPlainText().size());
}

TEST_F(GameHostileText, LongAddressesAboutTextsAndTitlesAreCut) {
    Game& g = Entered();
    // An address of a megabyte: not fetched, and shown only in part.
    Tick({"Browsehttp://127.0.0.1:9/" + std::string(1 << 20, 'a')});
    ASSERT_TRUE(g.BrowserWindow);
    LayOut(*g.BrowserWindow);
    EXPECT_TRUE(g.BrowserWindow->Address->text().endsWith(kMark));
    EXPECT_LE(g.BrowserWindow->Address->text().size(), qsizetype(kMaxAddressBytes + kCutMark.size()));
    EXPECT_EQ(QStringLiteral("This address is too long to be a web page."),
              g.BrowserWindow->Browser->toPlainText());
    // An About text of 16 MiB.
    Tick({"ABOUT" + std::string(16 << 20, 'b')});
    ASSERT_TRUE(g.About);
    g.About->adjustSize();
    (void)g.About->grab();
    EXPECT_TRUE(g.About->Text->text().endsWith(kMark));
    EXPECT_EQ(qsizetype(kMaxLabelBytes + kCutMark.size()), g.About->Text->text().size());
    EXPECT_EQ(kMaxLabelBytes + kCutMark.size(), app->Session.AboutText.size());
    // A character's name of a megabyte in the window's title.
    app->Session.CharacterName = std::string(1 << 20, 'c');
    Type(QStringLiteral("/taskbar"));
    Type(QStringLiteral("/taskbar"));
    EXPECT_TRUE(g.windowTitle().endsWith(kMark));
    EXPECT_EQ(qsizetype(kMaxTitleBytes + kCutMark.size()), g.windowTitle().size());
    // A line of game text of a megabyte.
    Tick({"TMD{ffffff{" + std::string(1 << 20, 'd')});
    EXPECT_TRUE(Text().endsWith(kMark + QLatin1Char('\n')));
    EXPECT_LT(clock.elapsed(), kHangGuardMs);
}

} // namespace
} // namespace gr::test
