#include "skin/SkinList.h"

#include <algorithm>

#include "core/SafeName.h"
#include "core/TextFields.h"

namespace gr {

namespace {


char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c | 0x20) : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

// Control characters as blanks, trimmed, cut to the bound.
std::string Value(std::string_view text, std::size_t bound) {
    std::string value(text);
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return std::string(TrimBlanks(value).substr(0, bound));
}

std::string WithName(std::string_view baseName, std::string_view prefix, std::string_view suffix) {
    if (!IsSkinBaseName(baseName)) return {};
    return std::string(prefix) + std::string(baseName) + std::string(suffix);
}

} // namespace

bool IsSkinBaseName(std::string_view name) {
    return name.size() <= kMaxSkinBaseNameBytes && IsSafeFileNamePart(name) &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

std::vector<SkinListEntry> ParseSkinList(std::string_view text) {
    text = text.substr(0, kMaxSkinListBytes);
    std::vector<SkinListEntry> entries;
    bool inEntry = false; // keys belong to the last entry; none before the first section or in a skipped one
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::string_view raw = text.substr(at, end - at);
        if (end < text.size() && text[end] == '\r') ++end;
        if (end < text.size() && text[end] == '\n') ++end;
        at = end;

        if (raw.size() > kMaxSkinListLineBytes) continue;
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            inEntry = false;
            if (line.back() != ']' || line.size() < 2) continue;
            const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
            const bool known = std::any_of(entries.begin(), entries.end(), [&](const SkinListEntry& e) {
                return EqualsNoCase(e.BaseName, name);
            });
            if (!IsSkinBaseName(name) || known || entries.size() >= kMaxSkinListEntries) continue;
            entries.push_back({std::string(name), std::string(name), {}});
            inEntry = true;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos) continue;
        SkinListEntry& current = entries.back();
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        if (EqualsNoCase(key, "Name")) {
            std::string name = Value(value, kMaxSkinDisplayNameBytes);
            current.Name = name.empty() ? current.BaseName : std::move(name);
        } else if (EqualsNoCase(key, "Description")) {
            current.Description = Value(value, kMaxSkinDescriptionBytes);
        }
    }
    return entries;
}

std::string SkinFileName(std::string_view baseName) {
    return WithName(baseName, "", ".skn");
}
std::string SkinPictureFileName(std::string_view baseName) {
    return WithName(baseName, "", ".jpg");
}
std::string SkinWebPath(std::string_view baseName) {
    return WithName(baseName, "/grskins/", ".skn");
}
std::string SkinPictureWebPath(std::string_view baseName) {
    return WithName(baseName, "/grskins/", ".jpg");
}

bool IsWholeSkinPicture(std::string_view bytes) {
    return !bytes.empty() && static_cast<unsigned char>(bytes.front()) == 255;
}
bool IsWholeSkinFile(std::string_view bytes) {
    return !bytes.empty() && bytes.front() == 'B';
}

} // namespace gr
