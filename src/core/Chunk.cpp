#include "core/Chunk.h"

#include <algorithm>

namespace gr {

namespace {
// Output grows in steps of this size; most chunks fit in the first.
constexpr std::size_t kOutputStep = 256u * 1024u;
} // namespace

int BzipDecompress(const Bzip2Api& api, std::string& bytes) {
    if (!api.Complete()) {
        bytes.clear();
        return BZ_CONFIG_ERROR;
    }
    bz_stream stream{};
    int status = api.DecompressInit(&stream, 0, 0);
    if (status != BZ_OK) {
        bytes.clear();
        return status;
    }
    std::string out;
    std::size_t written = 0;
    stream.next_in = bytes.data();
    stream.avail_in = static_cast<unsigned>(bytes.size());
    do {
        if (written == out.size()) {
            if (out.size() >= kMaxChunkOutput) break; // cut at the bound
            out.resize(std::min(out.size() + kOutputStep, kMaxChunkOutput));
        }
        stream.next_out = out.data() + written;
        stream.avail_out = static_cast<unsigned>(out.size() - written);
        const unsigned inBefore = stream.avail_in;
        const std::size_t outBefore = written;
        status = api.Decompress(&stream);
        written = out.size() - stream.avail_out;
        // A call that neither reads nor writes means the stream is truncated: keep what was written.
        if (status == BZ_OK && stream.avail_in == inBefore && written == outBefore) break;
    } while (status == BZ_OK);
    api.DecompressEnd(&stream);
    out.resize(written);
    bytes = std::move(out);
    return status;
}

std::string DecompressChunk(const Bzip2Api& api, std::string_view chunk) {
    std::string bytes;
    bytes.reserve(7 + chunk.size());
    bytes.append("BZh91AY").append(chunk);
    BzipDecompress(api, bytes);
    const auto zero = bytes.find('\0');
    if (zero != std::string::npos) bytes.resize(zero);
    return bytes;
}

} // namespace gr
