// A downloaded sound or piece of music through the checks that decide whether it is kept and played, and
// a sound name through the rule that turns it into files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Targets.h"
#include "game/MidiFile.h"
#include "game/SoundRules.h"

int gr::fuzz::Sound(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)gr::IsPlayableMidi(bytes);
    (void)gr::IsWaveFile(bytes);
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
