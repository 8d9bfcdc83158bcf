#include "voice/VoiceWire.h"

#include <algorithm>

namespace gr {

namespace {
constexpr std::string_view kMagic = "GRVC";
constexpr std::size_t kHeaderFixed = 7; // magic, version, codec, name length
constexpr std::size_t kFrameHead = 3;   // kind, length

bool SendableName(std::string_view name) {
    if (name.empty() || name.size() > kVoiceMaxName) return false;
    for (const char c : name)
        if (c < 0x21 || c > 0x7e) return false;
    return true;
}
} // namespace

std::string VoiceHeader(std::string_view name) {
    if (!SendableName(name)) return {};
    std::string out(kMagic);
    out += char(kVoiceVersion);
    out += char(kVoiceCodecOpus);
    out += char(name.size());
    out += name;
    return out;
}

std::string VoicePacketFrame(std::string_view packet) {
    if (packet.empty() || packet.size() > kVoiceMaxPacket) return {};
    std::string out;
    out += char(VoiceFrameKind::Packet);
    out += char(packet.size() >> 8);
    out += char(packet.size() & 0xff);
    out += packet;
    return out;
}

std::string VoiceTalkEndFrame() {
    return std::string{char(VoiceFrameKind::TalkEnd), '\0', '\0'};
}

bool VoiceWireParser::Feed(std::string_view bytes, std::vector<VoiceEvent>& out) {
    if (Failed()) return false;
    // Hold at most one header or frame: take what is complete after each slice of input.
    while (!bytes.empty()) {
        const std::size_t room = kFrameHead + kVoiceMaxPacket - Held.size();
        const std::size_t n = std::min(room, bytes.size());
        Held.append(bytes.substr(0, n));
        bytes.remove_prefix(n);
        for (;;) {
            const long used = Take(out);
            if (used < 0) {
                Held.clear();
                return false;
            }
            if (used == 0) break;
            Held.erase(0, std::size_t(used));
        }
    }
    return true;
}

long VoiceWireParser::Take(std::vector<VoiceEvent>& out) {
    const std::string_view held = Held;
    if (!SeenHeader) {
        const std::size_t have = std::min(held.size(), kMagic.size());
        if (held.substr(0, have) != kMagic.substr(0, have)) {
            Problem = "the stream is not a voice chat stream";
            return -1;
        }
        if (held.size() < kHeaderFixed) return 0;
        if (static_cast<unsigned char>(held[4]) != kVoiceVersion) {
            Problem =
                "unsupported voice format version " + std::to_string(static_cast<unsigned char>(held[4]));
            return -1;
        }
        if (static_cast<unsigned char>(held[5]) != kVoiceCodecOpus) {
            Problem = "unknown voice codec " + std::to_string(static_cast<unsigned char>(held[5]));
            return -1;
        }
        const std::size_t length = static_cast<unsigned char>(held[6]);
        if (length == 0 || length > kVoiceMaxName) {
            Problem = "the stream's name is empty or too long";
            return -1;
        }
        if (held.size() < kHeaderFixed + length) return 0;
        const std::string_view name = held.substr(kHeaderFixed, length);
        if (!SendableName(name)) {
            Problem = "the stream's name holds characters a name cannot have";
            return -1;
        }
        SeenHeader = true;
        out.push_back({VoiceEvent::Kind::Header, std::string(name)});
        return long(kHeaderFixed + length);
    }
    if (held.empty()) return 0;
    const auto kind = static_cast<unsigned char>(held[0]);
    if (kind != static_cast<unsigned char>(VoiceFrameKind::Packet) &&
        kind != static_cast<unsigned char>(VoiceFrameKind::TalkEnd)) {
        Problem = "unknown voice frame kind " + std::to_string(kind);
        return -1;
    }
    if (held.size() < kFrameHead) return 0;
    const std::size_t length =
        (std::size_t(static_cast<unsigned char>(held[1])) << 8) | static_cast<unsigned char>(held[2]);
    if (kind == static_cast<unsigned char>(VoiceFrameKind::TalkEnd)) {
        if (length != 0) {
            Problem = "a talk-end frame with a payload";
            return -1;
        }
        out.push_back({VoiceEvent::Kind::TalkEnd, {}});
        return long(kFrameHead);
    }
    if (length == 0) {
        Problem = "an empty voice frame";
        return -1;
    }
    if (length > kVoiceMaxPacket) {
        Problem = "an oversized voice frame (" + std::to_string(length) + " bytes)";
        return -1;
    }
    if (held.size() < kFrameHead + length) return 0;
    out.push_back({VoiceEvent::Kind::Packet, std::string(held.substr(kFrameHead, length))});
    return long(kFrameHead + length);
}

} // namespace gr
