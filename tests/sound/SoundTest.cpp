// The game window's sound and music against a web host on a real socket, with recorded media commands:
// what plays, what is fetched and kept, the switches and their settings, and what stops everything.
#include <QAction>
#include <QDir>
#include <QTest>

#include <set>

#include "sound/SoundAndMusic.h"
#include "sound/SoundPlayer.h"
#include "downloads/Downloads.h"
#include "support/WebMediaFixture.h"

namespace gr::test {
namespace {

class Sound : public WebMediaFixture {
  protected:
    // Entered with the given switches as a previous run stored them.
    Game& Playing(bool sounds, bool paging, bool music) {
        PresetSetting(QStringLiteral("Sounds"), sounds ? QStringLiteral("1") : QString());
        PresetSetting(QStringLiteral("SoundsPaging"), paging ? QString() : QStringLiteral("1"));
        PresetSetting(QStringLiteral("Music"), music ? QStringLiteral("1") : QString());
        Game& g = Entered();
        media->Commands.clear();
        return g;
    }
    QString Kept(const QString& file) const { return QDir(Home.path()).filePath(file); }
    void Place(const QString& file, const QByteArray& bytes) {
        QDir(Home.path()).mkpath(QFileInfo(file).path());
        QFile f(Kept(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(Sound, AKeptEffectPlaysAtOnceWithoutAskingTheWebHost) {
    Game& g = Playing(true, true, false);
    Place(QStringLiteral("sounds/door.wav"), Wave(1));
    const QString title = g.windowTitle();
    Tick({"Sounddoor", "Sounddoor"});
    EXPECT_EQ((QStringList{"stop sound", "close sound", "open sound sounds/door.wav", "play sound",
                           "stop sound", "close sound", "open sound sounds/door.wav", "play sound"}),
              media->Commands);
    EXPECT_EQ(title, g.windowTitle());
    EXPECT_EQ(0, web.AllRequests());
}

TEST_F(Sound, AMissingEffectIsFetchedOnceKeptAndPlayedWhileTheCaptionSaysSo) {
    Game& g = Playing(true, true, false);
    const QString title = g.windowTitle();
    web.Serve("/grsounds/bell.wav", WebHost::Answer(200, Wave(2)));
    web.Hold = true;
    Tick({"Soundbell"});
    EXPECT_TRUE(g.windowTitle().endsWith(QStringLiteral(" - Downloading Sound Effect")))
        << g.windowTitle().toStdString();
    EXPECT_EQ((QStringList{"stop sound", "close sound"}), media->Commands)
        << "nothing plays before it is saved";
    ASSERT_TRUE(WaitFor([&] { return web.Waiting() == 1; }));
    web.Release();
    ASSERT_TRUE(WaitFor([&] { return media->Commands.contains(QStringLiteral("play sound")); }));
    EXPECT_EQ(Wave(2), FileBytes(Kept(QStringLiteral("sounds/bell.wav"))));
    EXPECT_EQ(title, g.windowTitle());
    Tick({"Soundbell"});
    EXPECT_EQ(1, web.Requests("/grsounds/bell.wav"));
    EXPECT_EQ(QStringLiteral("play sound"), media->Commands.back());
}

TEST_F(Sound, AnErrorPageIsNeverKeptAndTheNextRequestTriesAgain) {
    Game& g = Playing(false, true, true);
    web.Serve("/grmusic/town.mid", WebHost::Answer(200, "<html>Sorry</html>", "Content-Type: text/html\r\n"));
    Tick({"Musictown"});
    ASSERT_TRUE(WaitFor([&] { return web.Requests("/grmusic/town.mid") == 1 && Settled(); }));
    QTest::qWait(50);
    EXPECT_FALSE(QFile::exists(Kept(QStringLiteral("music/town.mid"))));
    EXPECT_FALSE(media->Commands.join(QLatin1Char('|')).contains(QStringLiteral("open")))
        << "nothing to play";
    EXPECT_FALSE(g.windowTitle().contains(QStringLiteral("Downloading")));

    web.Serve("/grmusic/town.mid", WebHost::Answer(200, Midi(60)));
    Tick({"Musictown"});
    ASSERT_TRUE(WaitFor([&] { return media->Commands.contains(QStringLiteral("play midi")); }));
    EXPECT_EQ(2, web.Requests("/grmusic/town.mid"));
    EXPECT_EQ(Midi(60), FileBytes(Kept(QStringLiteral("music/town.mid"))));
    EXPECT_EQ("town", g.Audio->Sounds->CurrentMusic);
}

TEST_F(Sound, APieceCutShortIsNeverPlayedAndAKeptOneThatIsCutIsFetchedAgain) {
    Playing(false, true, true);
    const QByteArray cut = Midi(60).left(Midi(60).size() - 2); // the end-of-track event cut
    web.Serve("/grmusic/town.mid", WebHost::Answer(200, cut));
    Tick({"Musictown"});
    ASSERT_TRUE(WaitFor([&] { return web.Requests("/grmusic/town.mid") == 1 && Settled(); }));
    QTest::qWait(50);
    EXPECT_FALSE(QFile::exists(Kept(QStringLiteral("music/town.mid"))));

    Place(QStringLiteral("music/town.mid"), cut);
    web.Serve("/grmusic/town.mid", WebHost::Answer(200, Midi(61)));
    Tick({"Musictown"});
    ASSERT_TRUE(WaitFor([&] { return media->Commands.contains(QStringLiteral("play midi")); }));
    EXPECT_EQ(2, web.Requests("/grmusic/town.mid"));
    EXPECT_EQ(Midi(61), FileBytes(Kept(QStringLiteral("music/town.mid"))));
}

TEST_F(Sound, ANewerEffectReplacesOneStillWaiting) {
    Playing(true, true, false);
    web.Serve("/grsounds/a.wav", WebHost::Answer(200, Wave(3)));
    web.Serve("/grsounds/b.wav", WebHost::Answer(200, Wave(4)));
    web.Hold = true;
    Tick({"Sounda", "Soundb"});
    ASSERT_TRUE(WaitFor([&] { return web.Waiting() == 2; }));
    web.Release();
    ASSERT_TRUE(WaitFor([&] { return Settled(); }));
    QTest::qWait(50);
    EXPECT_FALSE(media->Commands.contains(QStringLiteral("open sound sounds/a.wav")));
    EXPECT_EQ(1, media->Commands.count(QStringLiteral("open sound sounds/b.wav")));
    EXPECT_TRUE(QFile::exists(Kept(QStringLiteral("sounds/a.wav")))) << "what arrived is kept for next time";
}

TEST_F(Sound, HostileNamesAskForNothingWriteNothingAndPlayNothing) {
    Playing(true, true, true);
    const std::set<QString> before = [&] {
        std::set<QString> files;
        for (const QString& f :
             QDir(Home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            files.insert(f);
        return files;
    }();
    for (const std::string& name :
         {std::string("../gfx/1000"), std::string("..\\..\\x"), std::string("a/b"), std::string("x.."),
          std::string("C:bell"), std::string(65, 'n'), std::string("bell\x01"), std::string("%2e%2e%2fx")}) {
        Tick({"Sound" + name, "Music" + name});
    }
    QTest::qWait(100);
    EXPECT_EQ(0, web.AllRequests()) << web.Heads.size();
    EXPECT_FALSE(media->Commands.join(QLatin1Char('|')).contains(QStringLiteral("open")));
    std::set<QString> after;
    for (const QString& f :
         QDir(Home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        after.insert(f);
    EXPECT_EQ(before, after);
    for (const char* folder : {"sounds", "music"})
        EXPECT_TRUE(QDir(Kept(QString::fromLatin1(folder))).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
            << folder;
}

TEST_F(Sound, SwitchesDecideWhatPlaysAndKeepTheirSettings) {
    Game& g = Playing(false, true, false);
    Place(QStringLiteral("sounds/pagerecieve.wav"), Wave(5));
    Place(QStringLiteral("sounds/door.wav"), Wave(6));
    Place(QStringLiteral("music/town.mid"), Midi(62));
    Tick({"Sounddoor", "Musictown", "Soundpagerecieve"});
    EXPECT_EQ((QStringList{"stop sound", "close sound", "open sound sounds/pagerecieve.wav", "play sound"}),
              media->Commands)
        << "effects and music off: only the paging sound";

    media->Commands.clear();
    g.Audio->SoundsOnPaging->trigger();
    g.Audio->SoundsOn->trigger();
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("SoundsPaging")));
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Sounds")));
    Tick({"Soundpagerecieve"});
    EXPECT_EQ(QStringLiteral("play sound"), media->Commands.back()) << "every effect while effects are on";

    // Music on: the server is asked for the music of the place; its answer plays and loops.
    g.Audio->MusicOn->trigger();
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Music")));
    EXPECT_EQ(std::vector<std::string>{"MusicOn"}, Sent());
    Tick({"Musictown"});
    EXPECT_TRUE(media->IsPlaying(MediaAlias::Midi));
    // Music off stops it at once, and a piece still on its way never starts.
    web.Serve("/grmusic/cave.mid", WebHost::Answer(200, Midi(64)));
    web.Hold = true;
    Tick({"Musiccave"});
    ASSERT_TRUE(WaitFor([&] { return web.Waiting() == 1; }));
    g.Audio->MusicOn->trigger();
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("Music")));
    EXPECT_FALSE(media->IsPlaying(MediaAlias::Midi));
    media->Commands.clear();
    web.Release();
    ASSERT_TRUE(WaitFor([&] { return Settled(); }));
    QTest::qWait(50);
    EXPECT_TRUE(media->Commands.isEmpty()) << media->Commands.join(QLatin1Char('|')).toStdString();
    Tick({"Musictown"});
    EXPECT_TRUE(media->Commands.isEmpty()) << "music off: nothing plays";
}

TEST_F(Sound, OfflineStopsBothAndVolumesAreKept) {
    PresetSetting(QStringLiteral("Music_Volume"), QStringLiteral("25"));
    Game& g = Playing(true, true, true);
    EXPECT_EQ(25, media->Volume[int(MediaAlias::Midi)]);
    EXPECT_EQ(100, media->Volume[int(MediaAlias::Sound)]);
    EXPECT_TRUE(g.Audio->MusicVolumeItems[1]->isChecked());
    g.Audio->SoundVolumeItems[2]->trigger();
    EXPECT_EQ(50, media->Volume[int(MediaAlias::Sound)]);
    EXPECT_EQ(QStringLiteral("50"), app->GetSetting(QStringLiteral("Sound_Volume")));
    EXPECT_FALSE(g.Audio->SoundVolumeItems[4]->isChecked());

    Tick({"OFFLINEThe server is going down."});
    EXPECT_EQ((QStringList{"stop sound", "stop midi", "close sound", "close midi"}), media->Commands);
    EXPECT_TRUE(ending.Ended());
}

TEST_F(Sound, WithoutAudioOneLineSaysSoAndTheGameGoesOn) {
    Playing(true, true, true);
    media->Trouble = QStringLiteral("No sound: no audio device could be opened (none here).");
    Place(QStringLiteral("sounds/door.wav"), Wave(7));
    Tick({"Sounddoor", "Sounddoor", "TMD{ffffff{still here"});
    EXPECT_EQ(1, Text().count(QStringLiteral("No sound: no audio device could be opened")));
    EXPECT_TRUE(Text().contains(QStringLiteral("still here")));
}

} // namespace
} // namespace gr::test
