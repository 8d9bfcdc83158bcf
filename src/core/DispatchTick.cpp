#include "core/DispatchTick.h"

#include "core/RunTimeError.h"

namespace gr {

void DispatchTick(InQueue& queue, std::string& message,
                  const std::function<bool(const std::string&)>& handle) {
    try {
        for (int taken = 0; taken < kInQueueSlots && queue.TakeOldest(message); ++taken)
            if (!handle(message)) break;
    } catch (const RunTimeError&) {
    }
}

} // namespace gr
