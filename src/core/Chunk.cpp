#include "core/Chunk.h"

#include <algorithm>
#include <cstdlib>

namespace gr {

namespace {
// The output buffer starts at this size and doubles when a chunk needs more; most chunks fit at once.
constexpr std::size_t kFirstOutputSize = 64u * 1024u;
// A stream asks for two blocks; a handful more covers every size the library uses.
constexpr std::size_t kMaxPooledBlocks = 8;
} // namespace

ChunkDecompressor::~ChunkDecompressor() {
    for (const Block& block : Pool) std::free(block.Memory);
}

void* ChunkDecompressor::Allocate(void* self, int items, int size) {
    auto& pool = static_cast<ChunkDecompressor*>(self)->Pool;
    const std::size_t bytes = static_cast<std::size_t>(items) * static_cast<std::size_t>(size);
    for (Block& block : pool) {
        if (!block.InUse && block.Size == bytes) {
            block.InUse = true;
            return block.Memory;
        }
    }
    void* memory = std::malloc(bytes);
    if (memory && pool.size() < kMaxPooledBlocks) pool.push_back({memory, bytes, true});
    return memory;
}

void ChunkDecompressor::Release(void* self, void* memory) {
    for (Block& block : static_cast<ChunkDecompressor*>(self)->Pool) {
        if (block.Memory == memory) {
            block.InUse = false;
            return;
        }
    }
    std::free(memory);
}

std::string_view ChunkDecompressor::Decompress(std::string_view head, std::string_view rest, int& status) {
    if (!Api.Complete()) {
        status = BZ_CONFIG_ERROR;
        return {};
    }
    bz_stream bz{};
    bz.bzalloc = &ChunkDecompressor::Allocate;
    bz.bzfree = &ChunkDecompressor::Release;
    bz.opaque = this;
    status = Api.DecompressInit(&bz, 0, 0);
    if (status != BZ_OK) return {};
    if (Out.empty()) Out.resize(std::min(kFirstOutputSize, MaxOutput));
    std::size_t written = 0;
    // The head goes in first and the rest after it, so that neither is copied to join them.
    bz.next_in = const_cast<char*>(head.data());
    bz.avail_in = static_cast<unsigned>(head.size());
    bool restGiven = false;
    do {
        if (bz.avail_in == 0 && !restGiven) {
            bz.next_in = const_cast<char*>(rest.data());
            bz.avail_in = static_cast<unsigned>(rest.size());
            restGiven = true;
        }
        if (written == Out.size()) {
            if (Out.size() >= MaxOutput) break; // cut at the bound
            Out.resize(std::min(Out.size() * 2, MaxOutput));
        }
        const std::size_t room = std::min(Out.size(), MaxOutput) - written;
        bz.next_out = Out.data() + written;
        bz.avail_out = static_cast<unsigned>(room);
        const unsigned inBefore = bz.avail_in;
        status = Api.Decompress(&bz);
        const std::size_t produced = room - bz.avail_out;
        written += produced;
        // Without more input, a call that neither reads nor writes means the stream is truncated: keep
        // what was written.
        if (status == BZ_OK && restGiven && bz.avail_in == inBefore && produced == 0) break;
    } while (status == BZ_OK);
    Api.DecompressEnd(&bz);
    return std::string_view(Out).substr(0, written);
}

std::string_view ChunkDecompressor::Chunk(std::string_view chunk) { return TextOfStream("BZh91AY", chunk); }

std::string_view ChunkDecompressor::BareChunk(std::string_view chunk) { return TextOfStream("BZh91AY&SY", chunk); }

std::string_view ChunkDecompressor::TextOfStream(std::string_view head, std::string_view rest) {
    int status = 0;
    const std::string_view text = Decompress(head, rest, status);
    return text.substr(0, text.find('\0'));
}

int BzipDecompress(const Bzip2Api& api, std::string& bytes) {
    ChunkDecompressor decompressor(api);
    int status = 0;
    bytes = std::string(decompressor.Decompress({}, bytes, status));
    return status;
}

std::string DecompressChunk(const Bzip2Api& api, std::string_view chunk) {
    ChunkDecompressor decompressor(api);
    return std::string(decompressor.Chunk(chunk));
}

} // namespace gr
