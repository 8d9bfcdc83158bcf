#include "sound/MidiFile.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace gr {

namespace {

// The tempo until a tempo event sets one, in microseconds a quarter note (120 beats a minute).
constexpr std::uint32_t kDefaultTempo = 500'000;
constexpr std::uint64_t kSecond = 1'000'000; // microseconds
constexpr unsigned kTempoEvent = 0x51;
constexpr unsigned kEndOfTrack = 0x2F;
constexpr std::uint32_t kSmpteDivision = 0x8000; // the division counts frames of a time code, not quarters

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The lengths the player insists on for the meta events it reads; any other length makes it refuse the file.
constexpr unsigned kSmpteOffset = 0x54, kTimeSignature = 0x58, kKeySignature = 0x59;

// An event as the player schedules it: its tick, the tempo it sets from there on (0 when it sets none), and
// whether it is a system exclusive message (which may reset the whole synthesizer).
struct TimedEvent {
    std::uint64_t Tick = 0;
    std::uint32_t Tempo = 0;
    bool Sysex = false;
    bool Sounds = true; // reaches the synthesizer (an end of track only ends the track)
};

// Reads the events of one track into `events`; returns whether it is well formed, ends with its
// end-of-track event exactly at its end, and keeps all events within kMaxMidiEvents. Notes whether it
// sounds a note.
bool ReadTrack(std::string_view track, std::vector<TimedEvent>& events, bool& sounds) {
    std::size_t at = 0;
    std::uint64_t ticks = 0;
    unsigned status = 0; // the running status: the last channel message's status byte
    auto byte = [&](unsigned& out) {
        if (at >= track.size()) return false;
        out = static_cast<unsigned char>(track[at++]);
        return true;
    };
    // A variable-length number: seven bits a byte, at most four bytes.
    auto number = [&]() -> std::optional<std::uint32_t> {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned b = 0;
            if (!byte(b)) return std::nullopt;
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0) return value;
        }
        return std::nullopt;
    };
    while (at < track.size()) {
        const auto delta = number();
        if (!delta) return false;
        if (events.size() == kMaxMidiEvents) return false; // more than the player is given
        ticks += *delta;
        events.push_back({ticks, 0});
        unsigned first = 0;
        if (!byte(first)) return false;
        // An escaped message (F7) the player cannot read; the file would fail to load, and a piece that fails
        // to load is loaded again at once, for ever, by a player told to loop.
        if (first == 0xF7) return false;
        if (first == 0xFF || first == 0xF0) {
            // A meta event (a type, then data) or a sysex event (data); either cancels the running status.
            const bool meta = first == 0xFF;
            unsigned type = 0;
            if (meta && !byte(type)) return false;
            const auto length = number();
            if (!length || *length > track.size() - at) return false;
            if (meta && ((type == kSmpteOffset && *length != 5) || (type == kTimeSignature && *length != 4) ||
                         (type == kKeySignature && *length != 2)))
                return false;
            events.back().Sysex = !meta;
            if (meta && type == kTempoEvent) {
                if (*length != 3) return false;
                events.back().Tempo = BigEndian(track, at, 3);
                if (events.back().Tempo < kMinMidiTempo) return false;
            }
            at += *length;
            status = 0;
            if (meta && type == kEndOfTrack) {
                events.back().Sounds = false;
                return *length == 0 && at == track.size();
            }
            continue;
        }
        if (first >= 0xF1) return false; // no system message belongs in a file
        unsigned data1 = first;
        if (first & 0x80) {
            status = first;
            if (!byte(data1)) return false;
        } else if (status == 0) {
            return false; // data without a status to run on
        }
        if (data1 & 0x80) return false;
        const unsigned kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) {
            unsigned data2 = 0;
            if (!byte(data2) || (data2 & 0x80)) return false;
            if (kind == 0x90 && data2 > 0) sounds = true;
        }
    }
    return false; // no end-of-track event
}

// Whether the events of all tracks, in the order the player plays them, keep its work bounded: few enough
// at any one tick and in any one second, and a length from kMinMidiMicroseconds to kMaxMidiMicroseconds.
// A tempo event in any track sets the tempo for all, from its tick on.
bool WithinPace(const std::vector<TimedEvent>& events, std::uint32_t division) {
    if (events.empty()) return false;
    // Time is reckoned in microseconds times the division, so that each tick adds the tempo in force.
    const std::uint64_t limit = kMaxMidiMicroseconds * division;
    std::uint64_t scaled = 0;
    std::uint32_t tempo = kDefaultTempo;
    std::vector<std::uint64_t> micros(events.size()); // when each event plays
    std::size_t tickStart = 0;                        // the first event at the current tick
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (i > 0 && events[i].Tick != events[i - 1].Tick) {
            const std::uint64_t ticks = events[i].Tick - events[i - 1].Tick;
            if (ticks > (limit - scaled) / tempo) return false; // longer than the longest piece
            scaled += ticks * tempo;
            tickStart = i;
        }
        micros[i] = scaled / division;
        if (i - tickStart >= kMaxMidiEventsAtOneTick) return false;
        if (events[i].Tempo != 0) tempo = events[i].Tempo;
    }
    const std::uint64_t length = micros.back();
    if (length < kMinMidiMicroseconds) return false;
    // The player loops the piece, starting over as soon as its last event has played: a second may hold the
    // end of one pass and the start of the next, or several passes of a short piece. The window slides over
    // as many passes as a second can reach.
    const std::size_t count = events.size();
    const std::size_t passes = std::size_t(kSecond / length) + 2;
    auto at = [&](std::size_t j) { return micros[j % count] + std::uint64_t(j / count) * length; };
    std::size_t first = 0, sounding = 0, sysex = 0;
    for (std::size_t j = 0; j < passes * count; ++j) {
        for (; at(first) + kSecond <= at(j); ++first) {
            sounding -= events[first % count].Sounds ? 1 : 0;
            sysex -= events[first % count].Sysex ? 1 : 0;
        }
        sounding += events[j % count].Sounds ? 1 : 0;
        sysex += events[j % count].Sysex ? 1 : 0;
        if (sounding > kMaxMidiEventsPerSecond || sysex > kMaxMidiSysexPerSecond) return false;
    }
    return true;
}

} // namespace

bool IsPlayableMidi(std::string_view bytes) {
    if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") return false;
    const std::uint32_t headerLength = BigEndian(bytes, 4, 4);
    // Exactly the six bytes the player reads: it takes anything longer for the first track.
    if (headerLength != 6) return false;
    const std::uint32_t format = BigEndian(bytes, 8, 2);
    const std::uint32_t tracks = BigEndian(bytes, 10, 2);
    const std::uint32_t division = BigEndian(bytes, 12, 2); // ticks a quarter note
    if (format > 2 || tracks == 0 || tracks > kMaxMidiTracks || division == 0 || (division & kSmpteDivision))
        return false;
    std::size_t at = 8 + headerLength;
    std::uint32_t found = 0;
    bool sounds = false;
    std::vector<TimedEvent> events;
    while (found < tracks) {
        if (bytes.size() - at < 8) return false;
        const std::string_view kind = bytes.substr(at, 4);
        const std::uint32_t length = BigEndian(bytes, at + 4, 4);
        at += 8;
        if (length > bytes.size() - at) return false;
        // A chunk of another kind the player does not skip as the file format allows: it reads what follows
        // as lengths, and may walk backwards for ever.
        if (kind != "MTrk" || !ReadTrack(bytes.substr(at, length), events, sounds)) return false;
        ++found;
        at += length;
    }
    if (!sounds) return false;
    // The player plays all tracks together: merged by tick, each track's events keeping their order.
    std::stable_sort(events.begin(), events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.Tick < b.Tick; });
    return WithinPace(events, division);
}

} // namespace gr
