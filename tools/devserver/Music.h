#pragma once
// The music of the local web host, made in code: one small standard MIDI file (format 0, one track) for
// each area of the demo world, a few bars the client plays over and over. The game server names a piece in
// "Music" messages and the client fetches it as "/grmusic/<name>.mid".
#include <array>
#include <string>
#include <string_view>

namespace gr::dev {

// Every piece there is: the town's flute tune, the library's harp, the tavern's fiddle jig.
constexpr std::array<std::string_view, 3> kMusicNames = {"town", "library", "tavern"};

// The MIDI bytes of the named piece (names compared exactly); empty for any other name.
std::string MakeMusic(std::string_view name);

} // namespace gr::dev
