#pragma once
// The skins of the local web host, made in code: for each, the skin file ("<name>.skn", 201 positional lines
// "Label=value" in Windows-1252 with CR LF line ends, every place in twips at the game window's design size
// of 11910 x 8970 twips) and its background picture ("<name>.jpg", 794 x 598 pixels) with a framed well
// behind each of the skin's panels and the skin's title where no control stands. The list "skins.ini" names
// them for the skin chooser. The client fetches all three from "/grskins/".
#include <QByteArray>
#include <QRect>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace gr::dev {

// Every skin there is: "dusk" keeps the game window's usual arrangement in warm colours, "harbour" puts the
// status across the top, the text window on the left and the panels on the right, in cool colours.
constexpr std::array<std::string_view, 2> kSkinNames = {"dusk", "harbour"};

constexpr int kSkinLineCount = 201;
constexpr int kSkinWidthTwips = 11910;
constexpr int kSkinHeightTwips = 8970;
constexpr int kSkinTwipsPerPixel = 15;
// The background picture's size: the design size in pixels.
constexpr int kSkinPictureWidth = kSkinWidthTwips / kSkinTwipsPerPixel;
constexpr int kSkinPictureHeight = kSkinHeightTwips / kSkinTwipsPerPixel;

// "skins.ini": a section per skin named by its base name, with Name= and Description=; CR LF line ends.
std::string MakeSkinList();
// The skin file of the named skin (names compared exactly); empty for any other name.
std::string MakeSkinFile(std::string_view name);
// The background picture's JPEG bytes; empty for any other name or when Qt cannot write JPEG.
QByteArray MakeSkinPicture(std::string_view name);

// Where the picture draws its framed wells and its title, in pixels of the picture; empty for other names.
// Every control of the skin stands inside one of the wells; none stands on the title.
std::vector<QRect> SkinWells(std::string_view name);
QRect SkinTitleArea(std::string_view name);

} // namespace gr::dev
