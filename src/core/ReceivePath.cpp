#include "core/ReceivePath.h"

#include <cstring>

#include "core/Chunk.h"

namespace gr {

namespace {
constexpr std::string_view kBatchEnd = "{[}]";
constexpr std::string_view kChunkSeparator = "&SY";
constexpr std::string_view kMessageEnd = "%$";

// Calls f on every piece of text between separators, in order, empty pieces included.
template <typename F> void ForEachPiece(std::string_view text, std::string_view separator, F&& f) {
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        if (at == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        f(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// Calls f on every non-empty message of a chunk's text, in order. Game text holds many a '%' (markup,
// field separators) but hardly a '$', so the scan looks for the '$' of "%$": one search per message.
template <typename F> void ForEachMessage(std::string_view text, F&& f) {
    static_assert(kMessageEnd.size() == 2);
    if (text.empty()) return;
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    const char* from = start;
    while (const void* found = std::memchr(from, kMessageEnd[1], static_cast<std::size_t>(end - from))) {
        const char* at = static_cast<const char*>(found);
        from = at + 1;
        // The '%' must follow the previous terminator, not be part of it.
        if (at == start || at[-1] != kMessageEnd[0]) continue;
        if (at - 1 > start) f(std::string_view(start, static_cast<std::size_t>(at - 1 - start)));
        start = from;
    }
    if (end > start) f(std::string_view(start, static_cast<std::size_t>(end - start)));
}
} // namespace

void SplitBatch(ChunkDecompressor& decompressor, std::string_view batch, const MessageSink& sink) {
    ForEachPiece(batch, kChunkSeparator, [&](std::string_view chunk) {
        if (chunk.empty()) return;
        const std::string_view text = decompressor.BareChunk(chunk);
        const std::string_view body = text.empty() ? chunk : text;
        ForEachMessage(body, [&](std::string_view message) { sink(message); });
    });
}

std::vector<std::string> ReceiveAssembler::Feed(std::string_view receivedText) {
    std::vector<std::string> messages;
    Feed(receivedText, [&](std::string_view message) { messages.emplace_back(message); });
    return messages;
}

void ReceiveAssembler::Feed(std::string_view receivedText, const MessageSink& sink) {
    // A terminator may straddle the old and the new text, so the search starts three bytes back.
    const std::size_t searchFrom = Pending.size() >= kBatchEnd.size() - 1 ? Pending.size() - (kBatchEnd.size() - 1) : 0;
    Pending.append(receivedText);
    // Only the new text can hold a terminator not seen before: searching it alone keeps a batch that
    // arrives in many small reads linear. The search runs forwards, skipping from one '{' to the next, and
    // keeps the last terminator found.
    const std::string_view fresh = std::string_view(Pending).substr(searchFrom);
    auto found = std::string_view::npos;
    for (auto at = fresh.find(kBatchEnd); at != std::string_view::npos;
         at = fresh.find(kBatchEnd, at + kBatchEnd.size()))
        found = at;
    if (found == std::string_view::npos) {
        if (Pending.size() > kMaxPendingBatchBytes) Pending.clear();
        return;
    }
    const std::size_t end = searchFrom + found + kBatchEnd.size();
    // The batch leaves the buffer even when handling it fails part way.
    struct EraseBatch {
        std::string& Text;
        std::size_t End;
        ~EraseBatch() { Text.erase(0, End); }
    } erase{Pending, end};
    // Each batch is split on its own: a batch that follows a compressed one in the same read must not become
    // trailing bytes of the other's stream. So what arrives does not depend on how the reads cut or join it.
    const std::string_view complete = std::string_view(Pending).substr(0, end - kBatchEnd.size());
    ForEachPiece(complete, kBatchEnd, [&](std::string_view batch) { SplitBatch(Decompressor, batch, sink); });
}

} // namespace gr
