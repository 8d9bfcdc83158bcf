// The server's roll for character creation: the parser, and the picture and text drawn from what it reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Targets.h"
#include "character/StatsIn.h"

int gr::fuzz::StatsIn(const std::uint8_t* data, std::size_t size) {
    static const gr::DigitGlyphTable glyphs = gr::MakeDigitGlyphs();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto roll = gr::ParseStatsIn(text);
    if (!roll) return 0;
    (void)gr::StatsPicture(glyphs, *roll);
    (void)gr::StatsText(roll->Stats);
    // What was read is written back the same way.
    if (gr::ParseStatsIn(gr::StatsInText(*roll)) != roll) std::abort();
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::StatsIn)
