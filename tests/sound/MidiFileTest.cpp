#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "sound/MidiFile.h"

namespace gr {
namespace {

std::string Be(unsigned value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}
std::string Header(unsigned format, unsigned tracks, unsigned division = 96) {
    return "MThd" + Be(6, 4) + Be(format, 2) + Be(tracks, 2) + Be(division, 2);
}
std::string Track(const std::string& events) {
    return "MTrk" + Be(unsigned(events.size()), 4) + events;
}
std::string Bytes(std::initializer_list<int> list) {
    std::string out;
    for (int b : list)
        out += char(b);
    return out;
}
std::string VarLen(std::uint32_t value) {
    std::string out(1, char(value & 0x7f));
    while (value >>= 7)
        out.insert(out.begin(), char(0x80 | (value & 0x7f)));
    return out;
}
const std::string kEnd = Bytes({0x00, 0xff, 0x2f, 0x00});
// A note that sounds for 96 ticks; the second note runs on the first one's status.
const std::string kNotes = Bytes(
    {0x00, 0xc0, 0x05, 0x00, 0x90, 0x3c, 0x50, 0x00, 0x40, 0x50, 0x60, 0x80, 0x3c, 0x00, 0x00, 0x40, 0x00});

TEST(MidiFile, WholeWellFormedPiecesPlay) {
    struct Case {
        const char* what;
        std::string bytes;
        bool playable;
    };
    const std::vector<Case> cases = {
        {"one track", Header(0, 1) + Track(kNotes + kEnd), true},
        {"two tracks, tempo in the first",
         Header(1, 2) + Track(Bytes({0x00, 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20}) + kEnd) +
             Track(kNotes + kEnd),
         true},
        {"a chunk of another kind, which the player cannot skip",
         Header(0, 1) + "XFIH" + Be(2, 4) + "ab" + Track(kNotes + kEnd), false},
        {"sysex and a text event",
         Header(0, 1) +
             Track(Bytes({0x00, 0xf0, 0x02, 0x7e, 0xf7, 0x00, 0xff, 0x01, 0x02}) + "hi" + kNotes + kEnd),
         true},
        {"the end-of-track event cut", Header(0, 1) + Track(kNotes + kEnd.substr(0, 3)), false},
        {"no end-of-track event", Header(0, 1) + Track(kNotes), false},
        {"events after the end", Header(0, 1) + Track(kNotes + kEnd + kNotes), false},
        {"a track longer than the file", Header(0, 1) + "MTrk" + Be(1000, 4) + kNotes + kEnd, false},
        {"fewer tracks than the header says", Header(1, 2) + Track(kNotes + kEnd), false},
        {"no tracks", Header(0, 0), false},
        {"too many tracks", Header(1, 60000) + Track(kNotes + kEnd), false},
        {"division zero", Header(0, 1, 0) + Track(kNotes + kEnd), false},
        {"format 3", Header(3, 1) + Track(kNotes + kEnd), false},
        {"data before any status", Header(0, 1) + Track(Bytes({0x00, 0x3c, 0x40}) + kEnd), false},
        {"a data byte with its high bit", Header(0, 1) + Track(Bytes({0x00, 0x90, 0x3c, 0xc0}) + kEnd),
         false},
        {"a delta of five bytes",
         Header(0, 1) + Track(Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3c, 0x40}) + kEnd), false},
        {"a meta event past the track",
         Header(0, 1) + Track(kNotes + Bytes({0x00, 0xff, 0x01, 0x7f, 0x41}) + kEnd), false},
        {"a system message in a track", Header(0, 1) + Track(kNotes + Bytes({0x00, 0xf8}) + kEnd), false},
        {"the status repeated after a meta event",
         Header(0, 1) +
             Track(Bytes({0x00, 0x90, 0x3c, 0x40, 0x00, 0xff, 0x01, 0x01, 'x', 0x60, 0x90, 0x3c, 0x00}) +
                   kEnd),
         true},
        {"running status across a meta event",
         Header(0, 1) +
             Track(Bytes({0x00, 0x90, 0x3c, 0x40, 0x00, 0xff, 0x01, 0x01, 'x', 0x60, 0x3c, 0x00}) + kEnd),
         false},
        {"running status across a sysex event",
         Header(0, 1) +
             Track(Bytes({0x00, 0x90, 0x3c, 0x40, 0x00, 0xf0, 0x01, 0xf7, 0x60, 0x3c, 0x00}) + kEnd),
         false},
        {"silent: no note", Header(0, 1) + Track(Bytes({0x00, 0xc0, 0x05, 0x10, 0x90, 0x3c, 0x00}) + kEnd),
         false},
        {"no length: would loop on the spot", Header(0, 1) + Track(Bytes({0x00, 0x90, 0x3c, 0x40}) + kEnd),
         false},
        {"the header cut", Header(0, 1).substr(0, 10), false},
        {"an error page", "<html><body>404</body></html>", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.playable, IsPlayableMidi(c.bytes)) << c.what;
}

// At this division and the default tempo (120 beats a minute) a tick lasts a millisecond.
constexpr unsigned kMs = 500;

std::string Tempo(std::uint32_t micros, std::uint32_t delta = 0) {
    return VarLen(delta) + Bytes({0xff, 0x51, 0x03}) + Be(micros, 3);
}
// A note held for `ticks`, then the end of the track.
std::string Held(std::uint32_t ticks) {
    return Bytes({0x00, 0x90, 0x3c, 0x50}) + VarLen(ticks) + Bytes({0x80, 0x3c, 0x00}) + kEnd;
}
// `count` note events, `perTick` at each tick, a tick apart, under running status; then a rest of 1000
// ticks and the end of the track.
std::string Paced(unsigned count, unsigned perTick) {
    std::string events = Bytes({0x00, 0x90, 0x3c, 0x40});
    for (unsigned i = 1; i < count; ++i)
        events += char(i % perTick == 0 ? 1 : 0) + Bytes({0x3c, 0x40});
    return events + VarLen(1000) + Bytes({0xff, 0x2f, 0x00});
}
std::string Tracks(unsigned count, const std::string& track) {
    std::string out;
    for (unsigned i = 0; i < count; ++i)
        out += Track(track);
    return out;
}

// A realistic piece in format 1: a tempo track with a reset for General MIDI, and sixteen channels that
// are each set up at the start (bank, program, volume, pan, expression, effects, pitch-bend range) and play
// a melody of quarter notes.
std::string Arrangement() {
    std::string piece = Header(1, 17, 480);
    piece += Track(Bytes({0x00, 0xff, 0x03, 0x04}) + "Song" + Tempo(600000) +
                   Bytes({0x00, 0xff, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xff, 0x59,
                          0x02, 0x00, 0x00, 0x00, 0xf0, 0x05, 0x7e, 0x7f, 0x09, 0x01, 0xf7}) +
                   VarLen(480 * 64) + Bytes({0xff, 0x2f, 0x00}));
    for (int channel = 0; channel < 16; ++channel) {
        const int cc = 0xb0 | channel;
        std::string events = Bytes({0x00, 0xff, 0x03, 0x01, 'a' + channel});
        for (int controller : {0x00, 0x20})
            events += Bytes({0x00, cc, controller, 0x00});
        events += Bytes({0x00, 0xc0 | channel, channel * 8});
        for (auto [controller, value] : std::vector<std::pair<int, int>>{{0x07, 100},
                                                                         {0x0a, 64},
                                                                         {0x0b, 127},
                                                                         {0x5b, 40},
                                                                         {0x5d, 0},
                                                                         {0x65, 0},
                                                                         {0x64, 0},
                                                                         {0x06, 2},
                                                                         {0x26, 0},
                                                                         {0x65, 127},
                                                                         {0x64, 127}})
            events += Bytes({0x00, cc, controller, value});
        events += Bytes({0x00, 0xe0 | channel, 0x00, 0x40});
        for (int note = 0; note < 128; ++note) {
            const int key = 48 + (note * 7 + channel) % 24;
            events += Bytes({0x00, 0x90 | channel, key, 80, 0x83, 0x60, 0x80 | channel, key, 0});
        }
        piece += Track(events + kEnd);
    }
    return piece;
}

TEST(MidiFile, TempoAndDivisionThePlayerCanTime) {
    struct Case {
        const char* what;
        std::string bytes;
        bool playable;
    };
    const std::vector<Case> cases = {
        {"the fastest tempo", Header(0, 1, kMs) + Track(Tempo(kMinMidiTempo) + Held(10000)), true},
        {"faster than the fastest", Header(0, 1, kMs) + Track(Tempo(kMinMidiTempo - 1) + Held(10000)), false},
        {"a tempo of zero: time stands still", Header(0, 1, kMs) + Track(Tempo(0) + Held(10000)), false},
        {"the slowest tempo", Header(0, 1) + Track(Tempo(0xffffff) + Held(96)), true},
        {"a tempo from the last tick on leaves the time before it",
         Header(0, 1, kMs) + Track(Bytes({0x00, 0x90, 0x3c, 0x50}) + Tempo(kMinMidiTempo, 100) +
                                   Bytes({0x00, 0x80, 0x3c, 0x00}) + kEnd),
         true},
        {"a tempo of zero later in the piece", Header(0, 1) + Track(kNotes + Tempo(0, 96) + kEnd), false},
        {"a tempo of two bytes",
         Header(0, 1) + Track(Bytes({0x00, 0xff, 0x51, 0x02, 0xa1, 0x20}) + kNotes + kEnd), false},
        {"a tempo of four bytes",
         Header(0, 1) + Track(Bytes({0x00, 0xff, 0x51, 0x04, 0x07, 0xa1, 0x20, 0x00}) + kNotes + kEnd),
         false},
        {"the finest division", Header(0, 1, 0x7fff) + Track(Held(0x7fff)), true},
        {"a division in frames of a time code", Header(0, 1, 0xe728) + Track(Held(0xe728)), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.playable, IsPlayableMidi(c.bytes)) << c.what;
}

TEST(MidiFile, TheSynthesizersWorkIsBounded) {
    struct Case {
        const char* what;
        std::string bytes;
        bool playable;
    };
    const std::vector<Case> cases = {
        {"sixteen channels set up at the start and a melody", Arrangement(), true},

        {"the most events at one tick", Header(0, 1, kMs) + Track(Paced(kMaxMidiEventsAtOneTick, 1000)),
         true},
        {"one more at that tick", Header(0, 1, kMs) + Track(Paced(kMaxMidiEventsAtOneTick + 1, 1000)), false},
        {"the most at one tick, from two tracks",
         Header(1, 2, kMs) + Tracks(2, Paced(kMaxMidiEventsAtOneTick / 2, 1000)), true},
        {"one more at that tick, from two tracks",
         Header(1, 2, kMs) + Track(Paced(kMaxMidiEventsAtOneTick / 2, 1000)) +
             Track(Paced(kMaxMidiEventsAtOneTick / 2 + 1, 1000)),
         false},
        {"340,000 notes at one tick", Header(0, 1, kMs) + Track(Paced(340000, 340000)), false},

        {"the most events within a second", Header(0, 1, kMs) + Track(Paced(kMaxMidiEventsPerSecond, 10)),
         true},
        {"one more within that second", Header(0, 1, kMs) + Track(Paced(kMaxMidiEventsPerSecond + 1, 10)),
         false},
        {"the most a second, steadily", Header(0, 1, kMs) + Track(Paced(kMaxMidiEventsPerSecond * 3, 5)),
         true},
        {"the most within a second, from two tracks",
         Header(1, 2, kMs) + Tracks(2, Paced(kMaxMidiEventsPerSecond / 2, 10)), true},
        {"one more within that second, from two tracks",
         Header(1, 2, kMs) + Track(Paced(kMaxMidiEventsPerSecond / 2, 10)) +
             Track(Paced(kMaxMidiEventsPerSecond / 2 + 1, 10)),
         false},
        // A tempo in one track times every track, from its tick on.
        {"a steady thousand a second", Header(1, 2, kMs) + Track(kEnd) + Track(Paced(9000, 1)), true},
        {"sped up by a tempo in another track",
         Header(1, 2, kMs) + Track(Tempo(kMinMidiTempo) + kEnd) + Track(Paced(9000, 1)), false},
        {"sped up only near its end",
         Header(1, 2, kMs) + Track(Tempo(kMinMidiTempo, 8000) + kEnd) + Track(Paced(9000, 1)), true},

        {"the most events", Header(0, 1, kMs) + Track(Paced(kMaxMidiEvents - 1, 1)), true},
        {"one more event", Header(0, 1, kMs) + Track(Paced(kMaxMidiEvents, 1)), false},
        {"the most events, in two tracks", Header(1, 2, kMs) + Tracks(2, Paced(kMaxMidiEvents / 2 - 1, 1)),
         true},
        {"one more event, in two tracks",
         Header(1, 2, kMs) + Track(Paced(kMaxMidiEvents / 2 - 1, 1)) + Track(Paced(kMaxMidiEvents / 2, 1)),
         false},

        {"the most tracks", Header(1, kMaxMidiTracks) + Tracks(kMaxMidiTracks, Held(96)), true},
        {"one more track", Header(1, kMaxMidiTracks + 1) + Tracks(kMaxMidiTracks + 1, Held(96)), false},
        {"256 dense tracks", Header(1, 256, kMs) + Tracks(256, Paced(100, 100)), false},

        {"the shortest piece", Header(0, 1, kMs) + Track(Held(kMinMidiMicroseconds / 1000)), true},
        {"shorter", Header(0, 1, kMs) + Track(Held(kMinMidiMicroseconds / 1000 - 1)), false},
        {"the longest piece", Header(0, 1, kMs) + Track(Held(kMaxMidiMicroseconds / 1000)), true},
        {"longer", Header(0, 1, kMs) + Track(Held(kMaxMidiMicroseconds / 1000 + 1)), false},
        {"the longest rests at the slowest tempo: far past an hour",
         Header(1, 2, 1) + Track(Tempo(0xffffff) + Held(0x0fffffff)) +
             Track(Bytes({0xff, 0xff, 0xff, 0x7f, 0x90, 0x3c, 0x40, 0xff, 0xff, 0xff, 0x7f, 0x3c, 0x00}) +
                   kEnd),
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.playable, IsPlayableMidi(c.bytes)) << c.what;
}

} // namespace
} // namespace gr

// Pieces that a player told to loop reads again at once, for ever, with the audio device held (it cannot
// read them, or they end at once), and short pieces whose loops pack more work into a second than the
// bounds allow: kept as the fuzzing corpus's seeds, refused here.
TEST(MidiFile, PiecesThePlayerCannotReadOrLoopInTimeAreRefused) {
    for (const char* name :
         {"midi-header-seven-bytes", "midi-unknown-chunk-first",
          "midi-unknown-chunk-between-tracks-fuzzer-found", "midi-chunk-length-walks-back",
          "midi-escape-event", "midi-smpte-offset-four-bytes", "midi-time-signature-three-bytes",
          "midi-key-signature-one-byte", "midi-short-loop-dense", "midi-short-loop-gm-resets"}) {
        std::ifstream file(std::string(GLOAMREST_FUZZ_DIR "/corpus/fuzz_sound/") + name, std::ios::binary);
        ASSERT_TRUE(file) << name;
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_FALSE(gr::IsPlayableMidi(bytes)) << name;
    }
}
