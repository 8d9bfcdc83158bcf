#pragma once
// The list of skins the game's web host offers, "/grskins/skins.ini", for the skin chooser, and the checks
// a downloaded skin passes before it is kept.
//
// The list is INI-like text, single-byte (Windows-1252), lines ended by CR LF (a lone CR or LF also ends a
// line). One section per skin; the section name is the skin's file base name, from which the two files
// follow: "<name>.skn" and "<name>.jpg", fetched from "/grskins/" and kept in "skins/".
//
//     ; comment (also "#")
//     [dark]
//     Name=Dark Ages
//     Description=Black stone, red letters.
//
// - A base name is 1 to kMaxSkinBaseNameBytes letters, digits, "_" and "-" (blanks around the brackets'
//   contents are dropped); a section with any other name is skipped with its keys, and so is a second
//   section whose name differs from an earlier one only in letter case (file names on the player's
//   system may not tell them apart).
// - Keys, before the first "=", are compared without regard to case and trimmed of blanks; values are
//   trimmed, control characters become blanks, and they are cut to their bound. "Name" is the name shown
//   (the base name when missing or empty), "Description" a line of text. Other keys are ignored, as are
//   keys before the first section, blank lines, comments, lines without "=" that are no section, and
//   lines longer than kMaxSkinListLineBytes.
// - Only the first kMaxSkinListBytes of the text are read and at most kMaxSkinListEntries skins are kept,
//   in the order of the file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

// A list the chooser can show at once, and lines a person writes: far larger is no list we serve.
constexpr std::size_t kMaxSkinListBytes = 64 * 1024;
constexpr std::size_t kMaxSkinListLineBytes = 512;
constexpr std::size_t kMaxSkinListEntries = 100;
constexpr std::size_t kMaxSkinBaseNameBytes = 40;
constexpr std::size_t kMaxSkinDisplayNameBytes = 48;
constexpr std::size_t kMaxSkinDescriptionBytes = 200;

struct SkinListEntry {
    std::string BaseName;
    std::string Name;
    std::string Description;
    bool operator==(const SkinListEntry&) const = default;
};

std::vector<SkinListEntry> ParseSkinList(std::string_view text);

// Letters, digits, "_" and "-", 1 to kMaxSkinBaseNameBytes long (and so a safe file name part).
bool IsSkinBaseName(std::string_view name);

// "<name>.skn" (the value of the Skin setting, kept in "skins/") and "<name>.jpg"; on the web host
// "/grskins/<name>.skn" and "/grskins/<name>.jpg". Empty for a name that is no skin base name.
std::string SkinFileName(std::string_view baseName);
std::string SkinPictureFileName(std::string_view baseName);
std::string SkinWebPath(std::string_view baseName);
std::string SkinPictureWebPath(std::string_view baseName);

// A downloaded skin is kept only when whole: its picture's first byte is 255, its skin file's first byte
// "B"; otherwise the chooser tells the player kSkinDownloadCorruptMessage.
bool IsWholeSkinPicture(std::string_view bytes);
// A skin's picture (the window's background and the chooser's preview) is at most this long and this
// large either way: a background for a large screen, never more.
inline constexpr std::size_t kMaxSkinPictureBytes = 4u << 20;
inline constexpr int kMaxSkinPictureSide = 4096;
bool IsWholeSkinFile(std::string_view bytes);
inline constexpr std::string_view kSkinDownloadCorruptMessage =
    "Download of skin was corrupt, try again shortly.";

} // namespace gr
