#pragma once
// The client's command line: "account/password/server/character'width'height/skin". The auto-updater and
// the account commands restart the client with it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

struct CommandLineFields {
    // Applied only when the line has at least three fields.
    std::optional<std::string> UserName;
    std::optional<std::string> Password;
    std::optional<int> ServerIndex; // the number at the start of field 3 (0 when none)
    // Applied only when the line has at least four fields.
    std::optional<std::string> AutoPlayCharacter; // lower-cased
    // Twips; set only when field 4 has exactly three "'"-parts and both start with a number of at most
    // 1,000,000 pixels (either sign).
    std::optional<int> StartWidth;
    std::optional<int> StartHeight;
    // Applied only when the line has at least five fields.
    std::optional<std::string> Skin;
};

// Joins the program's arguments with single blanks, as the line is handed to the client.
std::string JoinArguments(const std::vector<std::string>& arguments);

// Splits the line on "/" and reads its fields. The screen size (twips) caps the requested window size:
// a size larger than the screen becomes the screen's less 1500 twips.
CommandLineFields ParseCommandLine(std::string_view line, int screenWidthTwips, int screenHeightTwips);

} // namespace gr
