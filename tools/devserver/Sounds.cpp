#include "devserver/Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace gr::dev {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Samples as -1 to 1, mixed into a buffer of a fixed length.
using Samples = std::vector<double>;

Samples Silence(double seconds) {
    return Samples(std::size_t(seconds * kSoundRate), 0.0);
}

// A tone of decaying partials starting at `at` seconds: each partial is frequency ratio and loudness.
struct Partial {
    double Ratio = 1;
    double Level = 1;
};
template <std::size_t N>
void AddTone(Samples& out, double at, double frequency, double decay, double attack,
             const std::array<Partial, N>& partials) {
    const std::size_t start = std::size_t(at * kSoundRate);
    for (std::size_t i = start; i < out.size(); ++i) {
        const double t = double(i - start) / kSoundRate;
        const double envelope = std::min(1.0, t / attack) * std::exp(-t / decay);
        if (envelope < 1e-4 && t > attack) break;
        double value = 0;
        for (const Partial& p : partials)
            value += p.Level * std::sin(2 * kPi * frequency * p.Ratio * t);
        out[i] += envelope * value;
    }
}

// A short burst of noise, for the hit of a knock or the edge of a clink; a fixed seed keeps it the same
// every time.
void AddNoise(Samples& out, double at, double seconds, double level, std::uint32_t seed) {
    const std::size_t start = std::size_t(at * kSoundRate);
    const std::size_t length = std::size_t(seconds * kSoundRate);
    double low = 0; // a little smoothing takes off the hiss
    for (std::size_t i = start; i < out.size() && i < start + length; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double white = double(seed >> 8) / double(1u << 24) * 2 - 1;
        low += (white - low) * 0.35;
        out[i] += level * low * (1 - double(i - start) / double(length));
    }
}

// Three knocks on a wooden door: low, hollow thuds with a dull hit at the start.
Samples Door() {
    Samples out = Silence(0.62);
    constexpr std::array<Partial, 3> kWood = {{{1, 1}, {1.6, 0.5}, {2.9, 0.2}}};
    for (const double at : {0.0, 0.2, 0.36}) {
        AddTone(out, at, 110, 0.045, 0.002, kWood);
        AddNoise(out, at, 0.02, 0.6, 7u + std::uint32_t(at * 100));
    }
    return out;
}

// The tower's bronze bell: a strike and a long decaying hum of inharmonic partials.
Samples Bell() {
    Samples out = Silence(0.95);
    constexpr std::array<Partial, 5> kBronze = {
        {{0.5, 0.35}, {1, 1}, {1.19, 0.45}, {2.0, 0.3}, {2.76, 0.25}}};
    AddTone(out, 0, 523.25, 0.35, 0.004, kBronze);
    return out;
}

// The paging chime: two bright notes, a rising third.
Samples PageChime() {
    Samples out = Silence(0.5);
    constexpr std::array<Partial, 2> kChime = {{{1, 1}, {3, 0.15}}};
    AddTone(out, 0, 1046.5, 0.07, 0.003, kChime);
    AddTone(out, 0.14, 1318.5, 0.12, 0.003, kChime);
    return out;
}

// Coins dropped on a counter: a few high, quick clinks at uneven times.
Samples Coins() {
    Samples out = Silence(0.5);
    constexpr std::array<Partial, 3> kMetal = {{{1, 1}, {1.52, 0.6}, {2.37, 0.35}}};
    struct Clink {
        double At, Frequency, Level;
    };
    constexpr Clink kClinks[] = {
        {0, 3150, 1}, {0.07, 3900, 0.7}, {0.12, 2750, 0.8}, {0.21, 4400, 0.5}, {0.3, 3500, 0.35}};
    for (const Clink& c : kClinks) {
        Samples one = Silence(0.5);
        AddTone(one, c.At, c.Frequency, 0.03, 0.001, kMetal);
        AddNoise(one, c.At, 0.004, 0.5, std::uint32_t(c.Frequency));
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] += c.Level * one[i];
    }
    return out;
}

void Put16(std::string& bytes, unsigned value) {
    bytes += char(value & 0xff);
    bytes += char((value >> 8) & 0xff);
}
void Put32(std::string& bytes, std::uint32_t value) {
    Put16(bytes, value & 0xffff);
    Put16(bytes, value >> 16);
}

// The samples scaled so that the loudest reaches 80 % of full scale, as a WAV file.
std::string Wave(const Samples& samples) {
    double peak = 0;
    for (const double s : samples)
        peak = std::max(peak, std::abs(s));
    const double scale = peak > 0 ? 0.8 * 32767 / peak : 0;
    // The last 40 ms fade out, so that no effect ends on a click.
    const std::size_t fade = std::min(samples.size(), std::size_t(kSoundRate / 25));
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    std::string bytes;
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    Put32(bytes, 36 + dataBytes);
    bytes += "WAVEfmt ";
    Put32(bytes, 16);
    Put16(bytes, 1); // PCM
    Put16(bytes, 1); // mono
    Put32(bytes, kSoundRate);
    Put32(bytes, kSoundRate * 2); // bytes a second
    Put16(bytes, 2);              // bytes a sample
    Put16(bytes, 16);             // bits a sample
    bytes += "data";
    Put32(bytes, dataBytes);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::size_t left = samples.size() - i;
        const double gain = left < fade ? double(left - 1) / double(fade) : 1.0;
        const long value = std::lround(std::clamp(samples[i] * scale * gain, -32768.0, 32767.0));
        Put16(bytes, unsigned(value) & 0xffff);
    }
    return bytes;
}

} // namespace

std::string MakeSound(std::string_view name) {
    if (name == "door") return Wave(Door());
    if (name == "bell") return Wave(Bell());
    if (name == "pagerecieve") return Wave(PageChime());
    if (name == "coins") return Wave(Coins());
    return {};
}

} // namespace gr::dev
