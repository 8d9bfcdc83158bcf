// A downloaded sound or piece of music through the checks that decide whether it is kept and played, and
// a sound name through the rule that turns it into files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "game/MidiFile.h"
#include "game/SoundRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)gr::IsPlayableMidi(bytes);
    (void)gr::IsWaveFile(bytes);
    for (gr::SoundKind kind : {gr::SoundKind::Effect, gr::SoundKind::Music})
        if (const auto file = gr::SoundFileFor(kind, bytes))
            if (file->Local.find("..") != std::string::npos || file->Web.find('\\') != std::string::npos)
                std::abort();
    return 0;
}
