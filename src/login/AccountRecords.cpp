#include "login/AccountRecords.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/CodePage.h"
#include "core/Numbers.h"
#include "core/SafeName.h"
#include "core/TextFields.h"

namespace gr {

namespace {
// How a column value sorts: whole numbers first, by value; then every other text, without regard to case.
// Comparing these keys is a strict weak ordering, which std::stable_sort needs (mixing numeric and text
// comparison pair by pair is not: "9" < "10" by value, "10" < "5a" and "5a" < "9" as text).
struct SortKey {
    bool text = false;
    std::int64_t number = 0;
    std::string lowered;
    bool operator<(const SortKey& other) const {
        if (text != other.text) return !text;
        return text ? lowered < other.lowered : number < other.number;
    }
};

SortKey KeyOf(const std::string& value) {
    if (const auto n = WholeNumber(value)) return SortKey{false, *n, {}};
    return SortKey{true, 0, LowerCase(value)};
}
} // namespace

CritGrid EmptyCritGrid() {
    return CritGrid(kCritRows);
}

std::optional<DisplayFields> ParseDisplay(std::string_view text) {
    const auto fields = SplitFields(text, "/");
    if (fields.size() < 3) return std::nullopt;
    DisplayFields display{std::string(fields[0]), std::string(fields[1]), {}};
    for (std::size_t i = 3; i < fields.size(); ++i)
        display.Records.emplace_back(fields[i]);
    return display;
}

void AppendCritRecords(CritGrid& table, const std::vector<std::string>& records) {
    std::size_t first = 0;
    while (first < table.size() && !table[first][0].empty())
        ++first;
    for (std::size_t j = 0; j < records.size() && first + j < table.size(); ++j) {
        const auto values = SplitFields(records[j], ":");
        if (values.size() != kCritColumns) continue;
        for (int c = 0; c < kCritColumns; ++c)
            table[first + j][std::size_t(c)] = std::string(values[std::size_t(c)]);
    }
}

bool RemoveCritRecord(CritGrid& table, std::string_view name) {
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const CritRecord& r) { return r[0] == name; });
    if (found == table.end()) return false;
    std::move(found + 1, table.end(), found);
    table.back() = CritRecord{};
    return true;
}

CritGrid BuildCritView(const CritGrid& table, std::string_view filter, int sortColumn) {
    CritGrid view;
    if (filter.empty()) {
        view = table;
    } else {
        const std::string prefix = LowerCase(filter);
        for (const auto& record : table)
            if (!record[0].empty() && LowerCase(record[0]).starts_with(prefix)) view.push_back(record);
        view.resize(kCritRows);
    }
    if (sortColumn >= 0 && sortColumn < kCritColumns) {
        const auto column = std::size_t(sortColumn);
        // Each record with its key; unused rows after every used one, in their order.
        std::vector<std::pair<SortKey, std::size_t>> order;
        std::vector<std::size_t> unused;
        for (std::size_t i = 0; i < view.size(); ++i) {
            if (view[i][0].empty())
                unused.push_back(i);
            else
                order.emplace_back(KeyOf(view[i][column]), i);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        CritGrid sorted;
        sorted.reserve(view.size());
        for (const auto& entry : order)
            sorted.push_back(std::move(view[entry.second]));
        for (const std::size_t i : unused)
            sorted.push_back(std::move(view[i]));
        view = std::move(sorted);
    }
    return view;
}

std::string TypedCharacter(const CritGrid& view, std::string_view typed) {
    const std::string prefix = LowerCase(typed);
    for (const auto& record : view)
        if (!record[0].empty() && LowerCase(record[0]).starts_with(prefix)) return record[0];
    return std::string(typed);
}

std::optional<std::string> PasswordRefusal(std::string_view password, std::string_view confirmation) {
    if (password != confirmation) return std::string("Password's don't match");
    if (password.size() < 10)
        return std::string("AccountErrorPassword has to be at least 10 characters long.");
    if (std::count_if(password.begin(), password.end(), [](char c) { return c >= '0' && c <= '9'; }) < 2)
        return std::string("AccountErrorPassword has to contain at least 2 numbers.");
    return std::nullopt;
}

std::vector<std::string> MacroFileNames(std::string_view characterName) {
    std::vector<std::string> names;
    if (!IsSafeFileNamePart(characterName)) return names;
    for (const char* prefix : {"macros_", "macros1_"})
        for (const char* suffix : {".txt", "_1.txt", "_2.txt", "_3.txt"})
            names.push_back(std::string(prefix).append(characterName).append(suffix));
    return names;
}

std::vector<std::string> CharacterSettingKeys(std::string_view characterName) {
    std::vector<std::string> keys;
    for (const char* prefix : {"LMB_", "RMB_", "SPR_", "SPB_", "SCR_"})
        keys.push_back(std::string(prefix).append(characterName));
    return keys;
}

} // namespace gr
