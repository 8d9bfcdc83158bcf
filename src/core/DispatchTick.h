#pragma once
// The frame both dispatchers share: one scan of the receive queue per tick.
#include <functional>
#include <string>

#include "core/InQueue.h"

namespace gr {

// Takes every occupied slot in order 0 to 60, emptying it before its message is handled (the receive path
// may refill it meanwhile), and hands the message to handle, which returns false to end the tick. A
// RunTimeError from handle also ends the tick: the message in hand is lost, and the slots not yet visited
// keep theirs for the next tick. Afterwards waiting messages move into the freed slots. message is the
// caller's buffer for the message in hand; it swaps buffers with the slots, so no tick allocates.
void DispatchTick(InQueue& queue, std::string& message, const std::function<bool(const std::string&)>& handle);

} // namespace gr
