// The server's protocol core against the client's own code: its cipher and its receive path.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestRandom.h"
#include "core/Bzip2Api.h"
#include "core/Cipher.h"
#include "core/ReceivePath.h"
#include "devserver/ServerProtocol.h"

namespace gr::dev {
namespace {

using test::SeededRandom;

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes;
}

// `count` texts of letters, digits and spaces, drawn one after another from one seeded engine.
std::vector<std::string> RandomTexts(unsigned seed, std::size_t count, std::size_t length) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
    std::mt19937 engine(seed);
    std::vector<std::string> texts(count);
    for (std::string& text : texts) {
        for (std::size_t i = 0; i < length; ++i)
            text += kAlphabet[engine() % kAlphabet.size()];
    }
    return texts;
}

std::string RandomText(unsigned seed, std::size_t length) {
    return RandomTexts(seed, 1, length).front();
}

struct Keyed {
    explicit Keyed(std::string k) : key(std::move(k)) { BuildCipherTables(tables, key); }
    std::string Encipher(std::string_view message, unsigned seed) const {
        SeededRandom random(seed);
        return EncipherBytes(tables, key, message, random);
    }
    std::string key;
    CipherTables tables;
};

std::vector<std::string> Receive(std::string_view batch, std::size_t readSize) {
    ReceiveAssembler assembler(Bzip2Api::Linked());
    std::vector<std::string> messages;
    for (std::size_t at = 0; at < batch.size(); at += readSize) {
        for (std::string& m : assembler.Feed(batch.substr(at, readSize)))
            messages.push_back(std::move(m));
    }
    EXPECT_EQ(assembler.ReceiveBuffer(), "");
    return messages;
}

std::size_t Count(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// --- cipher ---

TEST(DecipherBytes, UndoesTheClientCipher) {
    const std::vector<std::string> keys = {"ab", "Zq", "k3Y9pQ2x", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345",
                                           std::string("\xff\x00\x80\x7f", 4)};
    const std::vector<std::string> messages = {"", "A", "AccountLoadbob/pw 1", AllBytes(),
                                               RandomText(7, 1000)};
    for (const std::string& key : keys) {
        const Keyed k(key);
        for (const std::string& message : messages) {
            for (unsigned seed : {1u, 2u, 3u}) {
                EXPECT_EQ(DecipherBytes(k.tables, key, k.Encipher(message, seed)), message)
                    << "key size " << key.size() << ", message size " << message.size() << ", seed " << seed;
            }
        }
    }
}

TEST(DecipherBytes, TooShortGivesNothing) {
    const Keyed k("ab");
    EXPECT_EQ(DecipherBytes(k.tables, "ab", "12345"), "");
    EXPECT_EQ(DecipherBytes(k.tables, "a", "123456"), "");
    EXPECT_EQ(DecipherMessage(k.tables, "ab", "12345"), std::nullopt);
}

TEST(DecipherMessage, AcceptsTextOnly) {
    const Keyed k("k3Y9pQ2x");
    const struct {
        std::string message;
        bool text;
    } cases[] = {
        {"Say hello", true},  {"caf\xe9 \xff", true},        {"", true},
        {"Say\x01hi", false}, {std::string(1, '\0'), false}, {"tab\there", false},
    };
    for (const auto& c : cases) {
        const auto got = DecipherMessage(k.tables, k.key, k.Encipher(c.message, 5));
        EXPECT_EQ(got.value_or("(not text)"), c.text ? c.message : "(not text)");
    }
}

// --- what clients send ---

struct Stream {
    std::string bytes;
    std::vector<std::string> messages;
};

// The messages enciphered and terminated one after another, with fillers that put no "%$" inside.
Stream PlainStream(const Keyed& k, const std::vector<std::string>& messages) {
    Stream s;
    unsigned seed = 100;
    for (const std::string& message : messages) {
        std::string cipher;
        do
            cipher = k.Encipher(message, seed++);
        while (cipher.find("%$") != std::string::npos);
        s.bytes += cipher + "%$";
        s.messages.push_back(message);
    }
    return s;
}

std::vector<std::string> FeedInReads(ClientSplitter& splitter, std::string_view bytes, std::size_t readSize) {
    std::vector<std::string> got;
    for (std::size_t at = 0; at < bytes.size(); at += readSize) {
        for (std::string& m : splitter.Feed(bytes.substr(at, readSize)))
            got.push_back(std::move(m));
    }
    return got;
}

TEST(ClientSplitter, MessagesComeThroughWhateverTheReads) {
    const Keyed k("k3Y9pQ2x");
    const Stream s =
        PlainStream(k, {"AccountLoadbob/pw 1", "", "caf\xe9", "50%", "$5", RandomText(3, 3000), "x"});
    for (std::size_t readSize :
         {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(7), s.bytes.size()}) {
        ClientSplitter splitter(k.key);
        EXPECT_EQ(FeedInReads(splitter, s.bytes, readSize), s.messages) << "reads of " << readSize;
        EXPECT_EQ(splitter.PendingBytes(), 0u);
        EXPECT_EQ(splitter.DroppedPieces(), 0u);
    }
}

// Enciphers the message with the first filler seed whose cipher bytes hold "%$" and whose pieces (before
// and after that "%$") pass `wanted`.
std::string
CipherWithChanceTerminator(const Keyed& k, const std::string& message,
                           const std::function<bool(std::string_view, std::string_view)>& wanted) {
    for (unsigned seed = 0; seed < 2000000; ++seed) {
        const std::string cipher = k.Encipher(message, seed);
        const auto at = cipher.find("%$");
        if (at != std::string::npos &&
            wanted(std::string_view(cipher).substr(0, at), std::string_view(cipher).substr(at + 2))) {
            return cipher;
        }
    }
    ADD_FAILURE() << "no filler puts \"%$\" into the cipher bytes";
    return {};
}

TEST(ClientSplitter, ChanceTerminatorInsideTheCipherBytes) {
    const Keyed k("Zq7Lm2Rt");
    const std::string message = "AccountLoadbob/pw 1";
    const std::string after = "Look";
    const Stream tail = PlainStream(k, {after});
    auto isText = [&](std::string_view piece) { return DecipherMessage(k.tables, k.key, piece).has_value(); };

    // The front piece is not text: it is joined with what follows, however the bytes arrive.
    const std::string notText =
        CipherWithChanceTerminator(k, message, [&](auto front, auto) { return !isText(front); });
    for (std::size_t readSize : {std::size_t(1), std::size_t(5), std::size_t(1000)}) {
        ClientSplitter splitter(k.key);
        EXPECT_EQ(FeedInReads(splitter, notText + "%$" + tail.bytes, readSize),
                  (std::vector<std::string>{message, after}))
            << "reads of " << readSize;
    }

    // The front piece is text by chance, the rest alone is not: arriving together, they are one message.
    const std::string text = CipherWithChanceTerminator(
        k, message, [&](auto front, auto rest) { return isText(front) && !isText(rest); });
    ClientSplitter splitter(k.key);
    EXPECT_EQ(splitter.Feed(text + "%$" + tail.bytes), (std::vector<std::string>{message, after}));
}

TEST(ClientSplitter, GarbageIsDroppedAndLaterMessagesComeThrough) {
    const Keyed k("k3Y9pQ2x");
    const std::vector<std::string> genuine = {
        "Say good morning to everybody here", "AccountLoadbob/pw 1 with more",
        "Look at the old oak door closely", "Quit the game right now please"};
    const Stream s = PlainStream(k, genuine);
    const std::string garbage = std::string("\x01\x02%$%$zz%$\xff\xfe\xfd%$", 14) + RandomText(9, 40) + "%$";
    ClientSplitter splitter(k.key);
    const std::vector<std::string> got = FeedInReads(splitter, garbage + s.bytes, 16);
    ASSERT_GE(got.size(), genuine.size());
    EXPECT_EQ(std::vector<std::string>(got.end() - std::ptrdiff_t(genuine.size()), got.end()), genuine);
    EXPECT_GT(splitter.DroppedPieces(), 0u);
    EXPECT_FALSE(splitter.Overflowed());
}

TEST(ClientSplitter, PendingBytesAreBounded) {
    const Keyed k("k3Y9pQ2x");
    const std::string read(64 * 1024, 'x');

    // Unterminated bytes past the bound are dropped.
    ClientSplitter flood(k.key);
    std::size_t fed = 0;
    while (fed <= kMaxPendingClientBytes) {
        EXPECT_FALSE(flood.Overflowed());
        EXPECT_TRUE(flood.Feed(read).empty());
        fed += read.size();
    }
    EXPECT_TRUE(flood.Overflowed());
    EXPECT_EQ(flood.PendingBytes(), 0u);

    // The bound is on what waits, not on what passes through.
    std::vector<std::string> many;
    for (unsigned i = 0; many.size() * 1000 < 2 * kMaxPendingClientBytes; ++i)
        many.push_back(RandomText(i, 1000));
    const Stream s = PlainStream(k, many);
    ClientSplitter busy(k.key);
    EXPECT_EQ(FeedInReads(busy, s.bytes, 64 * 1024), many);
    EXPECT_FALSE(busy.Overflowed());
}

// --- keys ---

TEST(MakeCipherKey, EightToThirtyTwoLettersAndDigits) {
    struct Fixed final : RandomSource {
        bool high;
        explicit Fixed(bool h) : high(h) {}
        int Between(int lo, int hi) override { return high ? hi : lo; }
    };
    Fixed low(false), high(true);
    EXPECT_EQ(MakeCipherKey(low), "AAAAAAAA");
    EXPECT_EQ(MakeCipherKey(high), std::string(32, '9'));
    EXPECT_EQ(MakeKeycodeMessage("59", "AAAAAAAA"), "KEYCODE 59AAAAAAAA");
}

// --- what the server sends ---

TEST(CompressChunk, ClientDecompressesIt) {
    const std::string text = "Welcome to the inn.%$The fire crackles.%$" + RandomText(1, 5000) + "%$";
    const auto chunk = CompressChunk(text);
    ASSERT_TRUE(chunk);
    EXPECT_TRUE(chunk->starts_with("&SY"));
    EXPECT_LT(chunk->size(), text.size());
    EXPECT_EQ(Receive(*chunk + "{[}]", chunk->size() + 4),
              (std::vector<std::string>{"Welcome to the inn.", "The fire crackles.", RandomText(1, 5000)}));
}

TEST(CompressChunk, RefusesWhatTheClientCannotRead) {
    EXPECT_EQ(CompressChunk(""), std::nullopt);
    EXPECT_EQ(CompressChunk(std::string("ab\0cd%$", 7)), std::nullopt); // the client stops at a zero byte
}

std::vector<std::string> ManyMessages(std::size_t totalBytes) {
    std::vector<std::string> messages;
    std::size_t size = 0;
    for (unsigned i = 0; size < totalBytes; ++i) {
        messages.push_back("Room " + std::to_string(i) + ": a narrow passage. " +
                           RandomText(i, 50 + i % 400));
        size += messages.back().size();
    }
    return messages;
}

TEST(MakeBatch, ManyMessagesComeBackInBothForms) {
    const std::vector<std::string> messages = ManyMessages(150 * 1024);
    for (bool compress : {true, false}) {
        const std::string batch = MakeBatch(messages, compress);
        EXPECT_TRUE(batch.ends_with("{[}]"));
        EXPECT_EQ(Count(batch, "{[}]"), 1u);
        // Compressed, each chunk of at most 32 KB of text opens with "&SY"; plain, there is one chunk.
        EXPECT_EQ(Count(batch, "&SY") >= 150u / 32u, compress);
        for (std::size_t readSize : {std::size_t(1000), batch.size()}) {
            EXPECT_EQ(Receive(batch, readSize), messages)
                << "compress " << compress << ", reads of " << readSize;
        }
    }
}

TEST(MakeBatch, ChunkThatCannotGoCompressedGoesPlain) {
    // Text whose bzip2 stream holds a framing sequence (found by search; bzip2 output is deterministic).
    const std::vector<std::string> awkward = RandomTexts(4888, 8, 500);
    std::string awkwardText;
    for (const std::string& message : awkward)
        awkwardText += message + "%$";
    ASSERT_EQ(CompressChunk(awkwardText), std::nullopt);

    const std::string big(kMaxChunkText - 100, 'a'); // fills a chunk of its own, compresses well
    const struct {
        const char* name;
        bool bigFirst;
    } cases[] = {{"awkward chunk first", false}, {"awkward chunk after another", true}};
    for (const auto& c : cases) {
        std::vector<std::string> messages = awkward;
        if (c.bigFirst) messages.insert(messages.begin(), big);
        messages.push_back(big);
        const std::string batch = MakeBatch(messages, true);
        const auto plainAt = batch.find(awkwardText);
        ASSERT_NE(plainAt, std::string::npos) << c.name;
        if (c.bigFirst) {
            EXPECT_EQ(batch.compare(plainAt - 3, 3, "&SY"), 0) << c.name;
        } else {
            EXPECT_EQ(plainAt, 0u) << c.name;
        }
        EXPECT_EQ(Receive(batch, batch.size()), messages) << c.name;
    }
}

TEST(BatchMaker, BatchesThatArriveTogetherComeBackWhole) {
    // The client joins batches that arrive in one read; every order of the two forms must survive that.
    const std::vector<std::string> first = {"The door opens.", "A draught blows in."};
    const std::vector<std::string> second = {"Goodbye."};
    const struct {
        bool firstCompressed, emptyBetween, secondCompressed;
    } cases[] = {{true, false, false},
                 {true, true, false},
                 {false, false, true},
                 {true, false, true},
                 {false, false, false}};
    for (const auto& c : cases) {
        BatchMaker maker;
        std::string bytes = maker.Make(first, c.firstCompressed);
        if (c.emptyBetween) bytes += maker.Make({}, true);
        bytes += maker.Make(second, c.secondCompressed);
        std::vector<std::string> expected = first;
        expected.insert(expected.end(), second.begin(), second.end());
        EXPECT_EQ(Receive(bytes, bytes.size()), expected)
            << c.firstCompressed << c.emptyBetween << c.secondCompressed;
    }
    EXPECT_EQ(MakeBatch({"KEYCODE 59abcDEF12"}, false), "KEYCODE 59abcDEF12%${[}]");
}

TEST(MakeBatch, RefusesMessagesTheFramingCannotCarry) {
    const std::string refused[] = {"", "a%$b", "a&SYb", "x{[}]", std::string("a\0b", 3)};
    for (const std::string& message : refused) {
        for (bool compress : {true, false}) {
            EXPECT_THROW(MakeBatch({"fine", message}, compress), std::invalid_argument) << message;
        }
    }
    EXPECT_EQ(MakeBatch({}, true), "{[}]");
}

} // namespace
} // namespace gr::dev
