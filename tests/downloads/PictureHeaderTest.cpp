// What a picture is before any decoder sees it: the four formats read from their own headers, and
// everything else (other formats, cut headers, sizes of nothing or past the bound) refused.
#include "downloads/PictureHeader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace gr {
namespace {

std::string Be16(unsigned v) {
    return {char(v >> 8 & 0xFF), char(v & 0xFF)};
}
std::string Le16(unsigned v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF)};
}
std::string Be32(unsigned v) {
    return Be16(v >> 16) + Be16(v & 0xFFFF);
}
std::string Le32(unsigned v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

// A JPEG start: SOI, an APP0 segment, then a frame header of the given kind with the size.
std::string Jpeg(unsigned width, unsigned height, unsigned char frame = 0xC0) {
    const std::string app0 =
        std::string("\xFF\xE0", 2) + Be16(16) + std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
    const std::string sof = std::string("\xFF", 1) + char(frame) + Be16(11) + "\x08" + Be16(height) +
                            Be16(width) + std::string("\x01\x01\x11\x00", 4);
    return std::string("\xFF\xD8", 2) + app0 + sof;
}
std::string Png(unsigned width, unsigned height) {
    return std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
           std::string("\x08\x02\0\0\0", 5) + Be32(0) + Be32(0) + "IEND" + Be32(0);
}
std::string Gif(unsigned width, unsigned height) {
    return "GIF89a" + Le16(width) + Le16(height) + std::string("\0\0\0", 3);
}
std::string Bmp(unsigned header, unsigned width, unsigned height) {
    const std::string sides = header == 12 ? Le16(width) + Le16(height) : Le32(width) + Le32(height);
    return "BM" + Le32(1000) + Le32(0) + Le32(54) + Le32(header) + sides + std::string(24, '\0');
}

TEST(PictureHeader, ReadsTheFourFormatsFromTheirOwnHeaders) {
    struct Case {
        const char* what;
        std::string bytes;
        PictureFormat format;
        int width, height;
    };
    const Case cases[] = {
        {"baseline JPEG", Jpeg(640, 480), PictureFormat::Jpeg, 640, 480},
        {"progressive JPEG", Jpeg(32, 48, 0xC2), PictureFormat::Jpeg, 32, 48},
        {"JPEG with fill bytes and a table before the frame",
         std::string("\xFF\xD8\xFF\xFF\xC4", 5) + Be16(4) + "ab" + Jpeg(10, 20).substr(2),
         PictureFormat::Jpeg, 10, 20},
        {"PNG", Png(64, 32), PictureFormat::Png, 64, 32},
        {"GIF", Gif(16, 17), PictureFormat::Gif, 16, 17},
        {"BMP", Bmp(40, 100, 50), PictureFormat::Bmp, 100, 50},
        {"BMP stored top down", Bmp(40, 100, unsigned(-50)), PictureFormat::Bmp, 100, 50},
        {"BMP with the old short header", Bmp(12, 30, 40), PictureFormat::Bmp, 30, 40},
        {"BMP with the long header", Bmp(124, 30, 40), PictureFormat::Bmp, 30, 40},
        {"at the bound", Png(2048, 2048), PictureFormat::Png, 2048, 2048},
    };
    for (const Case& c : cases) {
        const auto header = ReadPictureHeader(c.bytes, 2048);
        ASSERT_TRUE(header) << c.what;
        EXPECT_EQ(c.format, header->Format) << c.what;
        EXPECT_EQ(c.width, header->Width) << c.what;
        EXPECT_EQ(c.height, header->Height) << c.what;
    }
}

TEST(PictureHeader, RefusesWhatIsNoneOfThemOrClaimsTooMuchOrNothing) {
    for (const char* name :
         {"png-text-chunk-claims-2g", "png-ztxt-chunk-claims-2g", "jpeg-progressive-many-empty-scans-60k"}) {
        std::ifstream file(std::string(GLOAMREST_FUZZ_DIR "/corpus/fuzz_picture_header/") + name,
                           std::ios::binary);
        ASSERT_TRUE(file) << name;
        EXPECT_FALSE(ReadPictureHeader(
            std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()), 2048))
            << name;
    }
    std::string icon("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14);
    icon += Le32(100) + Le32(22) + Png(5700, 5700);
    const std::string jpeg = Jpeg(640, 480);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"nothing", ""},
        {"an icon around a large PNG", icon},
        {"an error page", "<html><body>Not found</body></html>"},
        {"a vector picture", "<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'/>"},
        {"JPEG past the bound", Jpeg(2049, 10)},
        {"PNG past the bound", Png(10, 5700)},
        {"PNG wider than an int", Png(0x80000000u, 10)},
        {"GIF past the bound", Gif(65535, 1)},
        {"BMP past the bound", Bmp(40, 3000, 1)},
        {"BMP of negative width", Bmp(40, unsigned(-5), 5)},
        {"BMP with an unknown header", Bmp(20, 5, 5)},
        {"zero wide", Png(0, 10)},
        {"zero high JPEG (its height in a later marker)", Jpeg(10, 0)},
        {"JPEG cut inside its frame header", jpeg.substr(0, jpeg.size() - 9)},
        {"JPEG cut inside a segment length", jpeg.substr(0, 5)},
        {"JPEG with a segment running past the end", std::string("\xFF\xD8\xFF\xE0\xFF\xFF", 6)},
        {"JPEG whose scan comes before any frame", std::string("\xFF\xD8\xFF\xDA", 4) + Be16(8) + "abcdef"},
        {"JPEG ending before any frame", std::string("\xFF\xD8\xFF\xD9", 4)},
        {"JPEG with a segment length below its own size", std::string("\xFF\xD8\xFF\xE0\0\1", 6)},
        {"PNG whose first chunk is not its header", Png(5, 5).replace(12, 4, "IDAT")},
        {"PNG cut short", Png(5, 5).substr(0, 20)},
        {"PNG cut inside its header chunk", Png(5, 5).substr(0, 30)},
        {"PNG with a chunk claiming more than the file", Png(5, 5).insert(33, Be32(0x7FFFFFFF) + "tEXt")},
        {"JPEG of more scans than any picture has",
         [] {
             std::string jpeg = Jpeg(64, 64, 0xC2);
             for (int i = 0; i <= kMaxJpegScans; ++i)
                 jpeg += std::string("\xFF\xDA", 2) + Be16(8) + std::string("\x01\x01\x00\x00\x00\x00", 6);
             return jpeg + "\xFF\xD9";
         }()},
        {"GIF cut short", Gif(5, 5).substr(0, 8)},
        {"BMP cut short", Bmp(40, 5, 5).substr(0, 25)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(ReadPictureHeader(c.bytes, 2048)) << c.what;
}

} // namespace
} // namespace gr
