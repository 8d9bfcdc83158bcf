#pragma once
// The frame both dispatchers share: one pass over the receive queue per tick.
#include <functional>
#include <string>

#include "core/InQueue.h"

namespace gr {

// Takes the oldest messages in arrival order, at most kInQueueSlots of them, each out of the queue before it
// is handled (the receive path may add more meanwhile, behind it), and hands each to handle, which returns
// false to end the tick. A RunTimeError from handle also ends the tick: the message in hand is lost, and the
// messages not yet taken stay first in line for the next tick. message is the caller's buffer for the
// message in hand.
void DispatchTick(InQueue& queue, std::string& message,
                  const std::function<bool(const std::string&)>& handle);

} // namespace gr
