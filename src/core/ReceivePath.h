#pragma once
// Server to client framing: batches end with "{[}]", chunks inside a batch are separated by "&SY" (each a
// compressed stream or plain text), messages inside a chunk end with "%$". No length fields exist.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Bzip2Api.h"
#include "core/Chunk.h"

namespace gr {

// Text received without a batch terminator is kept up to this size; beyond it the server is flooding and
// the pending text is dropped, so a hostile server cannot make the client hold unbounded memory.
constexpr std::size_t kMaxPendingBatchBytes = 64u * 1024u * 1024u;

// Receives each message of a batch in turn; the text is valid only during the call.
using MessageSink = std::function<void(std::string_view)>;

// Turns one batch body (terminators already removed) into its messages: split on "&SY", each chunk
// decompressed or taken as plain text, split on "%$", empty pieces skipped.
void SplitBatch(ChunkDecompressor& decompressor, std::string_view batch, const MessageSink& sink);

// Gathers received text into complete batches. Everything up to the last "{[}]" seen is processed at once,
// batch by batch in order; the rest waits.
class ReceiveAssembler {
public:
    // maxChunkOutput: the bound on one chunk's text (see ChunkDecompressor).
    explicit ReceiveAssembler(Bzip2Api api, std::size_t maxChunkOutput = kMaxChunkOutput)
        : Decompressor(api, maxChunkOutput) {}
    // The library's entry points, once it has been loaded.
    void SetBzip2(Bzip2Api api) { Decompressor.SetApi(api); }

    // Adds the text of one receive event and hands the messages that are now complete to the sink, in order.
    void Feed(std::string_view receivedText, const MessageSink& sink);
    // The same, returning the messages.
    std::vector<std::string> Feed(std::string_view receivedText);

    const std::string& ReceiveBuffer() const { return Pending; }
    // Forgets text of an unfinished batch: a new connection starts clean.
    void Reset() { Pending.clear(); }

private:
    ChunkDecompressor Decompressor;
    std::string Pending;
};

} // namespace gr
