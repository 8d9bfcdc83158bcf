// The partner's voice on its way to the device: decoded, bounded, and as loud as the player wants it.
#include <gtest/gtest.h>
#include <opus.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "voice/VoiceAudio.h"
#include "support/Fakes.h"

namespace gr::test {
namespace {

// One 20 ms frame of a loud 440 Hz tone, encoded as a partner would.
std::string TonePacket() {
    int error = 0;
    OpusEncoder* encoder = opus_encoder_create(VoiceAudio::kRate, 1, OPUS_APPLICATION_VOIP, &error);
    std::vector<opus_int16> pcm(VoiceAudio::kFrameSamples);
    for (int i = 0; i < VoiceAudio::kFrameSamples; ++i)
        pcm[std::size_t(i)] = opus_int16(16000 * std::sin(2 * M_PI * 440 * i / VoiceAudio::kRate));
    unsigned char out[1275];
    std::string packet;
    // A few frames in, so that the encoder is past its start.
    for (int n = 0; n < 5; ++n) {
        const int size = opus_encode(encoder, pcm.data(), VoiceAudio::kFrameSamples, out, sizeof out);
        packet.assign(reinterpret_cast<const char*>(out), std::size_t(size));
    }
    opus_encoder_destroy(encoder);
    return packet;
}

// The loudest sample of what the voice adds to a silent stereo buffer at 44.1 kHz.
int LoudestMixed(VoiceAudio& voice, int frames = 441) {
    std::vector<std::int16_t> buffer(std::size_t(frames) * 2, 0);
    voice.MixInto(buffer.data(), frames, 2, 44100);
    int loudest = 0;
    for (std::int16_t s : buffer)
        loudest = std::max(loudest, std::abs(int(s)));
    return loudest;
}

TEST(VoiceAudio, ThePartnerIsAsLoudAsThePlayerWants) {
    const std::string packet = TonePacket();
    // The same packets at each level; the loudest sample, relative to full volume.
    auto loudest = [&](int volume, bool muted) {
        FakeMedia device(QStringLiteral("/nowhere"));
        VoiceAudio voice(device);
        voice.SetVolume(volume);
        voice.SetMuted(muted);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(voice.Play(packet));
        LoudestMixed(voice); // past the decoder's start
        return LoudestMixed(voice);
    };
    const int full = loudest(100, false);
    EXPECT_GT(full, 1000);
    const struct {
        int volume;
        bool muted;
        double share; // of full volume
    } cases[] = {{50, false, 0.5}, {25, false, 0.25}, {0, false, 0}, {100, true, 0}, {25, true, 0}};
    for (const auto& c : cases)
        EXPECT_NEAR(c.share * full, loudest(c.volume, c.muted), 0.05 * full)
            << c.volume << (c.muted ? " muted" : "");
}

TEST(VoiceAudio, APartnerFasterThanRealTimeCannotGrowTheQueue) {
    FakeMedia device(QStringLiteral("/nowhere"));
    VoiceAudio voice(device);
    EXPECT_FALSE(voice.Problem().isEmpty()) << "no device is said";
    const std::string packet = TonePacket();
    for (int i = 0; i < 500; ++i)
        voice.Play(packet); // ten seconds at once
    EXPECT_LE(voice.Queued(), std::size_t(VoiceAudio::kRate / 2));
    EXPECT_GT(voice.Queued(), 0u);
}

TEST(VoiceAudio, PacketsThatDoNotDecodeAreRefused) {
    FakeMedia device(QStringLiteral("/nowhere"));
    VoiceAudio voice(device);
    // A code byte asking for more frames than a packet can hold.
    EXPECT_FALSE(voice.Play(std::string("\x03\xff", 2)));
    EXPECT_EQ(0u, voice.Queued());
}

} // namespace
} // namespace gr::test
