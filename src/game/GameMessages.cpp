#include "game/GameMessages.h"

#include <array>

namespace gr {

namespace {
struct Entry {
    std::string_view Keyword;
    GameMessage Kind;
    bool Whole;
};

// The table order: no keyword is a prefix of one tested before it.
constexpr std::array<Entry, 33> kTable = {{
    {"TMD", GameMessage::TMD, false},
    {"PLA", GameMessage::PLA, false},
    {"Stamina", GameMessage::Stamina, false},
    {"XPChange", GameMessage::XPChange, false},
    {"LevelChange", GameMessage::LevelChange, false},
    {"GoldChange", GameMessage::GoldChange, false},
    {"BankGoldChange", GameMessage::BankGoldChange, false},
    {"HPChange", GameMessage::HPChange, false},
    {"MGChange", GameMessage::HPChange, false},
    {"MainArmorChange", GameMessage::MainArmorChange, false},
    {"Inventory", GameMessage::Inventory, false},
    {"MainCommands", GameMessage::MainCommands, false},
    {"Equipment", GameMessage::Equipment, false},
    {"OtherEquipment", GameMessage::OtherEquipment, false},
    {"SL", GameMessage::SL, false},
    {"StChg", GameMessage::StChg, false},
    {"CLS", GameMessage::CLS, true},
    {"Browse", GameMessage::Browse, false},
    {"Sound", GameMessage::Sound, false},
    {"Music", GameMessage::Music, false},
    {"Sysop", GameMessage::Sysop, true},
    {"OFFLINE", GameMessage::OFFLINE, false},
    {"MacLock5875", GameMessage::MacLock, true},
    {"DayBan", GameMessage::DayBan, false},
    {"Monitor", GameMessage::Monitor, false},
    {"KBA", GameMessage::KBA, true},
    {"VoiceChat", GameMessage::VoiceChat, false},
    {"PageReply", GameMessage::PageReply, false},
    {"PING", GameMessage::PING, true},
    {"CLS", GameMessage::CLS, true}, // tested again here; the first test has already taken it
    {"ABOUT", GameMessage::ABOUT, false},
    {"MID", GameMessage::MID, false},
    {"PROC", GameMessage::PROC, false},
}};
} // namespace

GameKeyword ClassifyGameMessage(std::string_view message) {
    for (const Entry& e : kTable) {
        if (e.Whole ? message == e.Keyword : message.starts_with(e.Keyword))
            return {e.Kind, message.substr(e.Keyword.size())};
    }
    return {};
}

} // namespace gr
