// The outgoing cipher: a known answer worked out by hand from the cipher's rules, and round trips
// through the local server's inverse.
#include "core/Cipher.h"

#include <gtest/gtest.h>

#include <random>

#include "devserver/ServerProtocol.h"
#include "core/RunTimeError.h"

namespace gr {
namespace {

class Draws final : public RandomSource {
public:
    explicit Draws(std::vector<int> values) : Values(std::move(values)) {}
    int Between(int, int) override { return Values.at(Next++); }

private:
    std::vector<int> Values;
    std::size_t Next = 0;
};

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

TEST(Cipher, KnownAnswers) {
    struct Case {
        std::string key, message;
        std::vector<int> filler;
        std::string hex;
    };
    const std::vector<Case> cases = {
        {"Zq7", "AccountLoadbob/pw", {1, 2, 3, 250, 251, 255}, "5de20e8143c2a39a1a923401225b60514097cca8f2bf56"},
        {"k3", "", {9, 8, 7, 6, 5, 4}, "65851b07c269"},
    };
    for (const auto& c : cases) {
        CipherTables tables;
        BuildCipherTables(tables, c.key);
        Draws draws(c.filler);
        EXPECT_EQ(c.hex, Hex(EncipherBytes(tables, c.key, c.message, draws))) << c.key;
    }
}

TEST(Cipher, TableFollowsTheKeyAndNeverUsesItsLastByte) {
    CipherTables a, b;
    BuildCipherTables(a, "Zq7");
    BuildCipherTables(b, "Zq#"); // differs only in the last byte
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 256; ++y) ASSERT_EQ(a.MulTable(std::uint8_t(x), std::uint8_t(y)), b.MulTable(std::uint8_t(x), std::uint8_t(y)));
    // MulTable(b, a) = (K[(256 a + b) mod 2] * b + a) mod 255
    EXPECT_EQ(('Z' * 10 + 3) % 255, a.MulTable(10, 3));
    EXPECT_EQ(('q' * 11 + 3) % 255, a.MulTable(11, 3));
    EXPECT_EQ(254, a.MulTable(0, 254));
    EXPECT_EQ(0, a.MulTable(0, 255));
}

TEST(Cipher, ServerInverseRestoresEveryMessage) {
    ClockSeededRandom random;
    std::string allBytes;
    for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
    const std::vector<std::string> keys = {"ab", "Zq7", "0123456789abcdefghijklmnopqrstuv", "\xff\x01\x80"};
    const std::vector<std::string> messages = {"", "n", "AccountLoadbob/pw", allBytes, std::string(5000, 'q')};
    for (const auto& key : keys) {
        CipherTables tables;
        BuildCipherTables(tables, key);
        for (const auto& message : messages) {
            const std::string sent = EncipherBytes(tables, key, message, random);
            ASSERT_EQ(message.size() + 6, sent.size());
            EXPECT_EQ(message, dev::DecipherBytes(tables, key, sent)) << key << " / " << message.size();
        }
    }
}

TEST(Cipher, SameMessageTwiceGivesDifferentBytes) {
    ClockSeededRandom random;
    CipherTables tables;
    BuildCipherTables(tables, "key");
    EXPECT_NE(EncipherBytes(tables, "key", "look", random), EncipherBytes(tables, "key", "look", random));
}

// Draws from a fixed seed, so the same seed repeats the same filler.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(unsigned seed) : Engine(seed) {}
    int Between(int lo, int hi) override { return std::uniform_int_distribution<int>(lo, hi)(Engine); }

private:
    std::mt19937 Engine;
};

TEST(Cipher, WireFormNeverHoldsTheTerminator) {
    const std::string key = "Zq7w";
    CipherTables tables;
    BuildCipherTables(tables, key);
    const std::string message = "GeneralChat " + std::string(1000, 'a');
    int clashes = 0;
    for (unsigned seed = 0; seed < 600; ++seed) {
        SeededRandom first(seed);
        const bool clash = EncipherBytes(tables, key, message, first).find("%$") != std::string::npos;
        SeededRandom again(seed); // the wire form's first try draws the same filler
        const std::string sent = EncipherForWire(tables, key, message, again);
        ASSERT_EQ(std::string::npos, sent.find("%$")) << seed;
        ASSERT_EQ(message, dev::DecipherBytes(tables, key, sent)) << seed;
        clashes += clash ? 1 : 0;
    }
    EXPECT_GT(clashes, 0); // the plain cipher does put "%$" into some of these
}

TEST(Cipher, KeyShorterThanTwoBytesIsRefused) {
    CipherTables tables;
    Draws draws({1, 1, 1, 1, 1, 1});
    EXPECT_THROW(BuildCipherTables(tables, "k"), RunTimeError);
    EXPECT_THROW(EncipherBytes(tables, "", "x", draws), RunTimeError);
}

} // namespace
} // namespace gr
