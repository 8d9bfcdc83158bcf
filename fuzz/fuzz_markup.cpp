// A server line through the text markup, twice (state carries over), and the link search at every caret.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Targets.h"
#include "core/Random.h"
#include "text/TextMarkup.h"

namespace {} // namespace

int gr::fuzz::Markup(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    gr::MarkupState state;
    gr::fuzz::CountingRandom random;
    for (int textSize : {8, 18})
        (void)gr::MarkupOps(line, state, textSize, random);
    for (std::size_t caret = 0; caret <= line.size(); caret += 1 + line.size() / 64)
        (void)gr::LinkAt(line, caret);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Markup)
