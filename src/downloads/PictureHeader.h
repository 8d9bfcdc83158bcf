#pragma once
// What a picture from outside is before any decoder sees it: its format and its size as its own header
// gives them. The game's pictures, skins and previews come as JPEG; PNG, GIF and BMP files are read too.
// Anything else (an icon, a vector picture, a container of other pictures whose outer header claims one
// size and whose inner picture has another) is refused here, so the image readers are only ever asked to
// decode one of these four formats at a size that was checked.
#include <optional>
#include <string_view>

namespace gr {

enum class PictureFormat { Jpeg, Png, Gif, Bmp };

struct PictureHeader {
    PictureFormat Format = PictureFormat::Jpeg;
    int Width = 0;
    int Height = 0;
};

// The format and size of the picture in bytes, or nothing when it is none of the four formats, its header
// is cut short or malformed, or either side is 0 or larger than maxSide.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes, int maxSide);

// The image reader's name of the format: "jpeg", "png", "gif", "bmp".
const char* PictureFormatName(PictureFormat format);

} // namespace gr
