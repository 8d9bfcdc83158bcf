#include "game/GameMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gr {
namespace {

TEST(GameMessages, KeywordTableOrderAndMatching) {
    struct Case {
        std::string message;
        GameMessage kind;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"TMD{00c000{Hello", GameMessage::TMD, "{00c000{Hello"},
        {"TMD", GameMessage::TMD, ""},
        {"tmdHello", GameMessage::None, ""}, // case-sensitive
        {"PLAlamp/1/", GameMessage::PLA, "lamp/1/"},
        {"HPChange5/10", GameMessage::HPChange, "5/10"},
        {"MGChange3/9", GameMessage::HPChange, "3/9"},
        {"GoldChange1234", GameMessage::GoldChange, "1234"},
        {"BankGoldChange99", GameMessage::BankGoldChange, "99"},
        {"Equipment1/Shield/7", GameMessage::Equipment, "1/Shield/7"},
        {"OtherEquipmentx", GameMessage::OtherEquipment, "x"},
        {"SLFire/", GameMessage::SL, "Fire/"},
        {"StChg", GameMessage::StChg, ""},
        {"CLS", GameMessage::CLS, ""},
        {"CLS ", GameMessage::None, ""}, // whole-message keywords
        {"Sysop", GameMessage::Sysop, ""},
        {"Sysop!", GameMessage::None, ""},
        {"OFFLINEGoodbye", GameMessage::OFFLINE, "Goodbye"},
        {"MacLock5875", GameMessage::MacLock, ""},
        {"MacLock58", GameMessage::None, ""},
        {"DayBan2026", GameMessage::DayBan, "2026"},
        {"Monitorabc", GameMessage::Monitor, "abc"},
        {"KBA", GameMessage::KBA, ""},
        {"KBAx", GameMessage::None, ""},
        {"VoiceChatAnn/10.0.0.1", GameMessage::VoiceChat, "Ann/10.0.0.1"},
        {"PageReplyAnn", GameMessage::PageReply, "Ann"},
        {"PING", GameMessage::PING, ""},
        {"PINGS", GameMessage::None, ""},
        {"ABOUTGloamrest", GameMessage::ABOUT, "Gloamrest"},
        {"MID7", GameMessage::MID, "7"},
        {"PROCbot", GameMessage::PROC, "bot"},
        {"Browsehttp://x", GameMessage::Browse, "http://x"},
        {"Soundpagerecieve", GameMessage::Sound, "pagerecieve"},
        {"Musictheme", GameMessage::Music, "theme"},
        {"Unknown", GameMessage::None, ""},
    };
    for (const auto& c : cases) {
        const GameKeyword k = ClassifyGameMessage(c.message);
        EXPECT_EQ(c.kind, k.Kind) << c.message;
        if (c.kind != GameMessage::None) {
            EXPECT_EQ(c.value, k.Value) << c.message;
        }
    }
}

} // namespace
} // namespace gr
