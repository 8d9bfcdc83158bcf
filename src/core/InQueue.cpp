#include "core/InQueue.h"

namespace gr {

bool InQueue::Put(std::string_view message) {
    if (message.empty()) return true;
    const std::size_t cost = message.size() + kQueuedMessageCost;
    if (cost > kMaxQueuedBytes - Bytes) return false;
    Messages.emplace_back(message);
    Bytes += cost;
    return true;
}

bool InQueue::TakeOldest(std::string& message) {
    if (Messages.empty()) return false;
    Bytes -= Cost(Messages.front());
    message.swap(Messages.front());
    Messages.pop_front();
    return true;
}

std::string InQueue::TakeOldest() {
    std::string message;
    TakeOldest(message);
    return message;
}

void InQueue::Clear() {
    Messages.clear();
    Bytes = 0;
}

} // namespace gr
