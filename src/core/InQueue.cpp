#include "core/InQueue.h"

namespace gr {

bool InQueue::Put(std::string message) {
    if (message.empty()) return true;
    // While older messages wait, a newer one waits behind them so that arrival order holds.
    if (Waiting.empty()) {
        for (auto& slot : Slots) {
            if (slot.empty()) {
                slot = std::move(message);
                return true;
            }
        }
    }
    if (WaitingBytes + message.size() > kMaxWaitingBytes) return false;
    WaitingBytes += message.size();
    Waiting.push_back(std::move(message));
    return true;
}

std::string InQueue::Take(int slot) {
    std::string message = std::move(Slots.at(static_cast<std::size_t>(slot)));
    Slots[static_cast<std::size_t>(slot)].clear();
    return message;
}

void InQueue::Settle() {
    for (auto& slot : Slots) {
        if (Waiting.empty()) return;
        if (!slot.empty()) continue;
        WaitingBytes -= Waiting.front().size();
        slot = std::move(Waiting.front());
        Waiting.pop_front();
    }
}

bool InQueue::HasMessages() const {
    if (!Waiting.empty()) return true;
    for (const auto& slot : Slots)
        if (!slot.empty()) return true;
    return false;
}

void InQueue::Clear() {
    for (auto& slot : Slots) slot.clear();
    Waiting.clear();
    WaitingBytes = 0;
}

} // namespace gr
