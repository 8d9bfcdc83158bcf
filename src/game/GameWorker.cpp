// The in-game dispatcher and the server's control messages during play.
#include <QAction>
#include <QTcpSocket>
#include <QTimer>

#include "app/App.h"
#include "core/BoundText.h"
#include "core/DispatchTick.h"
#include "core/OutgoingText.h"
#include "core/RunTimeError.h"
#include "core/TextFields.h"
#include "core/WireText.h"
#include "panels/CommandsPanel.h"
#include "panels/EquipmentPanel.h"
#include "game/Game.h"
#include "game/GameMessages.h"
#include "game/GameWindows.h"
#include "panels/InventoryPanel.h"
#include "panels/RoomObjectsPanel.h"
#include "sound/SoundAndMusic.h"
#include "panels/SpellsPanel.h"
#include "panels/StatusPanel.h"
#include "text/TextWindow.h"
#include "voice/VoiceChat.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"

namespace gr {

void Game::ScheduleWorker() {
    if (WorkerEnabled && !Worker->isActive()) Worker->start();
}

void Game::Worker_Timer() {
    if (!WorkerEnabled || Ended() || InWorkerTick) return;
    InWorkerTick = true;
    DispatchTick(app.Wire.InQueue, CurrentMessage, [this](const std::string& m) {
        Dispatch(m);
        return !Ended();
    });
    InWorkerTick = false;
    if (!Ended() && app.Wire.InQueue.HasMessages()) ScheduleWorker();
}

void Game::Dispatch(const std::string& message) {
    const GameKeyword keyword = ClassifyGameMessage(message);
    const std::string value(keyword.Value);
    switch (keyword.Kind) {
    case GameMessage::TMD:
        PrintLine(value);
        break;
    case GameMessage::CLS:
        TD->ClearText();
        break;
    case GameMessage::Browse:
        if (!BrowserWindow) {
            BrowserWindow = std::make_unique<Web_Browser>();
            WatchWindow(BrowserWindow.get());
        }
        BrowserWindow->Navigate(FromWire(value));
        BrowserWindow->show();
        break;
    case GameMessage::ABOUT:
        app.Session.AboutText = BoundText(value, kMaxLabelBytes);
        if (!About) {
            About = std::make_unique<AboutWindow>(this);
            WatchWindow(About.get());
        }
        About->ShowText(FromWire(app.Session.AboutText));
        break;
    case GameMessage::Sysop:
        app.Session.SysopMode = true;
        break;
    case GameMessage::OFFLINE:
        Offline(value);
        break;
    case GameMessage::MacLock:
        app.Machine.RecordBan();
        break;
    case GameMessage::DayBan:
        app.Machine.RecordDayBan(FromWire(value));
        break;
    case GameMessage::Monitor:
        SendToServer(History.MonitorAnswer(value));
        break;
    case GameMessage::KBA:
        UpdateToggle = UpdateToggle == 1 ? 0 : 1;
        SendToServer(UpdateToggle == 1 ? "Update1" : "Update0");
        break;
    case GameMessage::VoiceChat:
        VoiceChatRequest(value);
        break;
    case GameMessage::PageReply:
        ReplyText = "/p " + Echo(value) + " ";
        break;
    case GameMessage::PING: {
        PingClock.StopTimer();
        double elapsed = 0;
        PingClock.ElapsedMs(elapsed);
        PrintLine("{00c000{You have a ping of {0000ff{" + std::to_string(static_cast<long long>(elapsed)) +
                  "{00c000{ms to the server.");
        PingInProgress = false;
        break;
    }
    case GameMessage::MID:
        SendToServer("MachineID" + Echo(value) + "/" + ToWire(app.Machine.MachineIdentifier()));
        break;
    // Each panel message goes to its panel.
    case GameMessage::PLA:
        RoomPanel->PLA(value);
        break;
    case GameMessage::Inventory:
        InventPanel->Inventory(value);
        break;
    case GameMessage::MainCommands:
        ComPanel->MainCommands(value);
        break;
    case GameMessage::Equipment:
        EquipPanel->Equipment(value);
        break;
    case GameMessage::OtherEquipment:
        EquipPanel->OtherEquipment(value);
        break;
    case GameMessage::SL:
        SpellPanel->SL(value);
        break;
    // The status values go to the status panel.
    case GameMessage::Stamina:
    case GameMessage::XPChange:
    case GameMessage::LevelChange:
    case GameMessage::GoldChange:
    case GameMessage::BankGoldChange:
    case GameMessage::HPChange:
    case GameMessage::MainArmorChange:
    case GameMessage::StChg:
        Status->Receive(keyword.Kind, message, value);
        break;
    case GameMessage::Sound:
        Audio->Sound(value);
        break;
    case GameMessage::Music:
        Audio->Music(value);
        break;
    // The program check is not made here.
    case GameMessage::PROC:
    case GameMessage::None:
        break;
    }
}

void Game::Offline(const std::string& text) {
    if (app.lodge) app.lodge->CloseComline();
    app.platform.dialogs.Message(FromWire(text));
    ImStillOn->stop();
    Audio->StopAll();
    // The program ends at once.
    WorkerEnabled = false;
    app.platform.ending.End();
}

void Game::VoiceChatRequest(const std::string& value) {
    if (!VoiceChatOn->isChecked() || !TCPSocket->IsListening()) return;
    const auto fields = SplitFields(value, "/");
    if (fields.size() < 2) throw RunTimeError("VoiceChat needs a name and an address");
    VoicePartnerName = fields[0];
    VoicePartnerAddress = fields[1];
    PrintSystemLine("{ff8888{'{0000ff{" + VoicePartnerName +
                    "{ff8888{' would like to voicechat with you, type '/voicechat " + VoicePartnerName +
                    "' to chat.");
}

} // namespace gr
