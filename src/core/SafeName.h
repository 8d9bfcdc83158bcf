#pragma once
// The one gate through which a name from the server (a character, a sound, a piece of music) becomes part
// of a file name in the data folder.
#include <cstddef>
#include <string_view>

namespace gr {

// Longer names are no names the game gives out; a bound keeps every path short.
constexpr std::size_t kMaxSafeNameBytes = 64;

// Not empty, at most kMaxSafeNameBytes, no folder separator, no "..", no drive or stream colon, no control
// character.
bool IsSafeFileNamePart(std::string_view name);

} // namespace gr
