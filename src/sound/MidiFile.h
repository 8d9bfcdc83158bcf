#pragma once
// Whether the bytes are a MIDI file that the music player can loop safely: a complete header, every track
// whole and well formed, each ending in its end-of-track event, at least one note, and a pace the
// synthesizer keeps up with. A file cut short or built to confuse or flood the player (a track running past
// the end, an event the player cannot read, a piece too short to loop, more events at once or in a second
// than music has) is refused: it is never kept and never played.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace gr {

// The most tracks: the player steps through every track at every tick it plays. A format 1 file has a track
// a channel (16) and one for the tempo; 64 leaves room for several tracks a channel.
constexpr std::size_t kMaxMidiTracks = 64;

// The most events in all tracks together: the player holds every event and walks them all on every loop.
// A long arrangement for a full orchestra has a few tens of thousands.
constexpr std::size_t kMaxMidiEvents = 250'000;

// The most events at one tick, all tracks together. A piece's set-up at its start gives each of the 16
// channels its program, bank, volume, pan, effect levels and pitch-bend range (a dozen messages or so),
// with a reset message and some text besides: a few hundred. 512 leaves room for a chord on top.
constexpr std::size_t kMaxMidiEventsAtOneTick = 512;

// The most events in any one second of the piece as it loops, all tracks together: a MIDI cable carries about
// 1,500 messages a second, and a file written for several cables a few times that. This bounds the
// synthesizer's work for each second it plays.
constexpr std::size_t kMaxMidiEventsPerSecond = 5'000;

// The most system exclusive messages in any one second: each may reset the whole synthesizer, far more work
// than a note. A piece sends a reset or a few settings at its start.
constexpr std::size_t kMaxMidiSysexPerSecond = 64;

// The fastest tempo, in microseconds a quarter note: 6,000 beats a minute, far beyond any music. Faster
// tempos (down to 0, where time stands still) only pack events together.
constexpr std::uint32_t kMinMidiTempo = 10'000;

// The shortest piece, in microseconds: the player loops music, and a shorter piece would start over more
// than ten times a second.
constexpr std::uint64_t kMinMidiMicroseconds = 100'000;

// The longest piece, in microseconds: an hour. Music that loops in the background is a few minutes long;
// time is reckoned up to this bound and a piece that runs past it is refused.
constexpr std::uint64_t kMaxMidiMicroseconds = 3'600'000'000;

bool IsPlayableMidi(std::string_view bytes);

} // namespace gr
