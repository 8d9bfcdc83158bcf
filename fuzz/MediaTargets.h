#pragma once
// The fuzz targets that take downloaded media through our checks into the libraries that play and show it:
// SDL2_mixer's wave loader, FluidSynth's MIDI player and Qt's image readers. Each makes what it needs once
// per process (the audio device, the synthesizer and its soundfont, the application) and frees or resets
// what an input made before the next one.
//
// The libraries are Debian's, not instrumented: the fuzzer sees only our own code's coverage, which stops
// growing once an input passes the check. So each target also reports what it made the library do (the
// shape of a wave, the events the player sent, the format a picture decoded to) as counters that libFuzzer
// takes for coverage, and keeps inputs that make a library do something new.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "Targets.h"

namespace gr::fuzz {

int WaveMixer(const std::uint8_t* data, std::size_t size);
int MidiPlayer(const std::uint8_t* data, std::size_t size);
int Pictures(const std::uint8_t* data, std::size_t size);

#ifndef GLOAMREST_FUZZ_REPLAY
// libFuzzer reads the counters in this section after each input (and clears them before the next one).
inline std::uint8_t LibraryCounters[4096]
    __attribute__((used, aligned(8), section("__libfuzzer_extra_counters")));
#endif

// Counts one occurrence of a feature of what the library did; equal features land on equal counters.
inline void Saw([[maybe_unused]] std::size_t feature) {
#ifndef GLOAMREST_FUZZ_REPLAY
    std::uint8_t& counter = LibraryCounters[feature % sizeof(LibraryCounters)];
    if (counter < 255) ++counter;
#endif
}

// The position of the highest bit: a bucket for sizes and counts that vary over orders of magnitude.
inline std::size_t Magnitude(std::uint64_t value) {
    return std::size_t(std::bit_width(value));
}

inline constexpr NamedBody kMediaTargets[] = {
    {"fuzz_wave_mixer", &WaveMixer},
    {"fuzz_midi_player", &MidiPlayer},
    {"fuzz_pictures", &Pictures},
};

} // namespace gr::fuzz
