// The login-phase dispatcher: every message from the server until a character enters the game.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "core/App.h"
#include "core/Cipher.h"
#include "core/RunTimeError.h"
#include "core/WireText.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"

namespace gr {

namespace {
bool StartsWith(const std::string& text, std::string_view keyword) { return text.starts_with(keyword); }
} // namespace

void Lodge::ScheduleWorker() {
    if (WorkerEnabled && !Worker->isActive()) Worker->start();
}

void Lodge::Worker_Timer() {
    if (!WorkerEnabled || Ended() || InWorkerTick) return;
    InQueue& queue = app.Wire.InQueue;
    InWorkerTick = true;
    try {
        for (int slot = 0; slot < kInQueueSlots; ++slot) {
            if (queue.IsEmpty(slot)) continue;
            queue.TakeInto(slot, WorkerMessage);
            const bool goOn = Dispatch(WorkerMessage);
            if (Ended()) break;
            if (!goOn) break;
        }
    } catch (const RunTimeError&) {
        // A failing handler ends the tick; the messages not yet taken wait for the next one.
    }
    InWorkerTick = false;
    if (Ended()) return;
    queue.Settle();
    if (queue.HasMessages()) ScheduleWorker();
}

bool Lodge::Dispatch(const std::string& message) {
    if (StartsWith(message, "KEYCODE")) KeyCode(message);
    return true;
}

void Lodge::KeyCode(const std::string& message) {
    ConStatus->setText(QStringLiteral("Version ID Received"));
    // The key starts at the eleventh character; a key too short for the cipher is not taken, and then
    // sending closes the connection as before any key.
    const std::string key = message.size() > 10 ? message.substr(10, kMaxCipherKeyLength) : std::string();
    if (key.size() >= kMinCipherKeyLength) {
        app.Wire.CipherKey = key;
        BuildCipherTables(app.Wire.Tables, key);
    }
    SendPendingLogin();
}

void Lodge::SendPendingLogin() {
    std::string keyword;
    if (PendingAction == 1) {
        if (ScreenIs640x480())
            app.platform.dialogs.Message(ResolutionMessage);
        if (Ended()) return;
        keyword = "AccountLoad";
    } else if (PendingAction == 2) {
        keyword = "AccountAddd";
    }
    if (!SendToServer(keyword + ToWire(UserName->text()) + "/" + ToWire(Password->text()))) return;
    ConStatus->setText(QStringLiteral("Login Info Sent"));
}

} // namespace gr
