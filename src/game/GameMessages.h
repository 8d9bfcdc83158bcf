#pragma once
// The messages of play, recognised in the order the in-game dispatcher tests them. The keyword stands at
// the start of the message and the value follows it directly. Most keywords match as a prefix; "CLS",
// "Sysop", "MacLock5875", "KBA" and "PING" must be the whole message. Comparisons are case-sensitive.
#include <string_view>

namespace gr {

enum class GameMessage {
    None, // ignored
    TMD,
    PLA,
    Stamina,
    XPChange,
    LevelChange,
    GoldChange,
    BankGoldChange,
    HPChange, // "HPChange" and "MGChange"
    MainArmorChange,
    Inventory,
    MainCommands,
    Equipment,
    OtherEquipment,
    SL,
    StChg,
    CLS,
    Browse,
    Sound,
    Music,
    Sysop,
    OFFLINE,
    MacLock,
    DayBan,
    Monitor,
    KBA,
    VoiceChat,
    PageReply,
    PING,
    ABOUT,
    MID,
    PROC,
};

struct GameKeyword {
    GameMessage Kind = GameMessage::None;
    std::string_view Value; // the text after the keyword
};

GameKeyword ClassifyGameMessage(std::string_view message);

} // namespace gr
