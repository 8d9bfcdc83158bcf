#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "sound/WaveFile.h"

namespace gr {
namespace {

std::string Le(unsigned value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}
// A chunk: its id, its size, its body and the pad byte after a body of odd size.
std::string Chunk(const std::string& id, const std::string& body) {
    return id + Le(unsigned(body.size()), 4) + body + std::string(body.size() % 2, '\0');
}
std::string Riff(const std::string& chunks) {
    return "RIFF" + Le(unsigned(4 + chunks.size()), 4) + "WAVE" + chunks;
}
// The body of a "fmt " chunk as it is written: tag, channels, rate, byte rate, block align, bits.
std::string Format(unsigned tag, unsigned channels, unsigned rate, unsigned bits,
                   unsigned blockAlign = 0xffff'ffff) {
    if (blockAlign == 0xffff'ffff) blockAlign = channels * bits / 8;
    return Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * blockAlign, 4) + Le(blockAlign, 2) +
           Le(bits, 2);
}
std::string Pcm(unsigned channels, unsigned rate, unsigned bits) {
    return Format(1, channels, rate, bits);
}
const std::string kPcmGuid("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 16);
const std::string kALawGuid("\x06\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 16);
std::string Extensible(unsigned channels, unsigned rate, unsigned bits, const std::string& subFormat) {
    return Format(0xfffe, channels, rate, bits) + Le(22, 2) + Le(bits, 2) + Le(3, 4) + subFormat;
}
// A plain file: the format, then the samples.
std::string Wave(unsigned channels, unsigned rate, unsigned bits, const std::string& samples) {
    return Riff(Chunk("fmt ", Pcm(channels, rate, bits)) + Chunk("data", samples));
}

struct Case {
    const char* what;
    std::string bytes;
    std::optional<WaveFormat> format;
};

// Files that effects come in, with the format and samples read from each.
std::vector<Case> GoodFiles() {
    const std::string eight(8, 'a');
    return {
        {"16-bit mono at 22050 Hz", Wave(1, 22050, 16, eight), WaveFormat{1, 22050, 16, 44, 8}},
        {"8-bit stereo at 11025 Hz", Wave(2, 11025, 8, "abcdef"), WaveFormat{2, 11025, 8, 44, 6}},
        {"the lowest rate", Wave(1, kMinWaveRate, 8, "a"), WaveFormat{1, kMinWaveRate, 8, 44, 1}},
        {"the highest rate", Wave(2, kMaxWaveRate, 16, eight), WaveFormat{2, kMaxWaveRate, 16, 44, 8}},
        {"extensible PCM", Riff(Chunk("fmt ", Extensible(2, 48000, 16, kPcmGuid)) + Chunk("data", eight)),
         WaveFormat{2, 48000, 16, 68, 8}},
        {"a format chunk with its extra size",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16) + Le(0, 2)) + Chunk("data", eight)),
         WaveFormat{1, 22050, 16, 46, 8}},
        {"tags and a fact chunk before the samples",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + Chunk("fact", Le(4, 4)) +
              Chunk("LIST", "INFOINAM" + Le(5, 4) + "door") + Chunk("data", eight)),
         WaveFormat{1, 22050, 16, 80, 8}},
        {"a chunk of odd size and its pad byte",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + Chunk("junk", "abc") + Chunk("data", eight)),
         WaveFormat{1, 22050, 16, 56, 8}},
        {"a chunk after the samples",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + Chunk("data", eight) + Chunk("cue ", "x")),
         WaveFormat{1, 22050, 16, 44, 8}},
        {"a partial frame at the end is left out", Wave(2, 22050, 16, std::string(11, 'a')),
         WaveFormat{2, 22050, 16, 44, 8}},
        {"8-bit mono of odd length", Wave(1, 8000, 8, "abc"), WaveFormat{1, 8000, 8, 44, 3}},
        {"a RIFF size left at zero by a streaming writer",
         "RIFF" + Le(0, 4) + Wave(1, 22050, 16, eight).substr(8), WaveFormat{1, 22050, 16, 44, 8}},
    };
}

TEST(WaveFile, ReadsTheFormatOfPlainPcm) {
    for (const Case& c : GoodFiles())
        EXPECT_EQ(c.format, ReadWave(c.bytes)) << c.what;
}

TEST(WaveFile, RefusesWhatTheMixerShouldNotBeGiven) {
    const std::string eight(8, 'a');
    std::string pastTheEnd = Wave(1, 22050, 16, eight);
    pastTheEnd[40] = 9; // the data chunk says one byte more than the file holds
    std::string manyChunks;
    for (int i = 0; i < 1000; ++i)
        manyChunks += Chunk("junk", "");
    const std::vector<Case> cases = {
        {"1 Hz", Wave(1, 1, 16, eight), std::nullopt},
        {"a rate of zero", Wave(1, 0, 16, eight), std::nullopt},
        {"below the lowest rate", Wave(1, kMinWaveRate - 1, 16, eight), std::nullopt},
        {"above the highest rate", Wave(1, kMaxWaveRate + 1, 16, eight), std::nullopt},
        {"no channels", Wave(0, 22050, 16, eight), std::nullopt},
        {"three channels", Wave(3, 22050, 16, std::string(12, 'a')), std::nullopt},
        {"12-bit samples", Wave(1, 22050, 12, eight), std::nullopt},
        {"24-bit samples", Wave(1, 22050, 24, std::string(9, 'a')), std::nullopt},
        {"floating point", Riff(Chunk("fmt ", Format(3, 1, 22050, 32)) + Chunk("data", eight)), std::nullopt},
        {"compressed", Riff(Chunk("fmt ", Format(2, 1, 22050, 4, 256)) + Chunk("data", eight)), std::nullopt},
        {"extensible A-law", Riff(Chunk("fmt ", Extensible(1, 8000, 8, kALawGuid)) + Chunk("data", eight)),
         std::nullopt},
        {"extensible without its sub-format",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16).replace(0, 2, Le(0xfffe, 2)) + Le(0, 2)) +
              Chunk("data", eight)),
         std::nullopt},
        {"a block align that does not match",
         Riff(Chunk("fmt ", Format(1, 1, 22050, 16, 4)) + Chunk("data", eight)), std::nullopt},
        {"the samples past the end of the file", pastTheEnd, std::nullopt},
        {"the file cut inside the samples", Wave(1, 22050, 16, eight).substr(0, 50), std::nullopt},
        {"a chunk past the end of the file",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + "LIST" + Le(100, 4) + "INFO" + Chunk("data", eight)),
         std::nullopt},
        {"no format", Riff(Chunk("data", eight)), std::nullopt},
        {"the format after the samples", Riff(Chunk("data", eight) + Chunk("fmt ", Pcm(1, 22050, 16))),
         std::nullopt},
        {"two formats",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + Chunk("fmt ", Pcm(2, 22050, 16)) + Chunk("data", eight)),
         std::nullopt},
        {"a format too short", Riff(Chunk("fmt ", Pcm(1, 22050, 16).substr(0, 14)) + Chunk("data", eight)),
         std::nullopt},
        {"no samples", Wave(1, 22050, 16, ""), std::nullopt},
        {"less than a frame", Wave(2, 22050, 16, "abc"), std::nullopt},
        {"no data chunk", Riff(Chunk("fmt ", Pcm(1, 22050, 16))), std::nullopt},
        {"a thousand chunks before the samples",
         Riff(Chunk("fmt ", Pcm(1, 22050, 16)) + manyChunks + Chunk("data", eight)), std::nullopt},
        {"not a wave", "RIFF" + Le(4, 4) + "AVI " + Chunk("fmt ", Pcm(1, 22050, 16)), std::nullopt},
        {"the header cut", Wave(1, 22050, 16, eight).substr(0, 19), std::nullopt},
        {"an error page", "<html><body>Not Found</body></html>", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.format, ReadWave(c.bytes)) << c.what;
}

// The samples are bounded as stored and as decoded at the device's rate (16-bit stereo, 4 bytes a frame).
TEST(WaveFile, SamplesWithinTheMixersMemory) {
    // A thousand frames of 8-bit mono at 8000 Hz decode to the bound exactly at this output rate.
    const std::string small = Wave(1, 8000, 8, std::string(1000, 'a'));
    const unsigned fullAt = unsigned(kMaxWaveBytes / 4 * 8000 / 1000);
    EXPECT_TRUE(ReadWave(small, fullAt));
    EXPECT_FALSE(ReadWave(small, fullAt + 1));

    // At the device's rate: over three minutes at the lowest rate decode past the bound, though the file
    // itself is under two megabytes.
    EXPECT_TRUE(ReadWave(Wave(1, 8000, 8, std::string(60 * 8000, 'a'))));
    EXPECT_FALSE(ReadWave(Wave(1, 8000, 8, std::string(200 * 8000, 'a'))));

    // At the highest rate the decoded samples are fewer than the stored ones; those are bounded too.
    EXPECT_TRUE(ReadWave(Wave(2, kMaxWaveRate, 16, std::string(kMaxWaveBytes, 'a'))));
    EXPECT_FALSE(ReadWave(Wave(2, kMaxWaveRate, 16, std::string(kMaxWaveBytes + 4, 'a'))));
}

TEST(WaveFile, CanonicalFileHoldsOnlyWhatWasRead) {
    for (const Case& c : GoodFiles()) {
        SCOPED_TRACE(c.what);
        const auto format = ReadWave(c.bytes);
        ASSERT_TRUE(format);
        const std::string canonical = CanonicalWave(*format, c.bytes);
        const std::string samples = c.bytes.substr(format->DataOffset, format->DataBytes);
        // A plain header written from the checked fields alone, the samples, and their pad byte if odd.
        EXPECT_EQ(Wave(format->Channels, format->Rate, format->Bits, samples), canonical);
        WaveFormat again = *format;
        again.DataOffset = 44;
        EXPECT_EQ(again, ReadWave(canonical));
        EXPECT_EQ(canonical, CanonicalWave(again, canonical));
    }
}

} // namespace
} // namespace gr
