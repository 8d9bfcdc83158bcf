#include "core/DispatchTick.h"

#include "core/RunTimeError.h"

namespace gr {

void DispatchTick(InQueue& queue, std::string& message, const std::function<bool(const std::string&)>& handle) {
    try {
        for (int slot = 0; slot < kInQueueSlots; ++slot) {
            if (queue.IsEmpty(slot)) continue;
            queue.TakeInto(slot, message);
            if (!handle(message)) break;
        }
    } catch (const RunTimeError&) {
    }
    queue.Settle();
}

} // namespace gr
