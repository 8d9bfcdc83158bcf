#pragma once
// The voice chat's stream between two players, one in each direction over the voice socket.
//
//   header, sent once by each side before anything else:
//     4 bytes  "GRVC"
//     1 byte   format version: 1
//     1 byte   codec: 1 = Opus, mono, 48 kHz, 20 ms frames
//     1 byte   length of the sender's character name: 1 to 32
//     n bytes  the sender's character name: printable ASCII, no spaces
//   then frames, each:
//     1 byte   kind: 1 = one Opus packet, 2 = the sender stopped talking
//     2 bytes  payload length, big-endian: 1 to 1275 for a packet (Opus's largest), 0 for a stop
//     n bytes  payload
//
// The parser holds at most one incomplete header or frame; anything else ends the stream with a reason.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

constexpr unsigned char kVoiceVersion = 1;
constexpr unsigned char kVoiceCodecOpus = 1;
constexpr std::size_t kVoiceMaxName = 32;
constexpr std::size_t kVoiceMaxPacket = 1275;

enum class VoiceFrameKind : unsigned char { Packet = 1, TalkEnd = 2 };

// The bytes of a header naming the sender; an unsendable name (empty, too long, spaces) gives "".
std::string VoiceHeader(std::string_view name);
// The bytes of a frame carrying one encoded packet (1 to kVoiceMaxPacket bytes; else "").
std::string VoicePacketFrame(std::string_view packet);
// The bytes of the frame that says the sender stopped talking.
std::string VoiceTalkEndFrame();

struct VoiceEvent {
    enum class Kind { Header, Packet, TalkEnd } kind;
    std::string data; // the sender's name for Header, the encoded packet for Packet
    bool operator==(const VoiceEvent&) const = default;
};

class VoiceWireParser {
  public:
    // Takes the next bytes of the stream and appends what they complete to out. False once the stream is
    // broken (now or before): Error() then says why, and no more events come.
    bool Feed(std::string_view bytes, std::vector<VoiceEvent>& out);
    bool Failed() const { return !Problem.empty(); }
    const std::string& Error() const { return Problem; }
    bool HeaderSeen() const { return SeenHeader; }
    // Bytes of an incomplete header or frame held back (never more than one frame's worth).
    std::size_t Pending() const { return Held.size(); }

  private:
    // Parses one header or frame from the front of Held; 0 when it needs more bytes, -1 when broken.
    long Take(std::vector<VoiceEvent>& out);

    std::string Held;
    std::string Problem;
    bool SeenHeader = false;
};

} // namespace gr
