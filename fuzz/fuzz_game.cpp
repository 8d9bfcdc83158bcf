// Server text of play through the in-game dispatcher's rules: the input is a run of messages ("%$" between
// them, as the receive path hands them over), each recognised and its value read by the rule its keyword
// goes to: the text markup, the panels' lists, the status values, sounds, the voice chat request and the
// answers that echo server text back. State that carries over (the text style, the experience) does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Targets.h"
#include "core/BoundText.h"
#include "core/OutgoingText.h"
#include "core/Random.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"
#include "game/GameMessages.h"
#include "panels/PanelRules.h"
#include "sound/SoundRules.h"
#include "panels/StatusRules.h"
#include "text/TextMarkup.h"
#include "input/CommandInput.h"

namespace {

using gr::fuzz::Check;

struct Session {
    gr::MarkupState Markup;
    gr::Experience Xp;
    gr::fuzz::CountingRandom Random;
};

void Points(std::string_view value, bool hitPoints) {
    const gr::PointsBar bar = gr::PointsBarFor(value, hitPoints, gr::kDefaultHitPointsColour);
    if (!bar.Empty) Check(gr::BarWidth(bar.Fraction, 122) >= 0);
}

void Dispatch(std::string_view message, Session& s) {
    const gr::GameKeyword keyword = gr::ClassifyGameMessage(message);
    const std::string_view value = keyword.Value;
    Check(value.size() <= message.size());
    switch (keyword.Kind) {
    case gr::GameMessage::TMD: {
        std::size_t runs = 0;
        for (const gr::DrawOp& op : gr::MarkupOps(value, s.Markup, 12, s.Random))
            runs += op.What == gr::DrawOp::Kind::Text;
        Check(runs <= gr::kMaxTextRuns + 1); // and the cut mark
        break;
    }
    case gr::GameMessage::PLA:
        Check(gr::ParseRoomObjects(value).size() <= gr::kRoomObjectEntries);
        break;
    case gr::GameMessage::Inventory:
        Check(gr::ParseInventory(value).size() <= gr::kInventorySlots);
        break;
    case gr::GameMessage::MainCommands:
        Check(gr::ParseCommandList(value).size() <= gr::kCommandEntries);
        break;
    case gr::GameMessage::SL:
        Check(gr::ParseSpellList(value).size() <= gr::kSpellEntries);
        break;
    case gr::GameMessage::Equipment:
        Check(gr::ParseEquipment(value).Slot < gr::kEquipmentSlots);
        break;
    case gr::GameMessage::OtherEquipment:
        (void)gr::ParseOtherEquipment(value);
        break;
    case gr::GameMessage::GoldChange:
    case gr::GameMessage::BankGoldChange:
        (void)gr::FormatThousands(value);
        break;
    case gr::GameMessage::StChg:
        (void)gr::ParseStatChange(value);
        break;
    case gr::GameMessage::Stamina:
        Check(gr::BarWidth(gr::StaminaFraction(value), 122) >= 0);
        break;
    case gr::GameMessage::HPChange:
        Points(value, message.starts_with('H'));
        break;
    case gr::GameMessage::XPChange:
        s.Xp = gr::ParseExperience(value);
        (void)gr::ExperienceText(s.Xp, true);
        (void)gr::BarWidth(gr::ExperienceBarFor(s.Xp).Fraction, 122);
        break;
    case gr::GameMessage::Sound:
        if (const auto effect = gr::EffectToPlay(true, true, value))
            (void)gr::SoundFileFor(gr::SoundKind::Effect, *effect);
        break;
    case gr::GameMessage::Music:
        (void)gr::SoundFileFor(gr::SoundKind::Music, value);
        break;
    case gr::GameMessage::VoiceChat:
        if (gr::SplitFields(value, "/").size() < 2)
            throw gr::RunTimeError("VoiceChat needs a name and an address");
        break;
    case gr::GameMessage::PageReply:
    case gr::GameMessage::MID: {
        // Server text sent back stays one short field of one message.
        const std::string echo = gr::Echo(value);
        Check(echo.size() <= gr::kMaxEchoBytes && echo.find("%$") == std::string::npos);
        break;
    }
    case gr::GameMessage::Monitor: {
        static const gr::InputHistory history;
        (void)history.MonitorAnswer(value);
        break;
    }
    case gr::GameMessage::ABOUT:
        Check(gr::BoundText(value, gr::kMaxLabelBytes).size() <= gr::kMaxLabelBytes + gr::kCutMark.size());
        break;
    case gr::GameMessage::LevelChange:
    case gr::GameMessage::MainArmorChange:
    case gr::GameMessage::CLS:
    case gr::GameMessage::Browse:
    case gr::GameMessage::Sysop:
    case gr::GameMessage::OFFLINE:
    case gr::GameMessage::MacLock:
    case gr::GameMessage::DayBan:
    case gr::GameMessage::KBA:
    case gr::GameMessage::PING:
    case gr::GameMessage::PROC:
    case gr::GameMessage::None:
        break;
    }
}

} // namespace

int gr::fuzz::Game(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Session session;
    for (const std::string_view message : gr::SplitFields(input, "%$")) {
        if (message.empty()) continue;
        // A failing rule ends the message, as a dispatcher tick does.
        try {
            Dispatch(message, session);
        } catch (const gr::RunTimeError&) {
        }
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Game)
