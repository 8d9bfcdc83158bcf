#pragma once
// The receive queue shared by the two dispatchers: 61 slots, an empty string marks a free slot. A message
// goes into the lowest free slot; a message that finds no free slot waits, in arrival order, and enters
// the lowest free slots once a dispatcher tick has freed them (Settle).
#include <array>
#include <deque>
#include <string>

namespace gr {

constexpr int kInQueueSlots = 61;
// Messages waiting for a slot are kept up to this many bytes in all: a server that floods the client
// faster than it can dispatch loses its newest messages rather than exhausting memory.
constexpr std::size_t kMaxWaitingBytes = 64u * 1024u * 1024u;

class InQueue {
public:
    // Queues one message (never empty). Returns false when it had to be dropped at the waiting bound.
    bool Put(std::string message);

    bool IsEmpty(int slot) const { return Slots.at(static_cast<std::size_t>(slot)).empty(); }
    const std::string& At(int slot) const { return Slots.at(static_cast<std::size_t>(slot)); }
    // Takes the message out of the slot, leaving it free.
    std::string Take(int slot);
    // Moves waiting messages into the lowest free slots, oldest first. Called after each dispatcher tick.
    void Settle();

    bool HasMessages() const;
    std::size_t WaitingCount() const { return Waiting.size(); }
    void Clear();

private:
    std::array<std::string, kInQueueSlots> Slots;
    std::deque<std::string> Waiting;
    std::size_t WaitingBytes = 0;
};

} // namespace gr
