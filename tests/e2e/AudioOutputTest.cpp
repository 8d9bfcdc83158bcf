// Sound and music through the real audio path: SDL's disk driver writes what it would play into a file,
// so a "Sound" or "Music" message must leave samples that are not silence (the music through the MIDI
// player and its soundfont).
#include <QAction>
#include <QDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

#include "support/GameFixture.h"

namespace gr::test {
namespace {

// A short 440 Hz tone: 16-bit mono PCM at 22050 Hz.
QByteArray Tone() {
    constexpr int rate = 22050, samples = rate / 3;
    QByteArray data;
    for (int i = 0; i < samples; ++i) {
        const auto v = qint16(12000 * std::sin(2 * M_PI * 440 * i / rate));
        data.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    auto le32 = [](quint32 v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    auto le16 = [](quint16 v) {
        QByteArray b(2, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    return "RIFF" + le32(quint32(36 + data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
           le32(rate * 2) + le16(2) + le16(16) + "data" + le32(quint32(data.size())) + data;
}

// One track: a piano chord held for two beats, or for a sixteenth when short.
QByteArray Tune(bool isShort = false) {
    static const char bytes[] = "\x00\xc0\x00"                                         // piano
                                "\x00\x90\x3c\x64\x00\x90\x40\x64\x00\x90\x43\x64"     // C, E, G on
                                "\x81\x40\x80\x3c\x00\x00\x80\x40\x00\x00\x80\x43\x00" // off after 192 ticks
                                "\x00\xff\x2f\x00";                                    // end of track
    QByteArray events(bytes, sizeof bytes - 1);
    if (isShort) events.replace(15, 2, QByteArray("\x18", 1)); // 24 ticks instead of 192
    QByteArray length(4, '\0');
    qToBigEndian(quint32(events.size()), length.data());
    return QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + length + events;
}

class AudioOutput : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Output = QDir(Home.path()).filePath(QStringLiteral("played.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(Output));
    }
    void TearDown() override {
        qputenv("SDL_AUDIODRIVER", "dummy");
        qunsetenv("SDL_DISKAUDIOFILE");
        GameFixture::TearDown();
    }
    void Place(const QString& file, const QByteArray& bytes) {
        QFile f(QDir(Home.path()).filePath(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Lets the device play for a while, closes it (so the file is complete) and returns the loudest sample
    // of the last part of what was written (from the fraction `from` of the file on).
    int Loudest(int ms, double from = 0) {
        QTest::qWait(ms);
        lodge.reset(); // the game window and its sound player go first
        app->AudioDevice.reset();
        QFile f(Output);
        if (!f.open(QIODevice::ReadOnly)) return -1;
        const QByteArray raw = f.readAll();
        int loudest = 0;
        for (qsizetype i = qsizetype(raw.size() * from) & ~qsizetype(3); i + 1 < raw.size(); i += 2)
            loudest = std::max(loudest, std::abs(int(qFromLittleEndian<qint16>(raw.constData() + i))));
        return loudest;
    }
    QString Output;
};

TEST_F(AudioOutput, ASoundMessageIsHeard) {
    PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
    Entered();
    Place(QStringLiteral("sounds/tone.wav"), Tone());
    Tick({"Soundtone"});
    EXPECT_FALSE(Text().contains(QStringLiteral("No sound"))) << Text().toStdString();
    EXPECT_GT(Loudest(800), 2000);
}

TEST_F(AudioOutput, AMusicMessageIsHeardThroughTheSoundfont) {
    PresetSetting(QStringLiteral("Music"), QStringLiteral("1"));
    Entered();
    Place(QStringLiteral("music/chord.mid"), Tune());
    Tick({"Musicchord"});
    EXPECT_FALSE(Text().contains(QStringLiteral("No music"))) << Text().toStdString();
    EXPECT_GT(Loudest(1200), 500);
}

TEST_F(AudioOutput, MusicLoops) {
    PresetSetting(QStringLiteral("Music"), QStringLiteral("1"));
    Entered();
    Place(QStringLiteral("music/blip.mid"), Tune(true)); // an eighth of a second long
    Tick({"Musicblip"});
    EXPECT_GT(Loudest(1500, 0.75), 500) << "still playing in the last part of a second and a half";
}

TEST_F(AudioOutput, EffectsAtVolumeOffAreSilent) {
    PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
    PresetSetting(QStringLiteral("Sound_Volume"), QStringLiteral("0"));
    Entered();
    Place(QStringLiteral("sounds/tone.wav"), Tone());
    Tick({"Soundtone"});
    const int loudest = Loudest(800);
    EXPECT_GE(loudest, 0) << "the device wrote its file";
    EXPECT_LT(loudest, 50);
}

} // namespace
} // namespace gr::test
