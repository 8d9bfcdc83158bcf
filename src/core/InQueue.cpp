#include "core/InQueue.h"

namespace gr {

bool InQueue::Put(std::string_view message) {
    if (message.empty()) return true;
    // While older messages wait, a newer one waits behind them so that arrival order holds.
    if (Waiting.empty()) {
        for (; FirstFree < Slots.size(); ++FirstFree) {
            if (Slots[FirstFree].empty()) {
                Slots[FirstFree++].assign(message);
                return true;
            }
        }
    }
    if (WaitingBytes + message.size() > kMaxWaitingBytes) return false;
    WaitingBytes += message.size();
    Waiting.emplace_back(message);
    return true;
}

std::string InQueue::Take(int slot) {
    std::string message;
    TakeInto(slot, message);
    return message;
}

void InQueue::TakeInto(int slot, std::string& message) {
    auto& text = Slots.at(static_cast<std::size_t>(slot));
    message.swap(text);
    text.clear();
    if (static_cast<std::size_t>(slot) < FirstFree) FirstFree = static_cast<std::size_t>(slot);
}

void InQueue::Settle() {
    for (std::size_t i = FirstFree; i < Slots.size() && !Waiting.empty(); ++i) {
        if (!Slots[i].empty()) continue;
        WaitingBytes -= Waiting.front().size();
        Slots[i].swap(Waiting.front());
        Waiting.pop_front();
        if (i == FirstFree) ++FirstFree;
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
    FirstFree = 0;
}

} // namespace gr
