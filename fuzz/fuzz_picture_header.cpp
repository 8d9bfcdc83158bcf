// A picture's own header, read before any image reader sees the bytes: never a read past the end, a format
// only from its own signature, and sides that the bound alone decides on.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "Targets.h"
#include "downloads/PictureHeader.h"

namespace {

using gr::fuzz::Check;

bool Same(const std::optional<gr::PictureHeader>& a, const std::optional<gr::PictureHeader>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->Format == b->Format && a->Width == b->Width && a->Height == b->Height);
}

// The first bytes every file of the format starts with.
std::string_view Signature(gr::PictureFormat format) {
    switch (format) {
    case gr::PictureFormat::Jpeg:
        return "\xFF\xD8\xFF";
    case gr::PictureFormat::Png:
        return "\x89PNG\r\n\x1A\n";
    case gr::PictureFormat::Gif:
        return "GIF8";
    case gr::PictureFormat::Bmp:
        return "BM";
    }
    std::abort();
}

} // namespace

int gr::fuzz::PictureHeader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // With no bound to speak of, every side the header can state comes through, negative BMP heights
    // included (a picture stored top down).
    const auto unbounded = gr::ReadPictureHeader(bytes, INT_MAX);
    if (unbounded) {
        Check(unbounded->Width > 0 && unbounded->Height > 0);
        // The format is the one the file's signature names, so that the image reader it is handed to reads
        // the same bytes the check read.
        Check(bytes.starts_with(Signature(unbounded->Format)));
    }
    // The bound decides nothing but whether the sides are within it: the larger side just fits, one pixel
    // less refuses, and any other bound agrees with these two.
    const int longer = unbounded ? std::max(unbounded->Width, unbounded->Height) : 0;
    for (const int bound : {1, 256, 2048, 65535, longer, longer - 1}) {
        if (bound <= 0) continue;
        const auto bounded = gr::ReadPictureHeader(bytes, bound);
        Check(Same(bounded, unbounded && longer <= bound ? unbounded : std::nullopt));
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::PictureHeader)
