// The real media control under SDL's dummy driver: what it opens and plays, and the one line that says
// why nothing can be heard when there is no device or no soundfont.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/SdlMedia.h"

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
        QByteArray bytes("RIFF\x2c\x10\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\x10\0\0",
                         44);
        return bytes + QByteArray(0x1008, '\x20');
    }
    static QByteArray Midi() {
        return QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0c\0\x90\x3c\x40\x60\x80\x3c\0\0\xff\x2f\0", 34);
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
