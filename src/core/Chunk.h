#pragma once
// Decompression of one chunk of a server batch. The server sends a compressed chunk as a bzip2 stream
// without its first seven bytes "BZh91AY"; the "&SY" that follows them doubles as the chunk separator.
#include <string>
#include <string_view>

#include "core/Bzip2Api.h"

namespace gr {

// A chunk never yields more than this: a few bytes of hostile input can expand to gigabytes, so the
// output is cut here.
constexpr std::size_t kMaxChunkOutput = 16u * 1024u * 1024u;

// Decompresses bytes (a whole bzip2 stream) and replaces them by the output, at most kMaxChunkOutput
// bytes. What the decompressor wrote before a failure is kept. Returns the last libbz2 status.
int BzipDecompress(const Bzip2Api& api, std::string& bytes);

// The text of "&SY" + chunk: "BZh91AY" is put back in front and the stream decompressed; the text ends at
// the first zero byte of the output (the server may pad its buffers with zeros). Empty when nothing could
// be decompressed, in which case the caller takes the chunk as plain text.
std::string DecompressChunk(const Bzip2Api& api, std::string_view chunk);

} // namespace gr
