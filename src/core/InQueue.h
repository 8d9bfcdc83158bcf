#pragma once
// The receive queue shared by the two dispatchers: 61 slots, an empty string marks a free slot. A message
// goes into the lowest free slot; a message that finds no free slot waits, in arrival order, and enters
// the lowest free slots once a dispatcher tick has freed them (Settle).
#include <array>
#include <deque>
#include <string>
#include <string_view>

namespace gr {

constexpr int kInQueueSlots = 61;
// Messages waiting for a slot are kept up to this many bytes in all: a server that floods the client
// faster than it can dispatch loses its newest messages rather than exhausting memory.
constexpr std::size_t kMaxWaitingBytes = 64u * 1024u * 1024u;

class InQueue {
public:
    // Queues one message (an empty one is nothing). Returns false when it had to be dropped at the
    // waiting bound.
    bool Put(std::string_view message);

    bool IsEmpty(int slot) const { return Slots.at(static_cast<std::size_t>(slot)).empty(); }
    const std::string& At(int slot) const { return Slots.at(static_cast<std::size_t>(slot)); }
    // Takes the message out of the slot, leaving it free.
    std::string Take(int slot);
    // The same into the caller's string, whose buffer the slot keeps for its next message: a steady stream
    // of messages then needs no allocation.
    void TakeInto(int slot, std::string& message);
    // Moves waiting messages into the lowest free slots, oldest first. Called after each dispatcher tick.
    void Settle();

    bool HasMessages() const;
    std::size_t WaitingCount() const { return Waiting.size(); }
    void Clear();

private:
    std::array<std::string, kInQueueSlots> Slots;
    std::deque<std::string> Waiting;
    std::size_t WaitingBytes = 0;
    std::size_t FirstFree = 0; // no slot below this one is free
};

} // namespace gr
