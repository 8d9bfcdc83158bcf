// Server text of the login phase through the login dispatcher's rules: the input is a run of messages
// ("%$" between them, as the receive path hands them over), each recognised and its fields read as the
// dispatcher reads them, the account's character list carried from one message to the next.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Targets.h"
#include "character/StatsIn.h"
#include "core/Cipher.h"
#include "core/Random.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"
#include "login/AccountRecords.h"
#include "login/LoginMessages.h"

namespace {

using gr::fuzz::Check;

// The list of characters, made once and emptied for every input.
gr::CritGrid& Table() {
    static gr::CritGrid table = gr::EmptyCritGrid();
    for (auto& record : table)
        for (auto& value : record)
            value.clear();
    return table;
}

// What the last list message asks the view for, and the last usable key: each is used once per input,
// after its last message (a view copies all 501 rows; the cipher table has 65,536 entries).
struct LastDisplay {
    bool Viewed = false;
    std::string Filter, Typed;
    int Column = -1;
    std::string Key;
};

// The log-in enciphered with a key from the server; the table is built again only for a new key.
void Encipher(const std::string& key) {
    static gr::CipherTables tables;
    static std::string built;
    if (key != built) {
        gr::BuildCipherTables(tables, key);
        built = key;
    }
    gr::fuzz::CountingRandom random;
    const std::string_view login = "AccountLoadname/password";
    Check(gr::EncipherForWire(tables, key, login, random).size() == login.size() + 6);
}

void Dispatch(std::string_view message, gr::CritGrid& table, LastDisplay& last) {
    switch (gr::ClassifyLoginMessage(message)) {
    case gr::LoginMessage::GenerateUser: {
        const std::string_view answer = gr::TextFrom(message, 13);
        if (answer.starts_with("StatsIn")) (void)gr::ParseStatsIn(answer);
        break;
    }
    case gr::LoginMessage::AccountEnableCrit: {
        // The character being moved is one of the listed ones.
        const std::string name = table[message.size() % 3][0];
        const bool removed = gr::RemoveCritRecord(table, name);
        Check(table.size() == std::size_t(gr::kCritRows));
        if (!name.empty()) Check(removed);
        break;
    }
    case gr::LoginMessage::Display: {
        const auto display = gr::ParseDisplay(gr::TextFrom(message, 8));
        if (!display) break;
        gr::AppendCritRecords(table, display->Records);
        Check(table.size() == std::size_t(gr::kCritRows));
        // The sort column comes from the message's length, so inputs reach them all.
        last.Filter = display->AccountName;
        last.Typed = display->Email;
        last.Column = int(message.size() % (gr::kCritColumns + 1)) - 1;
        last.Viewed = true;
        break;
    }
    case gr::LoginMessage::CritInfo: {
        const auto parts = gr::SplitFields(gr::TextFrom(message, 9), "^%^");
        Check(!parts.empty());
        (void)gr::MacroFileNames(parts[0]);
        break;
    }
    case gr::LoginMessage::KeyCode: {
        try {
            (void)gr::KeyCodeVersion(message);
        } catch (const gr::RunTimeError&) {
        }
        const std::string key = gr::KeyCodeKey(message);
        Check(key.size() <= gr::kMaxCipherKeyLength);
        if (key.size() >= gr::kMinCipherKeyLength) last.Key = key;
        break;
    }
    case gr::LoginMessage::AccountMsg:
    case gr::LoginMessage::Password:
    case gr::LoginMessage::InUse:
    case gr::LoginMessage::DayBanRemove:
    case gr::LoginMessage::DayBanned:
    case gr::LoginMessage::SysMsgBanned:
    case gr::LoginMessage::None:
        break;
    }
}

} // namespace

int gr::fuzz::Login(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    gr::CritGrid& table = Table();
    LastDisplay last;
    for (const std::string_view message : gr::SplitFields(input, "%$"))
        if (!message.empty()) Dispatch(message, table, last);
    if (last.Viewed) {
        const gr::CritGrid view = gr::BuildCritView(table, last.Filter, last.Column);
        Check(view.size() <= table.size());
        (void)gr::TypedCharacter(view, last.Typed);
        (void)gr::MacroFileNames(table[0][0]);
        (void)gr::CharacterSettingKeys(table[0][0]);
    }
    if (!last.Key.empty()) Encipher(last.Key);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Login)
