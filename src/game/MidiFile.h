#pragma once
// Whether the bytes are a MIDI file that the music player can loop safely: a complete header, every track
// whole and well formed, each ending in its end-of-track event, and at least one note after a time that is
// not zero. A file cut short or built to confuse the player (a track running past the end, an event the
// player cannot read, a piece without length that would loop on the spot) is refused: it is never kept and
// never played.
#include <cstddef>
#include <string_view>

namespace gr {

constexpr std::size_t kMaxMidiTracks = 256;

bool IsPlayableMidi(std::string_view bytes);

} // namespace gr
