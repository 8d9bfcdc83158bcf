#pragma once
// What a picture from outside is before any decoder sees it: its format and its size as its own header
// gives them. The game's pictures, skins and previews come as JPEG; PNG, GIF and BMP files are read too.
// Anything else (an icon, a vector picture, a container of other pictures whose outer header claims one
// size and whose inner picture has another) is refused here, so the image readers are only ever asked to
// decode one of these four formats at a size that was checked.
#include <optional>
#include <string_view>

namespace gr {

// The most scans a JPEG picture may have: a progressive picture has about ten, one per pass over its
// coefficients and colours; each scan is a walk over the whole picture.
constexpr int kMaxJpegScans = 64;

enum class PictureFormat { Jpeg, Png, Gif, Bmp };

struct PictureHeader {
    PictureFormat Format = PictureFormat::Jpeg;
    int Width = 0;
    int Height = 0;
};

// The format and size of the picture in bytes, or nothing when it is none of the four formats, its header
// is cut short or malformed, or either side is 0 or larger than maxSide; a JPEG of more than kMaxJpegScans
// scans, and a PNG one of whose chunks runs past the end of the file.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes, int maxSide);

// The image reader's name of the format: "jpeg", "png", "gif", "bmp".
const char* PictureFormatName(PictureFormat format);

} // namespace gr
