// The local web host's sounds and music as files: every effect a well-formed, audible WAV under a second,
// every piece a well-formed format 0 MIDI file that a player can loop; each one its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devserver/Music.h"
#include "devserver/Sounds.h"

namespace gr::dev {
namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes.at(at + std::size_t(i)));
    return value;
}

std::uint32_t Big(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | std::uint8_t(bytes.at(at + std::size_t(i)));
    return value;
}

TEST(Sounds, EveryEffectIsAShortAudibleMonoWave) {
    for (const std::string_view name : kSoundNames) {
        SCOPED_TRACE(name);
        const std::string wav = MakeSound(name);
        ASSERT_GE(wav.size(), 44u);
        EXPECT_EQ(wav.substr(0, 4), "RIFF");
        EXPECT_EQ(Little(wav, 4, 4), wav.size() - 8);
        EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(Little(wav, 16, 4), 16u);
        EXPECT_EQ(Little(wav, 20, 2), 1u) << "PCM";
        EXPECT_EQ(Little(wav, 22, 2), 1u) << "mono";
        const std::uint32_t rate = Little(wav, 24, 4);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << rate;
        EXPECT_EQ(Little(wav, 28, 4), rate * 2);
        EXPECT_EQ(Little(wav, 32, 2), 2u);
        EXPECT_EQ(Little(wav, 34, 2), 16u);
        EXPECT_EQ(wav.substr(36, 4), "data");
        const std::uint32_t data = Little(wav, 40, 4);
        ASSERT_EQ(data, wav.size() - 44);
        ASSERT_EQ(data % 2, 0u);
        const double seconds = double(data / 2) / rate;
        EXPECT_GT(seconds, 0.1);
        EXPECT_LT(seconds, 1.0);

        double sumSquares = 0;
        int peak = 0;
        std::vector<int> samples;
        for (std::size_t at = 44; at < wav.size(); at += 2)
            samples.push_back(std::int16_t(Little(wav, at, 2)));
        for (const int s : samples) {
            peak = std::max(peak, std::abs(s));
            sumSquares += double(s) * s;
        }
        EXPECT_GT(peak, 16000) << "loud enough to hear";
        EXPECT_GT(std::sqrt(sumSquares / double(samples.size())), 1000.0) << "more than a single blip";
        EXPECT_LT(std::abs(samples.back()), 200) << "ends quietly, without a click";
        EXPECT_EQ(MakeSound(name), wav) << "the same bytes every time";
    }
}

TEST(Sounds, EffectsDifferAndUnknownNamesHaveNone) {
    for (std::size_t i = 0; i < kSoundNames.size(); ++i) {
        for (std::size_t j = i + 1; j < kSoundNames.size(); ++j)
            EXPECT_NE(MakeSound(kSoundNames[i]), MakeSound(kSoundNames[j]))
                << kSoundNames[i] << kSoundNames[j];
    }
    for (const std::string_view name :
         {"", "Door", "door ", "pagereceive", "../door", "door.wav", "Town", "town.mid"}) {
        EXPECT_TRUE(MakeSound(name).empty()) << name;
        EXPECT_TRUE(MakeMusic(name).empty()) << name;
    }
    EXPECT_TRUE(MakeMusic("door").empty());
    EXPECT_TRUE(MakeSound("town").empty());
}

// What a small MIDI reader finds in a file: nullopt when anything is malformed.
struct Midi {
    int Division = 0;
    std::uint32_t Tempo = 0; // microseconds a quarter note
    int Program = -1;
    std::vector<int> Keys; // in the order they sound
    std::uint32_t Ticks = 0;
};

std::optional<Midi> ReadMidi(const std::string& bytes) {
    if (bytes.size() < 22 || bytes.compare(0, 4, "MThd") != 0 || Big(bytes, 4, 4) != 6) return std::nullopt;
    if (Big(bytes, 8, 2) != 0 || Big(bytes, 10, 2) != 1) return std::nullopt; // format 0, one track
    Midi midi;
    midi.Division = int(Big(bytes, 12, 2));
    if (midi.Division == 0 || midi.Division & 0x8000) return std::nullopt;
    if (bytes.compare(14, 4, "MTrk") != 0 || Big(bytes, 18, 4) != bytes.size() - 22) return std::nullopt;
    std::size_t at = 22;
    auto byte = [&]() -> std::optional<int> {
        if (at >= bytes.size()) return std::nullopt;
        return std::uint8_t(bytes[at++]);
    };
    auto varLen = [&]() -> std::optional<std::uint32_t> {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto b = byte();
            if (!b) return std::nullopt;
            value = value << 7 | std::uint32_t(*b & 0x7f);
            if (!(*b & 0x80)) return value;
        }
        return std::nullopt;
    };
    int status = 0;
    std::vector<int> sounding;
    for (;;) {
        const auto delta = varLen();
        const auto first = byte();
        if (!delta || !first) return std::nullopt; // ran out before the end of track
        midi.Ticks += *delta;
        int data = *first;
        if (*first >= 0x80) {
            status = *first;
            if (status < 0xf0) {
                const auto next = byte();
                if (!next) return std::nullopt;
                data = *next;
            }
        } else if (status == 0 || status >= 0xf0) {
            return std::nullopt; // running status with no channel status before it
        }
        if (status == 0xff) {
            const auto type = byte();
            const auto length = varLen();
            if (!type || !length || *length > bytes.size() - at) return std::nullopt;
            const std::string body = bytes.substr(at, *length);
            at += *length;
            if (*type == 0x51) {
                if (body.size() != 3) return std::nullopt;
                midi.Tempo = Big(body, 0, 3);
            }
            if (*type == 0x2f) {
                // The end of track: empty, the last event, nothing left sounding.
                if (!body.empty() || at != bytes.size() || !sounding.empty()) return std::nullopt;
                return midi;
            }
            status = 0;
            continue;
        }
        if (status >= 0xf0) return std::nullopt; // no system exclusive messages here
        if (data >= 0x80) return std::nullopt;
        const int kind = status & 0xf0;
        if (kind == 0xc0 || kind == 0xd0) {
            if (kind == 0xc0) midi.Program = data;
            continue;
        }
        const auto second = byte();
        if (!second || *second >= 0x80) return std::nullopt;
        const bool on = kind == 0x90 && *second > 0;
        const bool off = kind == 0x80 || (kind == 0x90 && *second == 0);
        if (on) {
            if (std::find(sounding.begin(), sounding.end(), data) != sounding.end()) return std::nullopt;
            sounding.push_back(data);
            midi.Keys.push_back(data);
        } else if (off) {
            const auto it = std::find(sounding.begin(), sounding.end(), data);
            if (it == sounding.end()) return std::nullopt;
            sounding.erase(it);
        }
    }
}

TEST(Music, EveryPieceIsAFormat0FileThatLoops) {
    std::vector<Midi> pieces;
    for (const std::string_view name : kMusicNames) {
        SCOPED_TRACE(name);
        const std::string file = MakeMusic(name);
        const std::optional<Midi> midi = ReadMidi(file);
        ASSERT_TRUE(midi);
        EXPECT_GT(midi->Tempo, 0u) << "a tempo";
        EXPECT_GE(midi->Program, 0) << "an instrument";
        EXPECT_GE(midi->Keys.size(), 16u) << "a tune, not a note";
        // A few bars: between 4 and 60 seconds at the file's tempo.
        const double seconds = double(midi->Ticks) / midi->Division * midi->Tempo / 1e6;
        EXPECT_GT(seconds, 4.0);
        EXPECT_LT(seconds, 60.0);
        EXPECT_LT(file.size(), 4096u);
        EXPECT_EQ(MakeMusic(name), file);
        pieces.push_back(*midi);
    }
    // Each area sounds its own: another instrument and another tune.
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            EXPECT_NE(pieces[i].Program, pieces[j].Program);
            EXPECT_NE(pieces[i].Keys, pieces[j].Keys);
        }
    }
}

// The reader above refuses what a player's synthesiser would stumble on.
TEST(Music, ReaderOfTheseTestsRefusesBrokenFiles) {
    const std::string good = MakeMusic(kMusicNames[0]);
    ASSERT_TRUE(ReadMidi(good));
    std::string longer = good;
    longer[21] = char(longer[21] + 1); // track length one past the end
    std::string format1 = good;
    format1[9] = 1;
    std::string noEnd = good.substr(0, good.size() - 3);
    noEnd[21] = char(noEnd[21] - 3);
    std::string stuckNote = good;
    stuckNote[stuckNote.size() - 5] = 100; // the last note-off becomes a note-on
    for (const std::string& broken : {good.substr(0, good.size() - 1), longer, format1, noEnd, stuckNote,
                                      std::string("MThd"), good + '\0'})
        EXPECT_FALSE(ReadMidi(broken));
}

} // namespace
} // namespace gr::dev
