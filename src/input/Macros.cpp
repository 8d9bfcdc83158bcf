#include "input/Macros.h"

#include <charconv>
#include <cmath>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/SafeName.h"
#include "core/TextFields.h"

namespace gr {

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number that fills the whole text: sign, digits, fraction, exponent ("12", "-3", "2.5", "1e1").
// Throws RunTimeError for anything else, OverflowError beyond the range of a double.
double WholeTextNumber(std::string_view text) {
    // from_chars takes no "+" sign.
    const std::size_t start = text.starts_with('+') ? 1 : 0;
    std::size_t i = start;
    if (start == 0 && text.starts_with('-')) ++i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            ++digits;
    if (digits == 0) throw RunTimeError("not a number");
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0) throw RunTimeError("not a number");
    }
    if (i != text.size()) throw RunTimeError("not a number");
    double value = 0;
    const char* first = text.data() + start;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) throw OverflowError("number too large");
    if (error != std::errc() || end != text.data() + text.size()) throw RunTimeError("not a number");
    return value;
}
} // namespace

bool MacroFlagSet(std::string_view flag) {
    return LeadingNumber(flag) == 1;
}

std::optional<std::string> MacroFilePrefix(std::string_view characterName, int serverIndex) {
    if (!IsSafeFileNamePart(characterName)) return std::nullopt;
    return std::string(serverIndex == 0 ? "macros_" : "macros1_").append(characterName);
}

std::string MacroSetSuffix(int set) {
    return set >= 1 && set < kMacroSets ? "_" + std::to_string(set) : "";
}

int MacroSetOf(std::string_view suffix) {
    for (int set = 1; set < kMacroSets; ++set)
        if (suffix == MacroSetSuffix(set)) return set;
    return 0;
}

std::string MacroFileName(std::string_view prefix, std::string_view suffix) {
    return std::string(prefix).append(suffix).append(".txt");
}

std::size_t ReadMacroFile(std::string_view bytes, MacroTable& table) {
    bytes = bytes.substr(0, kMaxMacroFileBytes);
    std::size_t at = 0;
    auto nextLine = [&] {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        std::string line(bytes.substr(at, std::min(end - at, kMaxMacroTextBytes)));
        at = end;
        if (at < bytes.size() && bytes[at] == '\r') ++at;
        if (at < bytes.size() && bytes[at] == '\n') ++at;
        return line;
    };
    std::size_t row = 0;
    for (; at < bytes.size() && row < kMacroRows; ++row) {
        table[row][0] = nextLine();
        // A file cut after a text line: the text counts, its flag is empty.
        table[row][1] = at < bytes.size() ? nextLine() : std::string();
    }
    return row;
}

std::string FlatMacroText(std::string_view text) {
    std::string flat(text);
    for (char& c : flat)
        if (c == '\r' || c == '\n') c = ' ';
    return flat;
}

std::string MacroFileText(const MacroTable& table) {
    std::string file;
    for (const auto& row : table)
        file += FlatMacroText(row[0]) + "\r\n" + FlatMacroText(row[1]) + "\r\n";
    return file;
}

std::string EditorFlag(bool set) {
    return set ? " 1 " : " 0 ";
}

std::optional<MacroDefinition> MacroCommand(std::string_view typed) {
    const std::string_view arguments = TextFrom(typed, 8);
    const std::size_t blank = arguments.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const std::string_view numberPart = arguments.substr(0, blank);
    std::string text(arguments.substr(blank + 1));
    const double number = LowerCase(numberPart) == "special" ? 13 : WholeTextNumber(numberPart);
    if (number != std::fabs(std::floor(number))) return std::nullopt;
    if (number == 0) throw RunTimeError("macro row out of range");
    if (number > double(kMacroRows)) return std::nullopt;
    MacroDefinition definition;
    definition.Row = std::size_t(number) - 1;
    // "^0" goes first, then "^1": a text ending "^1^0" loses both and sends at once.
    if (text.ends_with("^0")) {
        text.resize(text.size() - 2);
        definition.Flag = "0";
    }
    if (text.ends_with("^1")) {
        text.resize(text.size() - 2);
        definition.Flag = "1";
    }
    // What the file keeps is what the macro holds: one line.
    definition.Text = FlatMacroText(text);
    return definition;
}

std::optional<int> MacroSetCommand(std::string_view commandText) {
    const double set = LeadingNumber(TextFrom(commandText, 11)) - 1;
    for (int s = 0; s < kMacroSets; ++s)
        if (set == s) return s;
    return std::nullopt;
}

} // namespace gr
