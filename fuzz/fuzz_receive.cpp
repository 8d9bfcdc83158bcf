// Server bytes through the receive path: the first byte says how long the reads are, the rest is cut into
// reads of that length; every message goes into the queue, which dispatcher ticks empty, each message
// recognised as both dispatchers recognise it. What arrives must not depend on how the reads cut the text:
// the messages taken out of the queue are exactly those of the whole text given in one read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Targets.h"
#include "core/DispatchTick.h"
#include "core/InQueue.h"
#include "core/ReceivePath.h"
#include "game/GameMessages.h"
#include "login/LoginMessages.h"

namespace {
// A chunk's text is cut at this bound here instead of the client's 16 MiB: the cut is the same code at any
// size, and a few mutated bytes of a compressed chunk often expand to megabytes, whose decompression (in the
// uninstrumented library) would otherwise take most of the time.
constexpr std::size_t kChunkOutputBound = 4 * 1024;

constexpr std::size_t kRecognisedMessages = 64;

// Made once: the decompressor keeps its working memory (megabytes) between chunks and inputs.
struct Receiver {
    gr::ReceiveAssembler Cut{gr::Bzip2Api::Linked(), kChunkOutputBound};
    gr::ReceiveAssembler Whole{gr::Bzip2Api::Linked(), kChunkOutputBound};
    gr::InQueue Queue;
    std::string Message;
    std::vector<std::string> Dispatched;
    std::vector<std::string> Expected;
};
} // namespace

int gr::fuzz::Receive(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static Receiver r;
    r.Cut.Reset();
    r.Whole.Reset();
    r.Queue.Clear();
    r.Dispatched.clear();
    r.Expected.clear();

    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t step = 1 + data[0] % 64; // the size of the reads
    bool dropped = false;
    const auto handle = [&](const std::string& m) {
        Check(!m.empty());
        // The first messages are recognised as both dispatchers do; all of them would cost most of the time
        // for a chunk that expands to thousands, and recognition has targets of its own (game, login).
        if (r.Dispatched.size() < kRecognisedMessages) {
            (void)gr::ClassifyGameMessage(m);
            (void)gr::ClassifyLoginMessage(m);
        }
        r.Dispatched.push_back(m);
        return true;
    };
    for (std::size_t at = 0; at < input.size(); at += step) {
        r.Cut.Feed(input.substr(at, step), [&](std::string_view m) { dropped |= !r.Queue.Put(m); });
        gr::DispatchTick(r.Queue, r.Message, handle);
    }
    while (r.Queue.HasMessages())
        gr::DispatchTick(r.Queue, r.Message, handle);
    Check(r.Queue.QueuedBytes() == 0);

    r.Whole.Feed(input, [&](std::string_view m) { r.Expected.emplace_back(m); });
    Check(r.Whole.ReceiveBuffer() == r.Cut.ReceiveBuffer());
    if (!dropped) Check(r.Dispatched == r.Expected);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Receive)
