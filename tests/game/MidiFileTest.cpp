#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/MidiFile.h"

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
        {"a chunk of another kind is skipped", Header(0, 1) + "XFIH" + Be(2, 4) + "ab" + Track(kNotes + kEnd),
         true},
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

} // namespace
} // namespace gr
