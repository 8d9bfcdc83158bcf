#pragma once
// The player's macros: thirteen texts with their auto-send flags (F1 to F12 and the "/s" prefix), four
// sets per character, each kept in a text file of 26 lines in the data folder. The file's bytes are the
// game's code page, the same bytes the macros hold, so nothing is converted on the way.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gr {

constexpr std::size_t kMacroRows = 13;
constexpr std::size_t kSpecialMacroRow = 12; // the "/s" prefix
constexpr int kMacroSets = 4;
// A macro is one input line, and a sysop's line may be this long; a longer line in a file is cut there.
constexpr std::size_t kMaxMacroTextBytes = 20000;
// A macro file holds 26 such lines at most; whatever lies beyond this is never read.
constexpr std::size_t kMaxMacroFileBytes = 26 * (kMaxMacroTextBytes + 2);

// Row r: {text, auto-send flag}. The flag is text; it counts as set when its leading number is exactly 1.
using MacroTable = std::array<std::array<std::string, 2>, kMacroRows>;

bool MacroFlagSet(std::string_view flag);

// "macros_" + name for the first server choice, "macros1_" + name for any other; nothing when the name
// (which the server chose) cannot safely be part of a file name: such a character keeps no macro files.
std::optional<std::string> MacroFilePrefix(std::string_view characterName, int serverIndex);
// "", "_1", "_2", "_3" for sets 0 to 3; the set of a suffix (0 for anything else).
std::string MacroSetSuffix(int set);
int MacroSetOf(std::string_view suffix);
std::string MacroFileName(std::string_view prefix, std::string_view suffix);

// Reads a file's bytes into the table: for each row a text line, then a flag line, until the bytes end or
// 13 rows are read. Lines end with CR LF (a lone CR or LF ends one too). A text whose flag line is missing
// keeps an empty flag; lines beyond the 26th are ignored; each line is cut at kMaxMacroTextBytes. Rows the
// file does not reach are left as they are. Returns the number of rows reached.
std::size_t ReadMacroFile(std::string_view bytes, MacroTable& table);

// The file for a table: for row 0 to 12 its text line and its flag line, each ending CR LF. A line break
// inside a text or flag would shift every row after it, so each one is written as a blank.
std::string MacroFileText(const MacroTable& table);
// The editor writes a check box's value as a number with a blank on either side (" 1 ").
std::string EditorFlag(bool set);
// A text as a macro can hold it: every CR and LF a blank.
std::string FlatMacroText(std::string_view text);

// "/macro <number> <text>", from the line as typed. Nothing when the command is refused without a word
// (no text part, a number that is not a whole one, a row above 13); throws RunTimeError when the number
// part is not a number at all, or is 0: then the line stays where it was typed.
struct MacroDefinition {
    std::size_t Row = 0;
    std::string Text;
    std::optional<std::string> Flag; // "0" or "1" when the text ended with "^0" or "^1"
};
std::optional<MacroDefinition> MacroCommand(std::string_view typed);

// "/macroset <n>": the set 0 to 3, or nothing for any other number.
std::optional<int> MacroSetCommand(std::string_view commandText);

} // namespace gr
