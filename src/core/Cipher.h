#pragma once
// The cipher of messages sent to the server. The server hands out a key with "KEYCODE"; the client derives
// a 256 x 256 multiplication table from it and mixes every outgoing message, padded with three random
// filler bytes at each end, in six passes. The server undoes the passes in reverse order.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Random.h"

namespace gr {

// The key must hold at least this many bytes: every mixing step reads the key byte after the current one.
constexpr std::size_t kMinCipherKeyLength = 2;
// "KEYCODE" carries at most this many key characters.
constexpr std::size_t kMaxCipherKeyLength = 32;
// Number of mixing passes over the padded message.
constexpr int kCipherPasses = 6;

class CipherTables {
  public:
    // MulTable(b, a) = (K[(256 a + b) mod U] * b + a) mod 255, U being the key length minus 1.
    std::uint8_t MulTable(std::uint8_t b, std::uint8_t a) const { return Mul[(std::size_t(a) << 8) | b]; }
    static std::uint8_t XorTable(std::uint8_t b, std::uint8_t a) { return std::uint8_t(a ^ b); }

  private:
    friend void BuildCipherTables(CipherTables& tables, std::string_view key);
    std::array<std::uint8_t, 256 * 256> Mul{};
};

// Fills the tables from the key. The key must hold at least kMinCipherKeyLength bytes.
void BuildCipherTables(CipherTables& tables, std::string_view key);

// Pads and mixes the message: the result is 6 bytes longer than the message. Each byte of the wire text is
// one character, so the text and byte forms are the same function.
std::string EncipherBytes(const CipherTables& tables, std::string_view key, std::string_view message,
                          RandomSource& random);
inline std::string EncipherText(const CipherTables& tables, std::string_view key, std::string_view message,
                                RandomSource& random) {
    return EncipherBytes(tables, key, message, random);
}

// How many times a message is enciphered afresh, with new filler, to keep the terminator out of it.
constexpr int kMaxEncipherTries = 64;

// The message as it goes on the wire, before its "%$". The framing has no escape, so enciphered bytes that
// happen to hold "%$" would be cut in two by the server; the same message enciphers differently with fresh
// filler, so it is drawn again until its bytes hold no "%$" (at most kMaxEncipherTries times: for a short
// message one try in many thousands needs a second, and the last try is sent as it is).
std::string EncipherForWire(const CipherTables& tables, std::string_view key, std::string_view message,
                            RandomSource& random);

} // namespace gr
