// A downloaded wave effect through our check into SDL2_mixer's loader, as the media thread hands it over
// (SdlMedia::OpenBytes): read against the device's rate, rebuilt as a canonical file, loaded from memory,
// freed. The mixer is driven directly rather than through SdlMedia, so that each input is loaded before
// the next one starts and the loaded chunk can be looked at.
//
// What must hold: a file the check accepts loads, and the mixer holds it as whole frames of the device's
// format at the device's rate, no longer than the check's bound on what an effect decodes to.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "MediaTargets.h"
#include "sound/WaveFile.h"

namespace {

using gr::fuzz::Check;

// The device as SdlMedia opens it: 44100 Hz, 16-bit stereo, 2048-frame buffers; SDL's dummy driver, so
// that nothing is heard and no sound hardware is needed.
struct Device {
    int Rate = 0;
    Uint16 Format = 0;
    int Channels = 0;

    Device() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
            Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0 ||
            Mix_QuerySpec(&Rate, &Format, &Channels) == 0)
            std::abort(); // no device: every input would pass without reaching the mixer
    }
};

const Device& TheDevice() {
    static const Device device; // opened once per process and left open
    return device;
}

} // namespace

int gr::fuzz::WaveMixer(const std::uint8_t* data, std::size_t size) {
    const Device& device = TheDevice();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto format = gr::ReadWave(bytes, unsigned(device.Rate));
    if (!format) return 0;
    const std::string wave = gr::CanonicalWave(*format, bytes);
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), int(wave.size())), 1);
    Check(chunk != nullptr);
    const std::size_t frameBytes = SDL_AUDIO_BITSIZE(device.Format) / 8 * std::size_t(device.Channels);
    const std::uint64_t frames = format->DataBytes / (format->Channels * format->Bits / 8);
    // The mixer's conversion to the device's rate gives the same duration, give or take the resampler's
    // rounding at the ends.
    const std::uint64_t expected = frames * unsigned(device.Rate) / format->Rate;
    const std::uint64_t held = chunk->alen / frameBytes;
    // The mixer's conversion depends on the sample shape, the rate and the length.
    Saw((format->Channels - 1) * 128 + (format->Bits / 16) * 64 + format->Rate / 1600);
    Saw(256 + Magnitude(frames));
    Check(chunk->alen % frameBytes == 0);
    Check(chunk->alen <= gr::kMaxWaveBytes);
    Check(held + 2 >= expected && held <= expected + 2);
    Mix_FreeChunk(chunk);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::WaveMixer)
