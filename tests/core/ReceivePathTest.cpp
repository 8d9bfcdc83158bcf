// The receive path from raw socket text to queued messages, against streams made by the bzip2 tool and
// by libbz2.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/Chunk.h"
#include "core/InQueue.h"
#include "core/ReceivePath.h"

namespace gr {
namespace {

using Messages = std::vector<std::string>;

std::string ReadFixture(const char* name) {
    std::ifstream in(std::string(GLOAMREST_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A stream as the server sends it: without its first seven bytes "BZh91AY" (any block-size digit).
std::string ServerForm(const std::string& stream) { return stream.substr(7); }

std::string Compress(const std::string& text, int blockSize100k = 9) {
    std::string out(text.size() + text.size() / 100 + 600, '\0');
    unsigned length = static_cast<unsigned>(out.size());
    EXPECT_EQ(BZ_OK, BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(text.data()),
                                              static_cast<unsigned>(text.size()), blockSize100k, 0, 0));
    out.resize(length);
    return out;
}

std::string BigText() {
    std::string text;
    char line[64];
    for (int i = 0; i < 3000; ++i) {
        std::snprintf(line, sizeof line, "Line %05d of the long room description.%%$", i);
        text += line;
    }
    return text;
}

Messages Split(const std::string& text) {
    Messages out;
    std::size_t start = 0;
    for (auto at = text.find("%$"); at != std::string::npos; start = at + 2, at = text.find("%$", start))
        out.push_back(text.substr(start, at - start));
    return out;
}

Messages FeedAll(const std::vector<std::string>& reads, std::string* pending = nullptr) {
    ReceiveAssembler assembler(Bzip2Api::Linked());
    Messages all;
    for (const auto& read : reads)
        for (auto& m : assembler.Feed(read)) all.push_back(std::move(m));
    if (pending) *pending = assembler.ReceiveBuffer();
    return all;
}

struct FeedCase {
    const char* name;
    std::vector<std::string> reads;
    Messages expected;
    std::string pending;
};

TEST(ReceivePath, FramesBatchesChunksAndMessages) {
    const std::string hello = ServerForm(ReadFixture("hello.bz2"));
    const std::string zero = ServerForm(ReadFixture("zero.bz2"));
    const std::string lib = ServerForm(Compress("Gold: 12%$"));
    const std::vector<FeedCase> cases = {
        {"plain text, two messages", {"A%$B%${[}]"}, {"A", "B"}, ""},
        {"tool stream", {hello + "{[}]"}, {"Hello there", "You see a lantern."}, ""},
        {"libbz2 stream", {lib + "{[}]"}, {"Gold: 12"}, ""},
        {"batch split over reads", {hello.substr(0, 20), hello.substr(20) + "{[}]"},
         {"Hello there", "You see a lantern."}, ""},
        {"terminator split over reads", {"A%${[", "}]"}, {"A"}, ""},
        {"two batches in one read", {"A%${[}]" + lib + "{[}]"}, {"A", "Gold: 12"}, ""},
        {"plain batch after a compressed one in one read", {lib + "{[}]Plain%${[}]"}, {"Gold: 12", "Plain"}, ""},
        {"the same cut into reads otherwise", {lib + "{[}]Pl", "ain%${[}]"}, {"Gold: 12", "Plain"}, ""},
        {"compressed, plain, compressed", {lib + "{[}]P%${[}]" + lib + "{[}]"}, {"Gold: 12", "P", "Gold: 12"}, ""},
        {"complete batch before a partial one", {"A%${[}]B%$"}, {"A"}, "B%$"},
        {"partial batch completed later", {"A%${[}]B%$", "C%${[}]"}, {"A", "B", "C"}, ""},
        {"compressed then plain chunk", {lib + "&SYPlain%${[}]"}, {"Gold: 12", "Plain"}, ""},
        {"zero byte ends the chunk's text", {zero + "{[}]"}, {"Before", "Zero"}, ""},
        {"chunk that is not bzip2 is plain", {"&SYnot compressed%${[}]"}, {"not compressed"}, ""},
        {"empty chunks and messages skipped", {"&SY&SY%$%$X%$Y{[}]"}, {"X", "Y"}, ""},
        {"no terminator yet", {"A%$", "B%$"}, {}, "A%$B%$"},
    };
    for (const auto& c : cases) {
        std::string pending;
        EXPECT_EQ(c.expected, FeedAll(c.reads, &pending)) << c.name;
        EXPECT_EQ(c.pending, pending) << c.name;
    }
}

TEST(ReceivePath, MessagesHoldingPercentAndDollarSplitOnlyAtTheirEnd) {
    // Text with '%' and '$' of its own, next to terminators and at chunk ends; however the reads cut it, a
    // plain and a compressed chunk give the messages a plain search for "%$" finds.
    const std::string text = "$%$RoomObj1^%^Lantern^%^%%$50%% off$$%$%$%$100$%$a%b$c%$%$$%$%$end%";
    Messages expected;
    for (auto& m : Split(text + "%$"))
        if (!m.empty()) expected.push_back(m);
    ASSERT_EQ((Messages{"$", "RoomObj1^%^Lantern^%^%", "50%% off$$", "100$", "a%b$c", "$", "end%"}),
              expected);
    for (const std::string& batch : {"&SY" + text + "{[}]", ServerForm(Compress(text)) + "{[}]"}) {
        for (std::size_t readSize = 1; readSize <= batch.size(); readSize += 3) {
            std::vector<std::string> reads;
            for (std::size_t at = 0; at < batch.size(); at += readSize)
                reads.push_back(batch.substr(at, readSize));
            ASSERT_EQ(expected, FeedAll(reads)) << "reads of " << readSize;
        }
    }
}

TEST(ReceivePath, ChunkLargerThanFiftyThousandBytesArrivesWhole) {
    const Messages got = FeedAll({ServerForm(ReadFixture("big.bz2")) + "{[}]"});
    EXPECT_EQ(Split(BigText()), got);
    ASSERT_EQ(3000u, got.size());
    EXPECT_EQ("Line 02999 of the long room description.", got.back());
}

TEST(ReceivePath, TruncatedStreamKeepsWhatWasDecompressed) {
    // Three blocks of 100 000 bytes; cut inside the last one, the first two still come through.
    std::string text;
    for (int i = 0; text.size() < 250000; ++i) text += "Message " + std::to_string(i) + " of many%$";
    const std::string stream = ServerForm(Compress(text, 1));
    const std::string out = DecompressChunk(Bzip2Api::Linked(), stream.substr(0, stream.size() * 9 / 10));
    EXPECT_GE(out.size(), 100000u);
    EXPECT_LT(out.size(), text.size());
    EXPECT_EQ(text.substr(0, out.size()), out);
}

TEST(ReceivePath, DecompressionStopsAtTheBound) {
    const std::string stream = Compress(std::string(kMaxChunkOutput + 4096, 'x'));
    std::string bytes = stream;
    BzipDecompress(Bzip2Api::Linked(), bytes);
    EXPECT_EQ(kMaxChunkOutput, bytes.size());

    // A smaller bound given to the assembler cuts each chunk's text there, in a later batch as well.
    ReceiveAssembler assembler(Bzip2Api::Linked(), 1000);
    const std::string chunk = ServerForm(Compress(std::string(5000, 'y') + "%$"));
    for (int batch = 0; batch < 2; ++batch)
        EXPECT_EQ(Messages{std::string(1000, 'y')}, assembler.Feed(chunk + "{[}]"));
}

TEST(ReceivePath, UnterminatedFloodIsDropped) {
    ReceiveAssembler assembler(Bzip2Api::Linked());
    const std::string block(1024 * 1024, 'z');
    for (std::size_t sent = 0; sent <= kMaxPendingBatchBytes; sent += block.size()) assembler.Feed(block);
    EXPECT_LE(assembler.ReceiveBuffer().size(), kMaxPendingBatchBytes);
    EXPECT_EQ(Messages{"ok"}, assembler.Feed("ok%${[}]"));
}

TEST(ReceivePath, AFloodOfTinyMessagesStopsAtTheQueueBound) {
    // A small chunk that expands to millions of one-byte messages: the queue keeps what its memory bound
    // allows, oldest first, and no more.
    std::string flood;
    for (int i = 0; i < 2'000'000; ++i) flood += "x%$";
    const std::string chunk = ServerForm(Compress(flood));
    ASSERT_LT(chunk.size(), 4096u);
    ReceiveAssembler assembler(Bzip2Api::Linked());
    InQueue queue;
    std::size_t dropped = 0;
    assembler.Feed(chunk + "{[}]", [&](std::string_view m) { dropped += queue.Put(m) ? 0 : 1; });
    EXPECT_LE(queue.QueuedBytes(), kMaxQueuedBytes);
    EXPECT_GT(dropped, 0u);
    EXPECT_EQ(2'000'000u, queue.Size() + dropped);
}

} // namespace
} // namespace gr
