// A partner's voice stream through the parser, in the slices the network might deliver: it never holds more
// than one frame, and what comes out is what the format allows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Targets.h"
#include "voice/VoiceWire.h"

int gr::fuzz::Voice(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t slice = 1 + data[0] % 64;
    gr::VoiceWireParser parser;
    std::vector<gr::VoiceEvent> events;
    while (!bytes.empty()) {
        const bool ok = parser.Feed(bytes.substr(0, slice), events);
        bytes.remove_prefix(std::min(slice, bytes.size()));
        if (parser.Pending() > 3 + gr::kVoiceMaxPacket) Check(false);
        if (!ok && (parser.Error().empty() || parser.Pending() != 0)) Check(false);
        if (!ok) break;
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        const auto& e = events[i];
        if ((e.kind == gr::VoiceEvent::Kind::Header) != (i == 0)) Check(false);
        if (e.kind == gr::VoiceEvent::Kind::Header && gr::VoiceHeader(e.data).empty()) Check(false);
        if (e.kind == gr::VoiceEvent::Kind::Packet && gr::VoicePacketFrame(e.data).empty()) Check(false);
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Voice)
