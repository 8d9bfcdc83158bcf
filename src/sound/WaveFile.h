#pragma once
// The header of a wave effect, read whole before the mixer sees the file: the format of its samples and
// where they lie. Only plain PCM in the shapes effects are made in passes, at rates where the mixer's
// conversion to the device's rate stays small; the mixer is then given a header written afresh from what
// was read (CanonicalWave), so no field that was not checked ever reaches it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gr {

// The rate the audio device plays at; the mixer converts every effect to it when loading.
constexpr unsigned kOutputRate = 44100;

// Sample rates of real effects: 8000 Hz is telephone quality, the lowest rate in use; 96000 Hz the highest
// that recording equipment stores. A rate far below the device's makes the mixer's conversion multiply the
// size of the samples many times over (and its size arithmetic wrap); a rate far above only adds work.
constexpr unsigned kMinWaveRate = 8000;
constexpr unsigned kMaxWaveRate = 96000;

// The most bytes of samples the mixer holds for one effect, both as stored in the file and as decoded at
// the device's rate (16-bit stereo): over three minutes of sound, longer than any effect, and a bound on
// what a small file at a low rate can make the mixer allocate.
constexpr std::size_t kMaxWaveBytes = 32u << 20;

struct WaveFormat {
    unsigned Channels = 0;      // 1 or 2
    unsigned Rate = 0;          // frames a second
    unsigned Bits = 0;          // 8 or 16 a sample
    std::size_t DataOffset = 0; // where the samples start in the file
    std::size_t DataBytes = 0;  // whole frames only: a partial frame at the end is left out

    bool operator==(const WaveFormat&) const = default;
};

// The format of a wave effect the mixer may be given, or nothing. outputRate: the rate the device plays at
// (the decoded size is bounded at that rate).
std::optional<WaveFormat> ReadWave(std::string_view bytes, unsigned outputRate = kOutputRate);

// A wave file made only of what ReadWave read: a 44-byte header (RIFF, WAVE, a 16-byte "fmt " chunk of PCM
// with the checked channels, rate and bits, block align and byte rate computed from them, "data") followed
// by the samples. `format` is what ReadWave returned for `bytes`.
std::string CanonicalWave(const WaveFormat& format, std::string_view bytes);

} // namespace gr
