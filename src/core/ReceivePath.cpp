#include "core/ReceivePath.h"

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
} // namespace

void SplitBatch(const Bzip2Api& api, std::string_view batch, std::vector<std::string>& messages) {
    std::string compressed;
    ForEachPiece(batch, kChunkSeparator, [&](std::string_view chunk) {
        if (chunk.empty()) return;
        compressed.assign(kChunkSeparator).append(chunk);
        std::string text = DecompressChunk(api, compressed);
        const std::string_view body = text.empty() ? chunk : std::string_view(text);
        ForEachPiece(body, kMessageEnd, [&](std::string_view message) {
            if (!message.empty()) messages.emplace_back(message);
        });
    });
}

std::vector<std::string> ReceiveAssembler::Feed(std::string_view receivedText) {
    std::vector<std::string> messages;
    // A terminator may straddle the old and the new text, so the search starts three bytes back.
    const std::size_t searchFrom = Pending.size() >= kBatchEnd.size() - 1 ? Pending.size() - (kBatchEnd.size() - 1) : 0;
    Pending.append(receivedText);
    // Only the new text can hold a terminator not seen before: searching it alone keeps a batch that
    // arrives in many small reads linear.
    const auto found = std::string_view(Pending).substr(searchFrom).rfind(kBatchEnd);
    if (found == std::string_view::npos) {
        if (Pending.size() > kMaxPendingBatchBytes) Pending.clear();
        return messages;
    }
    const std::size_t end = searchFrom + found + kBatchEnd.size();
    std::string batch;
    batch.reserve(end);
    ForEachPiece(std::string_view(Pending).substr(0, end), kBatchEnd,
                 [&](std::string_view piece) { batch.append(piece); });
    Pending.erase(0, end);
    SplitBatch(Api, batch, messages);
    return messages;
}

} // namespace gr
