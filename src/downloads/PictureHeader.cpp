#include "downloads/PictureHeader.h"

#include <cstdint>

namespace gr {

namespace {

std::uint32_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}
std::uint32_t BigEndian16(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) << 8 | Byte(bytes, at + 1);
}
std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    return BigEndian16(bytes, at) << 16 | BigEndian16(bytes, at + 2);
}
std::uint32_t LittleEndian16(std::string_view bytes, std::size_t at) {
    return Byte(bytes, at) | Byte(bytes, at + 1) << 8;
}
std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at) {
    return LittleEndian16(bytes, at) | LittleEndian16(bytes, at + 2) << 16;
}

std::optional<PictureHeader> Sized(PictureFormat format, std::int64_t width, std::int64_t height,
                                   int maxSide) {
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return std::nullopt;
    return PictureHeader{format, int(width), int(height)};
}

// The scans after the frame header: each scan makes the decoder walk every block of the picture once more,
// so a small file of many empty scans would cost seconds. Real progressive pictures have about ten.
bool FewScans(std::string_view bytes, std::size_t at) {
    int scans = 0;
    while (at + 1 < bytes.size()) {
        if (Byte(bytes, at) != 0xFF) { // entropy-coded data: on to the next marker
            ++at;
            continue;
        }
        const std::uint32_t marker = Byte(bytes, at + 1);
        if (marker == 0x00 || marker == 0xFF ||
            (marker >= 0xD0 && marker <= 0xD7)) { // stuffing, fill, restart
            at += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9) break; // the end of the picture
        if (marker == 0xDA && ++scans > kMaxJpegScans) return false;
        if (bytes.size() - at < 4) break;
        at += 2 + BigEndian16(bytes, at + 2); // the segment; a scan's data follows its header
    }
    return true;
}

// The size from the first frame header (SOF), found by walking the segments from the start of the file.
std::optional<PictureHeader> Jpeg(std::string_view bytes, int maxSide) {
    std::size_t at = 2;
    for (;;) {
        if (at >= bytes.size() || Byte(bytes, at) != 0xFF) return std::nullopt;
        while (at < bytes.size() && Byte(bytes, at) == 0xFF) // fill bytes before a marker
            ++at;
        if (at >= bytes.size()) return std::nullopt;
        const std::uint32_t marker = Byte(bytes, at++);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue; // markers without a segment
        // The end of the picture, or its scan data, before any frame header: not a picture.
        if (marker == 0xD9 || marker == 0xDA || marker == 0x00 || bytes.size() - at < 2) return std::nullopt;
        const std::uint32_t length = BigEndian16(bytes, at);
        if (length < 2 || length > bytes.size() - at) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || !FewScans(bytes, at + length)) return std::nullopt;
            return Sized(PictureFormat::Jpeg, BigEndian16(bytes, at + 5), BigEndian16(bytes, at + 3),
                         maxSide);
        }
        at += length;
    }
}

// Every chunk, up to the last ("IEND"), within the file: the reader takes a chunk's length on trust and
// reserves it before it reads (a text chunk that claims gigabytes is gigabytes of memory).
bool ChunksWithin(std::string_view bytes) {
    std::size_t at = 8;
    while (bytes.size() - at >= 12) {
        const std::uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) return false;
        if (bytes.substr(at + 4, 4) == "IEND") return true;
        at += 12 + length;
    }
    return at == bytes.size(); // no end chunk: left to the reader; cut inside a chunk's frame: refused
}

// The size from the image header, which must be the first chunk.
std::optional<PictureHeader> Png(std::string_view bytes, int maxSide) {
    if (bytes.size() < 24 || BigEndian32(bytes, 8) != 13 || bytes.substr(12, 4) != "IHDR" ||
        !ChunksWithin(bytes))
        return std::nullopt;
    return Sized(PictureFormat::Png, BigEndian32(bytes, 16), BigEndian32(bytes, 20), maxSide);
}

// The logical screen: every frame is drawn clipped to it.
std::optional<PictureHeader> Gif(std::string_view bytes, int maxSide) {
    if (bytes.size() < 10) return std::nullopt;
    return Sized(PictureFormat::Gif, LittleEndian16(bytes, 6), LittleEndian16(bytes, 8), maxSide);
}

// The information header: the old 12-byte form with 16-bit sides, or one of the 40-byte and longer forms
// with signed 32-bit sides (a negative height is a picture stored top down).
std::optional<PictureHeader> Bmp(std::string_view bytes, int maxSide) {
    if (bytes.size() < 26) return std::nullopt;
    const std::uint32_t header = LittleEndian32(bytes, 14);
    if (header == 12)
        return Sized(PictureFormat::Bmp, LittleEndian16(bytes, 18), LittleEndian16(bytes, 20), maxSide);
    if (header < 40 || header > 124 || bytes.size() < 26) return std::nullopt;
    const auto width = std::int64_t(std::int32_t(LittleEndian32(bytes, 18)));
    const auto height = std::int64_t(std::int32_t(LittleEndian32(bytes, 22)));
    return Sized(PictureFormat::Bmp, width, height < 0 ? -height : height, maxSide);
}

} // namespace

std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes, int maxSide) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return Jpeg(bytes, maxSide);
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return Png(bytes, maxSide);
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return Gif(bytes, maxSide);
    if (bytes.starts_with("BM")) return Bmp(bytes, maxSide);
    return std::nullopt;
}

const char* PictureFormatName(PictureFormat format) {
    switch (format) {
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Bmp:
        return "bmp";
    }
    return "";
}

} // namespace gr
