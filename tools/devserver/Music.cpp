#include "devserver/Music.h"

#include <cstdint>
#include <vector>

namespace gr::dev {

namespace {

constexpr int kTicksPerQuarter = 96;
constexpr int kTicksPerEighth = kTicksPerQuarter / 2;

// A note of the tune: a key number (60 is middle C; 0 a rest) held for a number of eighths.
struct Note {
    int Key = 0;
    int Eighths = 1;
};

struct Piece {
    int Program = 0;        // General MIDI instrument, 0 to 127
    int BeatsPerMinute = 0; // quarter notes
    int Numerator = 4;      // time signature
    int Denominator = 4;
    int Velocity = 80;
    std::vector<Note> Tune;
};

// A MIDI variable-length number: seven bits a byte, the high bit set on all but the last.
void PutVarLen(std::string& bytes, std::uint32_t value) {
    char groups[5];
    int count = 0;
    do {
        groups[count++] = char(value & 0x7f);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        bytes += char(groups[--count] | 0x80);
    bytes += groups[0];
}

void PutBig(std::string& bytes, std::uint32_t value, int size) {
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        bytes += char((value >> shift) & 0xff);
}

int Log2(int n) {
    int bits = 0;
    while (n > 1) {
        n >>= 1;
        ++bits;
    }
    return bits;
}

// The piece as a format 0 file: tempo, time signature and instrument at the start, then the notes on
// channel 1, each note-on answered by a note-on of velocity 0 under running status, and the end of track.
std::string File(const Piece& piece) {
    std::string track;
    PutVarLen(track, 0);
    track += "\xff\x51\x03";
    PutBig(track, std::uint32_t(60000000 / piece.BeatsPerMinute), 3);
    PutVarLen(track, 0);
    track += "\xff\x58\x04";
    track += char(piece.Numerator);
    track += char(Log2(piece.Denominator));
    track += char(24); // MIDI clocks a metronome click
    track += char(8);  // 32nd notes a quarter
    PutVarLen(track, 0);
    track += char(0xc0);
    track += char(piece.Program);
    bool statusSent = false;
    std::uint32_t wait = 0; // ticks of rest before the next note
    for (const Note& note : piece.Tune) {
        const auto length = std::uint32_t(note.Eighths * kTicksPerEighth);
        if (note.Key == 0) {
            wait += length;
            continue;
        }
        PutVarLen(track, wait);
        if (!statusSent) track += char(0x90);
        statusSent = true;
        track += char(note.Key);
        track += char(piece.Velocity);
        PutVarLen(track, length);
        track += char(note.Key);
        track += char(0);
        wait = 0;
    }
    PutVarLen(track, wait);
    track += std::string("\xff\x2f\x00", 3);

    std::string bytes = "MThd";
    PutBig(bytes, 6, 4);
    PutBig(bytes, 0, 2); // format 0
    PutBig(bytes, 1, 2); // one track
    PutBig(bytes, kTicksPerQuarter, 2);
    bytes += "MTrk";
    PutBig(bytes, std::uint32_t(track.size()), 4);
    return bytes + track;
}

// The square and the harbour: a bright flute tune in C major, four bars of 4/4.
const Piece kTown = {73,
                     112,
                     4,
                     4,
                     84,
                     {{72, 2},
                      {76, 2},
                      {79, 2},
                      {76, 2},
                      {77, 2},
                      {76, 1},
                      {74, 1},
                      {72, 4},
                      {74, 2},
                      {76, 2},
                      {77, 2},
                      {79, 2},
                      {76, 2},
                      {74, 1},
                      {71, 1},
                      {72, 3},
                      {0, 1}}};
// The library and its bell tower: slow harp arpeggios in A minor.
const Piece kLibrary = {46, 72, 4, 4, 70, {{57, 1}, {60, 1}, {64, 1}, {69, 1}, {64, 1}, {60, 1}, {57, 2},
                                           {53, 1}, {57, 1}, {60, 1}, {65, 1}, {60, 1}, {57, 1}, {53, 2},
                                           {55, 1}, {59, 1}, {62, 1}, {67, 1}, {62, 1}, {59, 1}, {55, 2},
                                           {57, 1}, {60, 1}, {64, 1}, {69, 4}, {0, 1}}};
// The cellar tavern: the fiddler's jig in D major, four bars of 6/8.
const Piece kTavern = {110, 140, 6, 8, 96, {{74, 1}, {73, 1}, {74, 1}, {76, 1}, {78, 1}, {76, 1}, {74, 1},
                                            {71, 1}, {74, 1}, {69, 3}, {74, 1}, {76, 1}, {78, 1}, {79, 1},
                                            {78, 1}, {76, 1}, {78, 1}, {76, 1}, {73, 1}, {74, 2}, {0, 1}}};

} // namespace

std::string MakeMusic(std::string_view name) {
    if (name == "town") return File(kTown);
    if (name == "library") return File(kLibrary);
    if (name == "tavern") return File(kTavern);
    return {};
}

} // namespace gr::dev
