#pragma once
// The three entry points of libbz2 that chunk decompression uses. The client resolves them from the
// library at run time (it refuses to start without it); tests and tools may take them from the linked
// library directly.
#include <bzlib.h>

namespace gr {

struct Bzip2Api {
    decltype(&BZ2_bzDecompressInit) DecompressInit = nullptr;
    decltype(&BZ2_bzDecompress) Decompress = nullptr;
    decltype(&BZ2_bzDecompressEnd) DecompressEnd = nullptr;

    bool Complete() const { return DecompressInit && Decompress && DecompressEnd; }
    // The entry points of the libbz2 this binary links.
    static Bzip2Api Linked() { return {&BZ2_bzDecompressInit, &BZ2_bzDecompress, &BZ2_bzDecompressEnd}; }
};

} // namespace gr
