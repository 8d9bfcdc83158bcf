// A hostile web host against the real client: answers to sound, music, skin list, skin and skin picture
// downloads that are huge, endless, trickled, silent, redirected to other schemes and hosts, or not what
// they claim. What must hold: nothing is kept, nothing is played or applied, no download holds its place
// for long (a good file asked for afterwards still arrives), the game keeps answering the server, and no
// program is started and no address opened.
#include <QDirIterator>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <set>

#include "downloads/PictureStore.h"
#include "panels/PanelSlot.h"
#include "panels/RoomObjectsPanel.h"
#include "platform/Media.h"

#include "skin/SkinChooser.h"
#include "support/WebMediaFixture.h"

namespace gr::test {
namespace {

class HostileWeb : public WebMediaFixture {
  protected:
    // Entered with sounds and music on, downloads held to a pace of a kilobyte per 500 ms (the client's
    // own is 16 KiB per 30 s) so that trickling hosts are found out quickly.
    Game& Playing() {
        PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
        PresetSetting(QStringLiteral("Music"), QStringLiteral("1"));
        Game& g = Entered();
        app->Downloader().SetPace(500, 1024);
        if (media) media->Commands.clear();
        return g;
    }
    // The kinds of hostile answer, each for the given path; `other` is a host that is not the deployment's.
    // good: a body of the kind asked for; wrong: a whole file of another kind.
    void ServeHostile(const QByteArray& base, const QByteArray& extension, const QByteArray& good,
                      const QByteArray& wrong) {
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        web.Serve(base + "huge" + extension,
                  ok + "Content-Length: 99999999999\r\nConnection: close\r\n\r\n" + good);
        web.ServeStream(base + "endless" + extension, ok + "\r\n" + good, QByteArray(64 * 1024, 'e'), 1);
        web.ServeStream(base + "endlesschunks" + extension, ok + "Transfer-Encoding: chunked\r\n\r\n",
                        "10000\r\n" + QByteArray(0x10000, 'c') + "\r\n", 1);
        web.ServeStream(base + "trickle" + extension, ok + "Content-Length: 100000\r\n\r\n" + good, "t", 40);
        web.ServeStream(base + "silent" + extension, "", "", 1000);
        web.ServeStream(base + "halfhead" + extension, "HTTP/1.1 200 OK\r\nX-Slow: ", "a", 40);
        web.Serve(base + "tofile" + extension,
                  WebHost::Answer(302, "", "Location: file:///etc/hostname\r\n"));
        web.Serve(base + "toftp" + extension,
                  WebHost::Answer(301, "", "Location: ftp://" + web.Address().toLatin1() + base + "x\r\n"));
        web.Serve(base + "tohttps" + extension,
                  WebHost::Answer(307, "", "Location: https://" + web.Address().toLatin1() + base + "x\r\n"));
        web.Serve(base + "toother" + extension,
                  WebHost::Answer(302, "", "Location: http://" + other.Address().toLatin1() + "/x\r\n"));
        web.Serve(base + "html" + extension,
                  WebHost::Answer(200, "<html><body>Busy</body></html>", "Content-Type: audio/wav\r\n"));
        web.Serve(base + "otherkind" + extension,
                  WebHost::Answer(200, wrong, "Content-Type: audio/midi\r\n"));
        web.Serve(base + "empty" + extension, WebHost::Answer(200, ""));
    }
    static inline const char* kHostile[] = {"huge",     "endless",   "endlesschunks", "trickle", "silent",
                                            "halfhead", "tofile",    "toftp",         "tohttps", "toother",
                                            "html",     "otherkind", "empty"};
    // The client still answers the server: its dispatcher is alive and in order.
    bool Answers() {
        peer.Send("Monitorstaff%${[}]");
        return WaitFor(
            [&] {
                for (const std::string& m : peer.Messages(kKey))
                    if (m.starts_with("Monitorstaff/")) return true;
                return false;
            },
            5000);
    }

    WebHost other;
};

TEST_F(HostileWeb, SoundAndMusicAnswersKeepNothingPlayNothingAndHoldNoPlace) {
    Playing();
    ServeHostile("/grsounds/", ".wav", Wave('w'), Jpeg(3));
    ServeHostile("/grmusic/", ".mid", Midi(60), Wave('w'));
    std::vector<std::string> messages;
    for (const char* name : kHostile) {
        messages.push_back(std::string("Sound") + name);
        messages.push_back(std::string("Music") + name);
    }
    Tick(messages);
    ASSERT_TRUE(WaitFor([&] { return Settled(); }, 20000))
        << app->Downloader().Running() << " running, " << app->Downloader().Queued() << " waiting";
    // Asked for once at most: under a slow machine's load a download may give up before its request goes
    // out, at the short pace of this test.
    for (const char* name : kHostile) {
        EXPECT_LE(web.Requests(QByteArray("/grsounds/") + name + ".wav"), 1) << name;
        EXPECT_LE(web.Requests(QByteArray("/grmusic/") + name + ".mid"), 1) << name;
    }
    EXPECT_EQ(0, other.AllRequests());
    EXPECT_FALSE(media->Commands.join(QLatin1Char('|')).contains(QStringLiteral("open")))
        << media->Commands.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(std::set<QString>{}, [&] {
        std::set<QString> kept;
        for (const QString& f : DataFiles())
            if (f.startsWith(QStringLiteral("sounds/")) || f.startsWith(QStringLiteral("music/")))
                kept.insert(f);
        return kept;
    }());
    EXPECT_TRUE(Answers());

    // Every place is free again: a good effect asked for now arrives and plays.
    web.Serve("/grsounds/bell.wav", WebHost::Answer(200, Wave('w')));
    Tick({"Soundbell"});
    ASSERT_TRUE(WaitFor([&] { return media->Commands.contains(QStringLiteral("play sound")); }));
    EXPECT_EQ(Wave('w'), FileBytes(QDir(Home.path()).filePath(QStringLiteral("sounds/bell.wav"))));
    EXPECT_TRUE(shell.Opened.isEmpty());
    EXPECT_TRUE(shell.Started.isEmpty());
}

TEST_F(HostileWeb, SkinListsSkinsAndPicturesKeepNothingAndApplyNothing) {
    Game& g = Playing();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    // First a list that never ends: the chooser says there are no skins.
    web.ServeStream("/grskins/skins.ini", "HTTP/1.1 200 OK\r\n\r\n[a]\r\n", QByteArray(4096, ';'), 1);
    g.Skins->trigger();
    ASSERT_TRUE(g.SkinWindow);
    SkinChooser& chooser = *g.SkinWindow;
    ASSERT_TRUE(WaitFor([&] { return chooser.State->text().contains(QStringLiteral("no skins")); }, 10000))
        << chooser.State->text().toStdString();

    // Then a list of skins whose every file is hostile, with sections named as paths among them.
    QByteArray list = "[../evil]\r\nName=Evil\r\n[a/b]\r\nName=Path\r\n[..]\r\n[C:x]\r\n";
    for (const char* name : kHostile)
        list += QByteArray("[") + name + "]\r\nName=" + name + "\r\n";
    web.Serve("/grskins/skins.ini", WebHost::Answer(200, list));
    ServeHostile("/grskins/", ".skn", "Title=Hostile\r\n", Jpeg(4));
    ServeHostile("/grskins/", ".jpg", Jpeg(5), Wave('w'));
    chooser.Refresh();
    const int offered = int(std::size(kHostile));
    ASSERT_TRUE(WaitFor([&] { return chooser.SkinListBox->count() == 1 + offered; }))
        << chooser.SkinListBox->count();
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == chooser.SkinListBox; }));
    // The player walks down the list (each picture is asked for) and tries to use each skin.
    for (int row = 1; row <= offered; ++row) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        const int shownBefore = int(dialogs.Shown.size());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(WaitFor([&] { return int(dialogs.Shown.size()) > shownBefore; }, 10000))
            << chooser.SkinListBox->currentItem()->text().toStdString();
        EXPECT_EQ(QStringLiteral("Download of skin was corrupt, try again shortly."), dialogs.Shown.back());
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == chooser.SkinListBox; }));
    }
    ASSERT_TRUE(WaitFor([&] { return Settled(); }, 20000));
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("Skin")));
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(0, other.AllRequests());
    for (const QByteArray& head : web.Heads)
        EXPECT_FALSE(head.contains("..") || head.contains("evil") || head.contains("/a/b"))
            << head.toStdString();
    std::set<QString> kept;
    for (const QString& f : DataFiles())
        if (f.contains(QLatin1Char('/'))) kept.insert(f);
    EXPECT_EQ((std::set<QString>{QStringLiteral("skins/skins.ini")}), kept);
    EXPECT_TRUE(Answers());
    EXPECT_TRUE(shell.Opened.isEmpty());
    EXPECT_TRUE(shell.Started.isEmpty());
}

// The real audio device (SDL's dummy driver): crafted effects and pieces of music, whether served or left in
// the data folder, never reach the mixer or its MIDI player; a good piece still plays, and the game keeps
// answering after every switch of pieces.
class HostileMedia : public HostileWeb {
  protected:
    void BeforeGame() override {} // the application's own device
    static QByteArray Seed(const char* name) {
        QFile f(QStringLiteral(GLOAMREST_FUZZ_DIR "/corpus/fuzz_sound/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    }
};

TEST_F(HostileMedia, CraftedWavesAndPiecesNeverPlayAndTheGameGoesOn) {
    Playing();
    const char* pieces[] = {"midi-notes-at-one-tick", "midi-tempo-zero", "midi-running-status-after-meta",
                            "midi-dense-tracks"};
    const char* waves[] = {"wav-rate-1hz", "wav-data-past-end"};
    for (const char* name : pieces)
        web.Serve(QByteArray("/grmusic/") + name + ".mid", WebHost::Answer(200, Seed(name)));
    for (const char* name : waves)
        web.Serve(QByteArray("/grsounds/") + name + ".wav", WebHost::Answer(200, Seed(name)));
    web.Serve("/grmusic/good.mid", WebHost::Answer(200, Seed("midi-good")));
    // One crafted piece was left in the data folder by an earlier run; its host now has nothing.
    ASSERT_TRUE(QDir(Home.path()).mkpath(QStringLiteral("music")));
    QFile left(QDir(Home.path()).filePath(QStringLiteral("music/left.mid")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.write(Seed("midi-tempo-zero"));
    left.close();

    for (const char* name : pieces) {
        Tick({std::string("Music") + name, "Musicgood", std::string("Music") + name, "Musicleft"});
        for (const char* wave : waves)
            Tick({std::string("Sound") + wave});
        EXPECT_TRUE(Answers()) << name;
    }
    ASSERT_TRUE(WaitFor([&] { return Settled(); }, 20000));
    Tick({"Musicgood"});
    EXPECT_TRUE(WaitFor([&] { return app->Audio().IsPlaying(MediaAlias::Midi); }));
    std::set<QString> kept;
    for (const QString& f : DataFiles())
        if (f.startsWith(QStringLiteral("sounds/")) || f.startsWith(QStringLiteral("music/"))) kept.insert(f);
    EXPECT_EQ((std::set<QString>{QStringLiteral("music/good.mid"), QStringLiteral("music/left.mid")}), kept);
    EXPECT_TRUE(Answers());
    EXPECT_FALSE(Text().contains(QStringLiteral("could not be played in time"))) << Text().toStdString();
}

TEST_F(HostileMedia, PicturesThatClaimOneSizeAndCostAnotherAreNeitherKeptNorShown) {
    Game& g = Playing();
    auto seed = [](const char* name) {
        QFile f(QStringLiteral(GLOAMREST_FUZZ_DIR "/corpus/fuzz_pictures/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll();
    };
    const char* hostile[] = {"icon-claims-16-holds-4000-png.ico", "png-text-chunk-claims-2g",
                             "jpeg-progressive-many-empty-scans-60k", "png-side-past-bound.png"};
    int number = 1501;
    std::string objects = "PLA";
    for (const char* name : hostile) {
        web.Serve("/grpics/" + QByteArray::number(number) + ".jpg", WebHost::Answer(200, seed(name)));
        objects += char('a' + number - 1501) + std::string("00ffff/") + std::to_string(number) + "/";
        ++number;
    }
    // And one large picture that is what it claims: shown, at no more than a slot's largest size.
    web.Serve("/grpics/1600.jpg", WebHost::Answer(200, seed("jpeg-large-scaled-down.jpg")));
    Tick({objects + "z00ffff/1600/"});
    ASSERT_TRUE(WaitFor([&] { return Settled(); }, 20000));
    EXPECT_TRUE(Answers());
    const QImage placeholder = app->Pictures().DL().toImage();
    const PanelSlot* good = g.RoomPanel->ObjPicG[std::size(hostile)];
    ASSERT_TRUE(WaitFor([&] { return good->Picture == 1600 && good->pixmap().toImage() != placeholder; }));
    EXPECT_LE(std::max(good->pixmap().width(), good->pixmap().height()), PictureStore::kShownSide);
    for (std::size_t i = 0; i < std::size(hostile); ++i)
        EXPECT_EQ(placeholder, g.RoomPanel->ObjPicG[i]->pixmap().toImage()) << hostile[i];
    std::set<QString> kept;
    for (const QString& f : DataFiles())
        if (f.startsWith(QStringLiteral("gfx/"))) kept.insert(f);
    EXPECT_EQ((std::set<QString>{QStringLiteral("gfx/1600.jpg")}), kept);
}

} // namespace
} // namespace gr::test
