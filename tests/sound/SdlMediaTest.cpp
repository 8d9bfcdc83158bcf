// The real media control under SDL's dummy driver: what it opens and plays, and the one line that says
// why nothing can be heard when there is no device or no soundfont.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sound/SdlMedia.h"
#include "support/WebHost.h"

namespace gr::test {
namespace {

class SdlMediaTest : public ::testing::Test {
  protected:
    void SetUp() override { qputenv("SDL_AUDIODRIVER", "dummy"); }
    void TearDown() override { qputenv("SDL_AUDIODRIVER", "dummy"); }
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(Folder.path()).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray Wave() {
        QByteArray bytes("RIFF\x2c\x10\0\0WAVEfmt "
                         "\x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\x10\0\0",
                         44);
        return bytes + QByteArray(0x1008, '\x20');
    }
    static QByteArray Midi() {
        return QByteArray(
            "MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0c\0\x90\x3c\x40\x60\x80\x3c\0\0\xff\x2f\0", 34);
    }
    QTemporaryDir Folder;
};

TEST_F(SdlMediaTest, OpensPlaysStopsAndLoopsMusic) {
    SdlMedia media;
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Sound)) << "nothing open before the first sound";
    ASSERT_TRUE(media.Open(MediaAlias::Sound, Write(QStringLiteral("a.wav"), Wave())));
    media.Play(MediaAlias::Sound);
    EXPECT_TRUE(media.IsPlaying(MediaAlias::Sound));
    media.Stop(MediaAlias::Sound);
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Sound));
    ASSERT_TRUE(media.Open(MediaAlias::Midi, Write(QStringLiteral("a.mid"), Midi())));
    media.Play(MediaAlias::Midi);
    EXPECT_TRUE(media.IsPlaying(MediaAlias::Midi));
    media.Close(MediaAlias::Midi);
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Midi));
    EXPECT_FALSE(media.Open(MediaAlias::Sound, Write(QStringLiteral("page.wav"), "<html>no</html>")));
    EXPECT_EQ(QString(), media.Problem());
}

// A 16-bit mono wave file of `frames` frames at `rate` frames a second, its header as a file would have it.
QByteArray WaveAt(quint32 rate, quint32 frames) {
    QByteArray head("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\0\0\0\0\0\0\0\0\x02\0\x10\0data\0\0\0\0", 44);
    qToLittleEndian(36 + 2 * frames, head.data() + 4);
    qToLittleEndian(rate, head.data() + 24);
    qToLittleEndian(2 * rate, head.data() + 28);
    qToLittleEndian(2 * frames, head.data() + 40);
    return head + QByteArray(int(2 * frames), '\x10');
}

TEST_F(SdlMediaTest, WavesTheMixerCannotConvertSafelyNeverReachIt) {
    SdlMedia media;
    // At a rate of one frame a second the mixer's conversion to the device's rate wraps its size
    // arithmetic (a large file) or asks for a gigabyte (a small one).
    for (const quint32 frames : {109'000u, 1'500u})
        EXPECT_FALSE(media.Open(MediaAlias::Sound, Write(QStringLiteral("slow.wav"), WaveAt(1, frames))))
            << frames;
    QByteArray past = WaveAt(22050, 100);
    qToLittleEndian(quint32(1) << 30, past.data() + 40); // samples claimed far past the end of the file
    EXPECT_FALSE(media.Open(MediaAlias::Sound, Write(QStringLiteral("past.wav"), past)));
    EXPECT_TRUE(media.Settle(std::chrono::seconds(5)));
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Sound));
    // A good effect still plays afterwards.
    ASSERT_TRUE(media.Open(MediaAlias::Sound, Write(QStringLiteral("a.wav"), WaveAt(22050, 2000))));
    media.Play(MediaAlias::Sound);
    EXPECT_TRUE(media.IsPlaying(MediaAlias::Sound));
}

// Holds the audio thread inside its mixing (with the device's lock) until released, as a piece whose
// rendering never ends would.
class Blocker final : public VoiceMix {
  public:
    void MixInto(std::int16_t*, int, int, int) override {
        Inside = true;
        while (!Released)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::atomic<bool> Inside = false, Released = false;
};

TEST_F(SdlMediaTest, TheWindowNeverWaitsForAnAudioThreadThatFellBehind) {
    SdlMedia media;
    QStringList told;
    media.OnNotice([&](const QString& line) { told << line; });
    ASSERT_TRUE(media.Open(MediaAlias::Midi, Write(QStringLiteral("a.mid"), Midi())));
    media.Play(MediaAlias::Midi);
    ASSERT_TRUE(media.Settle(std::chrono::seconds(10)));
    Blocker blocker;
    ASSERT_TRUE(media.AttachVoice(&blocker));
    ASSERT_TRUE(test::WaitFor([&] { return blocker.Inside.load(); }, 5000));

    // Switching pieces, stopping and effects all return while the audio thread is still held.
    ASSERT_TRUE(media.Open(MediaAlias::Midi, Write(QStringLiteral("b.mid"), Midi())));
    media.Play(MediaAlias::Midi);
    ASSERT_TRUE(media.Open(MediaAlias::Sound, Write(QStringLiteral("a.wav"), Wave())));
    media.Play(MediaAlias::Sound);
    media.SetVolume(MediaAlias::Midi, 50);
    EXPECT_FALSE(blocker.Released.load());
    // Soon the piece counts as one that cannot be played in time: it stops, and that is said once.
    EXPECT_TRUE(test::WaitFor([&] { return !told.isEmpty(); }, 10000));
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Midi));
    EXPECT_FALSE(media.Open(MediaAlias::Midi, QDir(Folder.path()).filePath(QStringLiteral("b.mid"))))
        << "not played again this run";
    QTest::qWait(int(2 * SdlMedia::kStallLimit.count()));
    EXPECT_EQ(1, told.size()) << told.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(told.value(0).contains(QStringLiteral("music")));

    blocker.Released = true;
    media.DetachVoice(&blocker);
    // Once the device mixes again, other pieces play.
    ASSERT_TRUE(test::WaitFor(
        [&] { return media.Open(MediaAlias::Midi, QDir(Folder.path()).filePath(QStringLiteral("a.mid"))); }));
    media.Play(MediaAlias::Midi);
    EXPECT_TRUE(media.IsPlaying(MediaAlias::Midi));
    EXPECT_TRUE(media.Settle(std::chrono::seconds(10)));
}

TEST_F(SdlMediaTest, WithoutASoundfontMusicSaysSoAndEffectsStillPlay) {
    SdlMedia media(QStringList{QDir(Folder.path()).filePath(QStringLiteral("missing.sf2"))});
    ASSERT_TRUE(media.Open(MediaAlias::Sound, Write(QStringLiteral("a.wav"), Wave())));
    EXPECT_TRUE(media.Problem().startsWith(QStringLiteral("No music:"))) << media.Problem().toStdString();
    EXPECT_TRUE(media.Problem().contains(QStringLiteral("timgm6mb-soundfont")));
}

TEST_F(SdlMediaTest, WithoutADeviceNothingOpensAndProblemSaysWhy) {
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlMedia media;
    EXPECT_FALSE(media.Open(MediaAlias::Sound, Write(QStringLiteral("a.wav"), Wave())));
    media.Play(MediaAlias::Sound);
    media.SetVolume(MediaAlias::Midi, 40);
    EXPECT_FALSE(media.IsPlaying(MediaAlias::Sound));
    EXPECT_TRUE(media.Problem().startsWith(QStringLiteral("No sound:"))) << media.Problem().toStdString();
}

} // namespace
} // namespace gr::test
