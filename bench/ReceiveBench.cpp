// The receive path against raw bzip2: framing, chunk splitting, message splitting and queueing around the
// decompressor should cost next to nothing. Both benchmarks report bytes per second of decompressed text.
#include <benchmark/benchmark.h>
#include <bzlib.h>

#include <string>
#include <vector>

#include "core/InQueue.h"
#include "core/ReceivePath.h"

namespace {

// A stretch of play: room text, status changes, chat, with the markup the server uses.
std::string ChunkText(int seed) {
    static const char* lines[] = {
        "}{FFFFFFThe Gloaming Road}{C0C0C0A cold wind drifts down from the hills; lanterns sway on their "
        "posts.",
        "HPChange%d/120",
        "}{00FF00Tamsin says, \"Meet me at the ferry before the bells.\"",
        "RoomObj%d^%%^Rusty lantern^%%^&H0080C0FF^%%^",
        "}{FFFF00You receive %d gold pieces.",
        "}{C0C0C0You hear the creak of a cart somewhere to the east.",
        "MPChange%d/80",
        "}{FF8000A gloam wolf snarls and circles you, looking for an opening.",
        "ExpChange%d",
    };
    std::string text;
    char buffer[256];
    for (int i = 0; text.size() < 6000; ++i) {
        std::snprintf(buffer, sizeof buffer, lines[(i + seed) % 9], (i * 37 + seed) % 1000);
        text += buffer;
        text += "%$";
    }
    return text;
}

std::string Compress(const std::string& text) {
    std::string out(text.size() + 1000, '\0');
    unsigned length = static_cast<unsigned>(out.size());
    BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(text.data()),
                             static_cast<unsigned>(text.size()), 9, 0, 0);
    out.resize(length);
    return out;
}

struct Corpus {
    std::vector<std::string> Streams; // whole bzip2 streams
    std::vector<std::string> Reads;   // the same chunks as batches of four, cut into 1460-byte reads
    std::size_t TextBytes = 0;

    Corpus() {
        std::string batch;
        for (int c = 0; c < 64; ++c) {
            const std::string text = ChunkText(c);
            TextBytes += text.size();
            Streams.push_back(Compress(text));
            batch += Streams.back().substr(7);
            if (c % 4 == 3) {
                batch += "{[}]";
                for (std::size_t at = 0; at < batch.size(); at += 1460)
                    Reads.push_back(batch.substr(at, 1460));
                batch.clear();
            }
        }
    }
};

const Corpus& TheCorpus() {
    static const Corpus corpus;
    return corpus;
}

void BM_ReceivePath(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    gr::ReceiveAssembler assembler(gr::Bzip2Api::Linked());
    gr::InQueue queue;
    std::string message;
    const gr::MessageSink sink = [&](std::string_view text) {
        if (!queue.Put(text)) state.SkipWithError("queue full");
    };
    for (auto _ : state) {
        for (const auto& read : corpus.Reads) {
            assembler.Feed(read, sink);
            // The dispatcher, with nothing to do per message, until the queue is empty.
            while (queue.TakeOldest(message))
                benchmark::DoNotOptimize(message.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.TextBytes));
}
BENCHMARK(BM_ReceivePath)->Unit(benchmark::kMillisecond);

void BM_RawDecompress(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    std::string out(64 * 1024, '\0');
    for (auto _ : state) {
        for (const auto& stream : corpus.Streams) {
            unsigned length = static_cast<unsigned>(out.size());
            BZ2_bzBuffToBuffDecompress(out.data(), &length, const_cast<char*>(stream.data()),
                                       static_cast<unsigned>(stream.size()), 0, 0);
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus.TextBytes));
}
BENCHMARK(BM_RawDecompress)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
