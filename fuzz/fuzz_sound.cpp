// A downloaded sound or piece of music through the checks that decide whether it is kept and played (and
// a wave file through the header it is played with), and a sound name through the rule that turns it into
// files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Targets.h"
#include "sound/MidiFile.h"
#include "sound/SoundRules.h"
#include "sound/WaveFile.h"

int gr::fuzz::Sound(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)gr::IsPlayableMidi(bytes);
    // A wave file the mixer may be given is handed over as a header written from what was read: that file
    // reads back as the same format and the same samples, and writing it again changes nothing.
    const auto wave = gr::ReadWave(bytes);
    gr::fuzz::Check(wave.has_value() == gr::IsWaveFile(bytes));
    if (wave) {
        const std::string canonical = gr::CanonicalWave(*wave, bytes);
        const auto again = gr::ReadWave(canonical);
        gr::fuzz::Check(again && again->Channels == wave->Channels && again->Rate == wave->Rate &&
                        again->Bits == wave->Bits && again->DataBytes == wave->DataBytes &&
                        canonical.substr(again->DataOffset, again->DataBytes) ==
                            bytes.substr(wave->DataOffset, wave->DataBytes) &&
                        gr::CanonicalWave(*again, canonical) == canonical);
    }
    // A name that becomes files stays one file inside its folder: the only separator is the folder's.
    for (gr::SoundKind kind : {gr::SoundKind::Effect, gr::SoundKind::Music})
        if (const auto file = gr::SoundFileFor(kind, bytes)) {
            const std::string_view local = file->Local;
            const std::size_t slash = local.find('/');
            if (slash == std::string_view::npos ||
                local.find_first_of("/\\", slash + 1) != std::string_view::npos ||
                local.substr(slash + 1) !=
                    std::string(bytes) + (kind == gr::SoundKind::Effect ? ".wav" : ".mid"))
                std::abort();
        }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Sound)
