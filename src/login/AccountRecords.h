#pragma once
// The account's characters as the server lists them, and the account manager's rules over them: the
// "Display" list, the visible copy (filtered and sorted), transfers, password rules and the files that
// belong to a character.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

constexpr int kCritRows = 501; // rows 0 to 500
constexpr int kCritColumns = 6;
using CritRecord = std::array<std::string, kCritColumns>;
// Always kCritRows rows; an empty name (column 0) marks an unused row.
using CritGrid = std::vector<CritRecord>;
CritGrid EmptyCritGrid();

// The text after "Display", split on "/": account name, e-mail, an unused field, then one record per field.
struct DisplayFields {
    std::string AccountName;
    std::string Email;
    std::vector<std::string> Records;
};
// Nothing when the text has fewer than three fields.
std::optional<DisplayFields> ParseDisplay(std::string_view text);

// Stores the records from the first unused row on, record j in row first + j; a record that does not
// split on ":" into exactly six values leaves its row empty. Records beyond the last row are ignored.
void AppendCritRecords(CritGrid& table, const std::vector<std::string>& records);

// Removes the first record whose name equals name; the rows below move up. False when there is none.
bool RemoveCritRecord(CritGrid& table, std::string_view name);

// The visible copy: with an empty filter the table as it is, otherwise only the records whose name begins
// with the filter, compared without regard to case. Sorted by sortColumn (0-5) when one is given: a stable
// sort, whole numbers first by value, then other text without regard to case, unused rows last.
CritGrid BuildCritView(const CritGrid& table, std::string_view filter, int sortColumn);

// The character that Enter in the name box plays: the first listed match, or the typed text.
std::string TypedCharacter(const CritGrid& view, std::string_view typed);

// Why a new password is refused, or nothing when it is accepted.
std::optional<std::string> PasswordRefusal(std::string_view password, std::string_view confirmation);

// The character's macro files, or none when its name is not safe in a file name.
std::vector<std::string> MacroFileNames(std::string_view characterName);
// The per-character setting keys.
std::vector<std::string> CharacterSettingKeys(std::string_view characterName);

} // namespace gr
