// Voice between two clients on loopback through the real audio path: SDL's disk driver reads the talking
// side's microphone from a file and writes what the listening side's device plays into another, so the
// tone that goes in must come out at the same pitch; and the delay from a captured frame to its playing.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <iostream>

#include "app/App.h"
#include "voice/VoiceChat.h"
#include "sound/SdlMedia.h"
#include "voice/VoiceAudio.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

constexpr double kTone = 440.0;

// Three seconds of the tone as the capture device reads it: 16-bit mono at 48 kHz.
QByteArray Spoken() {
    QByteArray data;
    for (int i = 0; i < VoiceAudio::kRate * 3; ++i) {
        const auto v = qint16(12000 * std::sin(2 * M_PI * kTone * i / VoiceAudio::kRate));
        data.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
    }
    return data;
}

class VoiceEndToEnd : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Played = QDir(Home.path()).filePath(QStringLiteral("played.raw"));
        const QString spoken = QDir(Home.path()).filePath(QStringLiteral("spoken.raw"));
        QFile f(spoken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Spoken());
        f.close();
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(Played));
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(spoken));
        Port = WriteVoiceDeployment();
    }
    void TearDown() override {
        qputenv("SDL_AUDIODRIVER", "dummy");
        qunsetenv("SDL_DISKAUDIOFILE");
        qunsetenv("SDL_DISKAUDIOFILEIN");
        GameFixture::TearDown();
    }
    void BeforeGame() override { PresetSetting(QStringLiteral("Voice Chat"), QStringLiteral("1")); }
    quint16 Port = 0;
    QString Played;
};

// The pitch of 16-bit samples at the given rate (first channel): the median period between rising zero
// crossings in the loud stretches (a gap where the network was late does not count as a long period);
// 0 when nothing is loud.
double Pitch(const QByteArray& raw, int rate, int channels, int* loudest) {
    std::vector<double> s;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2 * channels)
        s.push_back(qFromLittleEndian<qint16>(raw.constData() + i));
    *loudest = 0;
    for (double v : s)
        *loudest = std::max(*loudest, int(std::abs(v)));
    std::vector<double> periods;
    double previous = -1;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (!(s[i - 1] < 0 && s[i] >= 0)) continue;
        const double at = double(i - 1) + s[i - 1] / (s[i - 1] - s[i]); // where the line crosses zero
        const bool loud = std::abs(s[std::min(i + std::size_t(rate / 1760), s.size() - 1)]) > *loudest / 4;
        if (previous >= 0 && loud) periods.push_back(at - previous);
        previous = loud ? at : -1;
    }
    if (periods.size() < 10) return 0;
    std::nth_element(periods.begin(), periods.begin() + long(periods.size() / 2), periods.end());
    return rate / periods[periods.size() / 2];
}

TEST_F(VoiceEndToEnd, TheTalkersToneIsHeardAtItsPitchAndSoon) {
    Game& g = Entered();
    ASSERT_TRUE(g.TCPSocket->IsListening());
    Type(QStringLiteral("/voicechat Ann")); // Aldric asks Ann
    {
        // Ann's client, told by the server, calls Aldric back at the address it announced.
        SdlMedia annDevice;
        VoiceChatSocket ann;
        ann.SetOwnName(QStringLiteral("Ann"));
        ann.SetOutput([&]() -> Media& { return annDevice; });
        ann.Connect(QStringLiteral("127.0.0.1"), Port, QStringLiteral("Aldric"));
        ASSERT_TRUE(WaitFor([&] { return ann.IsOpen() && g.TCPSocket->IsOpen(); }));
        EXPECT_TRUE(g.CmdTalk->isVisibleTo(&g));
        ASSERT_NE(nullptr, g.TCPSocket->Audio());
        EXPECT_TRUE(g.TCPSocket->Audio()->Problem().isEmpty())
            << g.TCPSocket->Audio()->Problem().toStdString();

        ann.Talk(true);
        ASSERT_TRUE(ann.Talking()) << ann.Audio()->Problem().toStdString();
        EXPECT_TRUE(WaitFor([&] { return g.CmdTalk->text() == QStringLiteral("Ann talks"); }))
            << "Aldric sees who talks";
        QTest::qWait(1500);
        const std::int64_t captured = ann.Audio()->FirstCapturedNs();
        const std::int64_t mixed = g.TCPSocket->Audio()->FirstMixedNs();
        const std::int64_t buffer = g.TCPSocket->Audio()->DeviceBufferNs();
        ann.Talk(false);
        EXPECT_TRUE(WaitFor([&] { return g.CmdTalk->text() == QStringLiteral("Talk"); }));
        ASSERT_GT(captured, 0);
        ASSERT_GT(mixed, captured);
        const double delayMs = double(mixed - captured + buffer) / 1e6;
        std::cout << "voice delay from captured frame to played frame: " << delayMs << " ms (of which "
                  << double(buffer) / 1e6 << " ms the output device's buffer)\n";
        RecordProperty("voice_delay_ms", int(delayMs)); // a figure to read, not a timed check
    }
    EXPECT_TRUE(WaitFor([&] { return !g.TCPSocket->IsOpen(); })) << "Ann's side went away";
    EXPECT_TRUE(Text().contains(QStringLiteral("Voicechat with Ann has ended")));
    lodge.reset();
    app->AudioDevice.reset(); // the file is complete
    QFile f(Played);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int loudest = 0;
    const double pitch = Pitch(f.readAll(), 44100, 2, &loudest);
    EXPECT_GT(loudest, 2000) << "the tone is not silence";
    EXPECT_NEAR(kTone, pitch, kTone * 0.03);
}

} // namespace
} // namespace gr::test
