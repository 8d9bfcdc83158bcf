#pragma once
// Decompression of one chunk of a server batch. The server sends a compressed chunk as a bzip2 stream
// without its first seven bytes "BZh91AY"; the "&SY" that follows them doubles as the chunk separator.
#include <string>
#include <string_view>
#include <vector>

#include "core/Bzip2Api.h"

namespace gr {

// A chunk never yields more than this: a few bytes of hostile input can expand to gigabytes, so the
// output is cut here.
constexpr std::size_t kMaxChunkOutput = 16u * 1024u * 1024u;

// Decompresses chunks one after another, reusing its buffers, so that the receive path costs no more than
// the decompressor itself.
class ChunkDecompressor {
public:
    // maxOutput: the bound on one chunk's text; kMaxChunkOutput unless a caller needs a smaller one.
    explicit ChunkDecompressor(Bzip2Api api, std::size_t maxOutput = kMaxChunkOutput) : Api(api), MaxOutput(maxOutput) {}
    ~ChunkDecompressor();
    ChunkDecompressor(const ChunkDecompressor&) = delete;
    ChunkDecompressor& operator=(const ChunkDecompressor&) = delete;
    void SetApi(Bzip2Api api) { Api = api; }

    // Decompresses a whole bzip2 stream, given as a head and the rest of it, at most MaxOutput bytes.
    // What the decompressor wrote before a failure is kept. The view is valid until the next call.
    // status: the last libbz2 status.
    std::string_view Decompress(std::string_view head, std::string_view rest, int& status);

    // The text of "&SY" + chunk: "BZh91AY" is put back in front and the stream decompressed; the text ends
    // at the first zero byte of the output (the server may pad its buffers with zeros). Empty when nothing
    // could be decompressed, in which case the caller takes the chunk as plain text.
    std::string_view Chunk(std::string_view chunk);
    // The same for a chunk as it stands between separators, without its "&SY".
    std::string_view BareChunk(std::string_view chunk);

private:
    std::string_view TextOfStream(std::string_view head, std::string_view rest);
    // The decompressor's working memory (a few megabytes per stream) is kept between chunks instead of
    // being allocated, faulted in and released for every one.
    struct Block {
        void* Memory;
        std::size_t Size;
        bool InUse;
    };
    static void* Allocate(void* self, int items, int size);
    static void Release(void* self, void* memory);

    Bzip2Api Api;
    std::size_t MaxOutput;
    std::vector<Block> Pool;
    std::string Out;
};

// Replaces bytes (a whole bzip2 stream) by its decompressed text; returns the last libbz2 status.
int BzipDecompress(const Bzip2Api& api, std::string& bytes);

// ChunkDecompressor::Chunk for a single chunk.
std::string DecompressChunk(const Bzip2Api& api, std::string_view chunk);

} // namespace gr
