#include "devserver/AccountStore.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace gr::dev {

namespace {

struct Starter {
    std::string_view Name;
    std::string_view Race;
    std::string_view Class;
    std::string_view Gender;
};

constexpr std::array<Starter, 12> kStarters = {{
    {"Aldric", "Human", "Warrior", "Male"},
    {"Brynn", "Dwarf", "Cleric", "Female"},
    {"Corwen", "Elf", "Ranger", "Male"},
    {"Dara", "Halfling", "Rogue", "Female"},
    {"Elowen", "Elf", "Mage", "Female"},
    {"Fenn", "Halfling", "Ranger", "Male"},
    {"Garrick", "Orc", "Warrior", "Male"},
    {"Hesper", "Human", "Mage", "Female"},
    {"Isolde", "Human", "Cleric", "Female"},
    {"Jorund", "Dwarf", "Warrior", "Male"},
    {"Kestra", "Orc", "Rogue", "Female"},
    {"Lorcan", "Elf", "Cleric", "Male"},
}};
constexpr int kMaxStarterLevel = 12;

// FNV-1a: fixed by its definition, so a name picks the same starters on every build.
std::uint32_t HashName(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

template <typename List> auto FindIn(List& characters, std::string_view name) {
    return std::find_if(characters.begin(), characters.end(),
                        [name](const CharacterRecord& c) { return c.Name == name; });
}

bool IsDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != 4 && i != 7 && (text[i] < '0' || text[i] > '9')) return false;
    }
    return true;
}

bool IsLastPlayed(std::string_view text) {
    return text == "Never" || IsDate(text);
}

bool IsFitPassword(std::string_view password) {
    return password.size() <= kMaxValueBytes && password.find('\0') == std::string_view::npos;
}

bool IsFitEmail(std::string_view email) {
    return email.size() <= kMaxValueBytes && IsFieldSafe(email);
}

// Printable ASCII except "%" goes as it is; every other byte (space, tab and line ends included) as %XX.
void AppendEscaped(std::string& out, std::string_view value) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && c != '%') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Undoes AppendEscaped. Other bytes are taken as they are, so a hand-edited line may hold them raw; a "%"
// not followed by two hex digits makes the field malformed.
std::optional<std::string> Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size()) return std::nullopt;
        const int high = HexDigit(field[i + 1]);
        const int low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>((high << 4) | low);
        i += 2;
    }
    return out;
}

// The fields of a line split at tabs and unescaped; nullopt when one is malformed.
std::optional<std::vector<std::string>> SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        std::optional<std::string> field = Unescape(line.substr(0, tab));
        if (!field) return std::nullopt;
        fields.push_back(std::move(*field));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::optional<int> ParseLevel(std::string_view text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int level = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        level = level * 10 + (c - '0');
    }
    if (level < 1 || level > kMaxLevel) return std::nullopt;
    return level;
}

std::optional<CharacterRecord> ParseCharacter(const std::vector<std::string>& f) {
    const std::optional<int> level = ParseLevel(f[3]);
    if (!IsFitName(f[2]) || !level || !IsFitName(f[4]) || !IsFitName(f[5]) ||
        (f[6] != "Male" && f[6] != "Female") || !IsLastPlayed(f[7])) {
        return std::nullopt;
    }
    int portrait = 0;
    if (f.size() == 9) {
        if (f[8].size() != 1 && f[8].size() != 2) return std::nullopt;
        for (const char c : f[8])
            if (c < '0' || c > '9') return std::nullopt;
        portrait = std::stoi(f[8]);
        if (portrait > kMaxPortrait) return std::nullopt;
    }
    return CharacterRecord{f[2], *level, f[4], f[5], f[6], f[7], portrait};
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

} // namespace

bool IsFieldSafe(std::string_view value) {
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == ':' || c == '/' || c == '^' || c == '%')
            return false;
    }
    return value.find("&SY") == std::string_view::npos && value.find("{[}]") == std::string_view::npos;
}

bool IsFitName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxNameBytes && IsFieldSafe(name);
}

const CharacterRecord* AccountRecord::Find(std::string_view character) const {
    const auto it = FindIn(Characters, character);
    return it == Characters.end() ? nullptr : &*it;
}

std::vector<CharacterRecord> StarterCharacters(std::string_view accountName) {
    const std::uint32_t hash = HashName(accountName);
    const std::size_t count = kStarters.size();
    const std::size_t first = hash % count;
    const std::size_t second = (first + 1 + (hash / count) % (count - 1)) % count;
    std::vector<CharacterRecord> result;
    for (const auto& [index, level] : {std::pair{first, 1 + int((hash >> 12) % kMaxStarterLevel)},
                                       std::pair{second, 1 + int((hash >> 22) % kMaxStarterLevel)}}) {
        const Starter& s = kStarters[index];
        result.push_back(CharacterRecord{std::string(s.Name), level, std::string(s.Race),
                                         std::string(s.Class), std::string(s.Gender), "Never"});
    }
    return result;
}

StoreResult AccountStore::Create(std::string_view name, std::string_view password) {
    if (name.empty()) return StoreResult::EmptyName;
    if (password.empty()) return StoreResult::EmptyPassword;
    if (!IsFitName(name)) return StoreResult::UnfitName;
    if (!IsFitPassword(password)) return StoreResult::UnfitValue;
    if (Find(name)) return StoreResult::NameTaken;
    if (Accounts.size() >= kMaxAccounts) return StoreResult::StoreFull;
    AccountRecord account{std::string(name), std::string(password), "", StarterCharacters(name)};
    Accounts.emplace(account.Name, std::move(account));
    return StoreResult::Ok;
}

const AccountRecord* AccountStore::Find(std::string_view name) const {
    const auto it = Accounts.find(name);
    return it == Accounts.end() ? nullptr : &it->second;
}

AccountRecord* AccountStore::FindMutable(std::string_view name) {
    const auto it = Accounts.find(name);
    return it == Accounts.end() ? nullptr : &it->second;
}

const AccountRecord* AccountStore::LogIn(std::string_view name, std::string_view password) const {
    const AccountRecord* account = Find(name);
    return account && account->Password == password ? account : nullptr;
}

StoreResult AccountStore::MarkPlayed(std::string_view account, std::string_view character,
                                     std::string_view date) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    const auto it = FindIn(a->Characters, character);
    if (it == a->Characters.end()) return StoreResult::NoCharacter;
    if (!IsDate(date)) return StoreResult::UnfitValue;
    it->LastPlayed = std::string(date);
    return StoreResult::Ok;
}

StoreResult AccountStore::Transfer(std::string_view account, std::string_view character,
                                   std::string_view toAccount) {
    AccountRecord* from = FindMutable(account);
    if (!from) return StoreResult::NoAccount;
    const auto it = FindIn(from->Characters, character);
    if (it == from->Characters.end()) return StoreResult::NoCharacter;
    AccountRecord* to = FindMutable(toAccount);
    if (!to) return StoreResult::NoTarget;
    if (to == from) return StoreResult::SameAccount;
    if (to->Find(character)) return StoreResult::NameClash;
    if (to->Characters.size() >= kMaxCharactersPerAccount) return StoreResult::TargetFull;
    to->Characters.push_back(std::move(*it));
    from->Characters.erase(it);
    return StoreResult::Ok;
}

StoreResult AccountStore::DeleteCharacter(std::string_view account, std::string_view character) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    const auto removed =
        std::erase_if(a->Characters, [character](const CharacterRecord& c) { return c.Name == character; });
    return removed == 0 ? StoreResult::NoCharacter : StoreResult::Ok;
}

StoreResult AccountStore::SetPassword(std::string_view account, std::string_view password) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    if (password.empty()) return StoreResult::EmptyPassword;
    if (!IsFitPassword(password)) return StoreResult::UnfitValue;
    a->Password = std::string(password);
    return StoreResult::Ok;
}

StoreResult AccountStore::SetEmail(std::string_view account, std::string_view email) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    if (!IsFitEmail(email)) return StoreResult::UnfitValue;
    a->Email = std::string(email);
    return StoreResult::Ok;
}

bool AccountStore::CharacterNameTaken(std::string_view name) const {
    for (const auto& [accountName, account] : Accounts)
        for (const CharacterRecord& c : account.Characters)
            if (SameIgnoringCase(c.Name, name)) return true;
    return false;
}

StoreResult AccountStore::AddCharacter(std::string_view account, CharacterRecord character) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    if (character.Name.empty()) return StoreResult::EmptyName;
    if (!IsFitName(character.Name) || !IsFitName(character.Race) || !IsFitName(character.Class) ||
        (character.Gender != "Male" && character.Gender != "Female") || character.Level < 1 ||
        character.Level > kMaxLevel || character.Portrait < 0 || character.Portrait > kMaxPortrait)
        return StoreResult::UnfitValue;
    if (CharacterNameTaken(character.Name)) return StoreResult::NameTaken;
    if (a->Characters.size() >= kMaxCharactersPerAccount) return StoreResult::TargetFull;
    a->Characters.push_back(std::move(character));
    return StoreResult::Ok;
}

StoreResult AccountStore::SetPortrait(std::string_view account, std::string_view character, int portrait) {
    AccountRecord* a = FindMutable(account);
    if (!a) return StoreResult::NoAccount;
    const auto it = FindIn(a->Characters, character);
    if (it == a->Characters.end()) return StoreResult::NoCharacter;
    if (portrait < 0 || portrait > kMaxPortrait) return StoreResult::UnfitValue;
    it->Portrait = portrait;
    return StoreResult::Ok;
}

std::string AccountStore::Save() const {
    std::string out = "# gloamrest-devserver accounts. Fields are separated by tabs; a byte that is not "
                      "printable ASCII, a space or a % is written as % and two hex digits.\n";
    for (const auto& [name, account] : Accounts) {
        out += "account";
        for (const std::string* field : {&account.Name, &account.Password, &account.Email}) {
            out += '\t';
            AppendEscaped(out, *field);
        }
        out += '\n';
        for (const CharacterRecord& c : account.Characters) {
            out += "character";
            const std::string level = std::to_string(c.Level);
            const std::string portrait = std::to_string(c.Portrait);
            for (const std::string* field :
                 {&account.Name, &c.Name, &level, &c.Race, &c.Class, &c.Gender, &c.LastPlayed, &portrait}) {
                out += '\t';
                AppendEscaped(out, *field);
            }
            out += '\n';
        }
    }
    return out;
}

AccountStore AccountStore::Load(std::string_view text, LoadReport* report) {
    LoadReport skipped;
    AccountStore store;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.size() > kMaxLineBytes) {
            ++skipped.LongLines;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1); // saved by a Windows editor
        if (line.empty() || line.front() == '#') continue;

        const std::optional<std::vector<std::string>> fields = SplitLine(line);
        if (fields && fields->size() == 4 && (*fields)[0] == "account") {
            const std::vector<std::string>& f = *fields;
            if (!IsFitName(f[1]) || f[2].empty() || !IsFitPassword(f[2]) || !IsFitEmail(f[3])) {
                ++skipped.MalformedLines;
            } else if (store.Find(f[1])) {
                ++skipped.Duplicates;
            } else if (store.size() >= kMaxAccounts) {
                ++skipped.OverBound;
            } else {
                store.Accounts.emplace(f[1], AccountRecord{f[1], f[2], f[3], {}});
            }
        } else if (fields && (fields->size() == 8 || fields->size() == 9) && (*fields)[0] == "character") {
            const std::optional<CharacterRecord> character = ParseCharacter(*fields);
            AccountRecord* account = store.FindMutable((*fields)[1]);
            if (!character) {
                ++skipped.MalformedLines;
            } else if (!account) {
                ++skipped.OrphanLines;
            } else if (account->Find(character->Name)) {
                ++skipped.Duplicates;
            } else if (account->Characters.size() >= kMaxCharactersPerAccount) {
                ++skipped.OverBound;
            } else {
                account->Characters.push_back(*character);
            }
        } else {
            ++skipped.MalformedLines;
        }
    }
    if (report) *report = skipped;
    return store;
}

std::string DisplayMessage(const AccountRecord& account) {
    std::string message = "Display" + account.Name + "/" + account.Email + "/" +
                          std::to_string(account.Characters.size()) + "/";
    for (const CharacterRecord& c : account.Characters) {
        message += c.Name + ":" + std::to_string(c.Level) + ":" + c.Race + ":" + c.Class + ":" + c.Gender +
                   ":" + c.LastPlayed + "/";
    }
    return message;
}

std::string CritInfoMessage(const CharacterRecord& c) {
    constexpr std::string_view kSeparator = "^%^";
    std::string message = "CritInfo" + c.Name;
    for (const std::string& field : {std::to_string(c.Level), c.Race, c.Class, c.Gender, c.LastPlayed}) {
        message += kSeparator;
        message += field;
    }
    return message;
}

} // namespace gr::dev
