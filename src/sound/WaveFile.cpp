#include "sound/WaveFile.h"

#include <cstdint>

namespace gr {

namespace {

constexpr unsigned kPcm = 1;
constexpr unsigned kExtensible = 0xFFFE;
// The sub-format of an extensible format chunk that means plain PCM (a GUID as stored in the file).
constexpr std::string_view kPcmSubFormat{"\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71",
                                         16};
// A format chunk: tag, channels, rate, byte rate, block align, bits; an extensible one goes on with its
// extra size, valid bits, channel mask and sub-format.
constexpr std::size_t kFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;
constexpr std::size_t kCanonicalHeaderBytes = 44;

// Real files hold a handful of chunks before their samples (format, fact, a LIST of tags, a broadcast
// extension); a file of thousands of empty chunks is not an effect.
constexpr int kMaxWaveChunks = 64;

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

void PutLittle(std::string& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The sample format of a "fmt " chunk, when the mixer may be given it. The byte rate the file states is
// not read: the canonical header computes it.
std::optional<WaveFormat> ReadFormat(std::string_view chunk) {
    if (chunk.size() < kFormatBytes) return std::nullopt;
    const unsigned tag = Little(chunk, 0, 2);
    const bool pcm = tag == kPcm || (tag == kExtensible && chunk.size() >= kExtensibleFormatBytes &&
                                     chunk.substr(24, 16) == kPcmSubFormat);
    WaveFormat format;
    format.Channels = Little(chunk, 2, 2);
    format.Rate = Little(chunk, 4, 4);
    format.Bits = Little(chunk, 14, 2);
    const unsigned blockAlign = Little(chunk, 12, 2);
    // Mono or stereo, 8- or 16-bit: the shapes effects are made in, and the sample formats the mixer
    // converts from directly to the device's 16-bit stereo; wider or odd samples only open conversion paths
    // that no effect needs.
    if (!pcm || (format.Channels != 1 && format.Channels != 2) || (format.Bits != 8 && format.Bits != 16) ||
        blockAlign != format.Channels * format.Bits / 8 || format.Rate < kMinWaveRate ||
        format.Rate > kMaxWaveRate)
        return std::nullopt;
    return format;
}

// Completes `format` with the samples of a data chunk of `size` bytes at `at`, when they are at least one
// frame and, stored and decoded at the device's rate, within kMaxWaveBytes.
std::optional<WaveFormat> WithSamples(WaveFormat format, std::size_t at, std::size_t size,
                                      unsigned outputRate) {
    const std::size_t frameBytes = format.Channels * format.Bits / 8;
    const std::uint64_t frames = size / frameBytes;
    // Decoded: frames * outputRate / Rate frames of 16-bit stereo. The stored size is checked first, so
    // frames is below 2^23 and the product below 2^55.
    constexpr std::uint64_t kMaxDecodedFrames = kMaxWaveBytes / 4;
    if (frames == 0 || size > kMaxWaveBytes || frames * outputRate > kMaxDecodedFrames * format.Rate)
        return std::nullopt;
    format.DataOffset = at;
    format.DataBytes = frames * frameBytes;
    return format;
}

} // namespace

std::optional<WaveFormat> ReadWave(std::string_view bytes, unsigned outputRate) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return std::nullopt;
    // The size after "RIFF" is not read: writers that stream often leave it wrong, and the canonical header
    // states the true one.
    std::optional<WaveFormat> format; // from the "fmt " chunk, once read
    std::size_t at = 12;
    for (int chunk = 0; chunk < kMaxWaveChunks; ++chunk) {
        if (bytes.size() - at < 8) return std::nullopt;
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t size = Little(bytes, at + 4, 4);
        at += 8;
        if (size > bytes.size() - at) return std::nullopt; // a chunk past the end of the file
        if (id == "data") return format ? WithSamples(*format, at, size, outputRate) : std::nullopt;
        if (id == "fmt ") {
            if (format) return std::nullopt; // a second format: which one would the mixer believe?
            format = ReadFormat(bytes.substr(at, size));
            if (!format) return std::nullopt;
        }
        at += size + size % 2; // a chunk of odd size is followed by a pad byte
        if (at > bytes.size()) return std::nullopt;
    }
    return std::nullopt;
}

std::string CanonicalWave(const WaveFormat& format, std::string_view bytes) {
    const std::string_view samples = bytes.substr(format.DataOffset, format.DataBytes);
    const std::uint32_t blockAlign = format.Channels * format.Bits / 8;
    const std::size_t pad = samples.size() % 2;
    std::string out = "RIFF";
    out.reserve(kCanonicalHeaderBytes + samples.size() + pad);
    PutLittle(out, static_cast<std::uint32_t>(kCanonicalHeaderBytes - 8 + samples.size() + pad), 4);
    out += "WAVEfmt ";
    PutLittle(out, kFormatBytes, 4);
    PutLittle(out, kPcm, 2);
    PutLittle(out, format.Channels, 2);
    PutLittle(out, format.Rate, 4);
    PutLittle(out, format.Rate * blockAlign, 4);
    PutLittle(out, blockAlign, 2);
    PutLittle(out, format.Bits, 2);
    out += "data";
    PutLittle(out, static_cast<std::uint32_t>(samples.size()), 4);
    out += samples;
    out.append(pad, '\0');
    return out;
}

} // namespace gr
