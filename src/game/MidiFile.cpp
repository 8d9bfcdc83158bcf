#include "game/MidiFile.h"

#include <cstdint>
#include <optional>

namespace gr {

namespace {

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Reads the events of one track; returns whether it is well formed and ends with its end-of-track event
// exactly at its end. Adds the track's length in ticks and whether it sounds a note.
bool ReadTrack(std::string_view track, std::uint64_t& ticks, bool& sounds) {
    std::size_t at = 0;
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
        ticks += *delta;
        unsigned first = 0;
        if (!byte(first)) return false;
        if (first == 0xFF) {
            unsigned type = 0;
            if (!byte(type)) return false;
            const auto length = number();
            if (!length || *length > track.size() - at) return false;
            at += *length;
            if (type == 0x2F) return *length == 0 && at == track.size();
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            const auto length = number();
            if (!length || *length > track.size() - at) return false;
            at += *length;
            status = 0;
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

} // namespace

bool IsPlayableMidi(std::string_view bytes) {
    if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") return false;
    const std::uint32_t headerLength = BigEndian(bytes, 4, 4);
    if (headerLength < 6 || headerLength > bytes.size() - 8) return false;
    const std::uint32_t format = BigEndian(bytes, 8, 2);
    const std::uint32_t tracks = BigEndian(bytes, 10, 2);
    const std::uint32_t division = BigEndian(bytes, 12, 2);
    if (format > 2 || tracks == 0 || tracks > kMaxMidiTracks || division == 0) return false;
    std::size_t at = 8 + headerLength;
    std::uint32_t found = 0;
    bool sounds = false;
    std::uint64_t longest = 0;
    while (found < tracks) {
        if (bytes.size() - at < 8) return false;
        const std::string_view kind = bytes.substr(at, 4);
        const std::uint32_t length = BigEndian(bytes, at + 4, 4);
        at += 8;
        if (length > bytes.size() - at) return false;
        if (kind == "MTrk") {
            std::uint64_t ticks = 0;
            if (!ReadTrack(bytes.substr(at, length), ticks, sounds)) return false;
            longest = ticks > longest ? ticks : longest;
            ++found;
        }
        at += length; // a chunk of another kind is skipped
    }
    return sounds && longest > 0;
}

} // namespace gr
