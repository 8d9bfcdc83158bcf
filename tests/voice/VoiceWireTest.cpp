// The voice stream: what a partner's bytes become, and every way they can be wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "voice/VoiceWire.h"

namespace gr {
namespace {

using Kind = VoiceEvent::Kind;

std::string Raw(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += char(b);
    return s;
}

TEST(VoiceWire, AStreamRoundTripsWhicheverWayItIsCut) {
    const std::string packet(kVoiceMaxPacket, 'x');
    const std::string stream = VoiceHeader("Ann") + VoicePacketFrame("abc") + VoicePacketFrame(packet) +
                               VoiceTalkEndFrame() + VoicePacketFrame("z");
    const std::vector<VoiceEvent> expected = {{Kind::Header, "Ann"},
                                              {Kind::Packet, "abc"},
                                              {Kind::Packet, packet},
                                              {Kind::TalkEnd, ""},
                                              {Kind::Packet, "z"}};
    for (std::size_t slice :
         {std::size_t(1), std::size_t(2), std::size_t(7), std::size_t(1000), stream.size()}) {
        VoiceWireParser parser;
        std::vector<VoiceEvent> events;
        for (std::size_t at = 0; at < stream.size(); at += slice)
            ASSERT_TRUE(parser.Feed(std::string_view(stream).substr(at, slice), events)) << parser.Error();
        EXPECT_EQ(expected, events) << "slices of " << slice;
        EXPECT_EQ(0u, parser.Pending());
    }
}

TEST(VoiceWire, BrokenStreamsEndWithAReason) {
    const std::string header = VoiceHeader("Ann");
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"another protocol", "GET / HTTP/1.1\r\n", "not a voice chat stream"},
        {"magic wrong in the last byte", "GRVX", "not a voice chat stream"},
        {"version 2", Raw({'G', 'R', 'V', 'C', 2, 1, 3}) + "Ann", "version 2"},
        {"version 0", Raw({'G', 'R', 'V', 'C', 0, 1, 3}) + "Ann", "version 0"},
        {"another codec", Raw({'G', 'R', 'V', 'C', 1, 9, 3}) + "Ann", "codec 9"},
        {"empty name", Raw({'G', 'R', 'V', 'C', 1, 1, 0}), "empty or too long"},
        {"name of 33", Raw({'G', 'R', 'V', 'C', 1, 1, 33}), "empty or too long"},
        {"name with a space", Raw({'G', 'R', 'V', 'C', 1, 1, 3}) + "A n", "characters"},
        {"name with a control byte", Raw({'G', 'R', 'V', 'C', 1, 1, 2, 'A', 0}), "characters"},
        {"unknown frame kind", header + Raw({3, 0, 1, 'x'}), "kind 3"},
        {"frame kind zero", header + Raw({0}), "kind 0"},
        {"oversized frame", header + Raw({1, 0x04, 0xFC}), "oversized voice frame (1276 bytes)"},
        {"largest length", header + Raw({1, 0xff, 0xff}), "oversized voice frame (65535 bytes)"},
        {"empty packet", header + Raw({1, 0, 0}), "empty voice frame"},
        {"talk end with payload", header + Raw({2, 0, 1, 'x'}), "talk-end frame with a payload"},
        {"a second header", header + header, "kind 71"},
    };
    for (const auto& c : cases) {
        VoiceWireParser parser;
        std::vector<VoiceEvent> events;
        EXPECT_FALSE(parser.Feed(c.bytes, events)) << c.what;
        EXPECT_NE(std::string::npos, parser.Error().find(c.reason)) << c.what << ": " << parser.Error();
        // Broken stays broken, and holds nothing.
        EXPECT_FALSE(parser.Feed(VoicePacketFrame("ok"), events)) << c.what;
        EXPECT_EQ(0u, parser.Pending()) << c.what;
        for (const auto& e : events)
            EXPECT_NE(Kind::Packet, e.kind) << c.what;
    }
}

TEST(VoiceWire, TruncatedInputWaitsWithoutEvents) {
    const std::string header = VoiceHeader("Bob");
    const struct {
        const char* what;
        std::string bytes;
        std::size_t events; // complete ones before the cut
    } cases[] = {
        {"half a magic", "GR", 0},
        {"header without its name", header.substr(0, 8), 0},
        {"frame head cut", header + Raw({1, 0}), 1},
        {"payload cut", header + Raw({1, 0, 5}) + "abc", 1},
        {"largest payload cut one short",
         header + Raw({1, 0x04, 0xFB}) + std::string(kVoiceMaxPacket - 1, 'p'), 1},
    };
    for (const auto& c : cases) {
        VoiceWireParser parser;
        std::vector<VoiceEvent> events;
        EXPECT_TRUE(parser.Feed(c.bytes, events)) << c.what << ": " << parser.Error();
        EXPECT_EQ(c.events, events.size()) << c.what;
        EXPECT_GT(parser.Pending(), 0u) << c.what;
        EXPECT_LE(parser.Pending(), 3 + kVoiceMaxPacket) << c.what;
    }
}

TEST(VoiceWire, OnlySendableThingsAreWritten) {
    EXPECT_EQ("", VoiceHeader(""));
    EXPECT_EQ("", VoiceHeader(std::string(kVoiceMaxName + 1, 'a')));
    EXPECT_EQ("", VoiceHeader("A b"));
    EXPECT_EQ(7 + kVoiceMaxName, VoiceHeader(std::string(kVoiceMaxName, 'a')).size());
    EXPECT_EQ("", VoicePacketFrame(""));
    EXPECT_EQ("", VoicePacketFrame(std::string(kVoiceMaxPacket + 1, 'a')));
}

} // namespace
} // namespace gr
