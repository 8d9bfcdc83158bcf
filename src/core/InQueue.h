#pragma once
// The receive queue shared by the two dispatchers. Messages are handled in the order they arrived: a
// dispatcher tick takes the oldest ones, at most kInQueueSlots of them, and whatever a tick leaves (it ended
// early, or more arrived meanwhile) is still older than anything that arrives later.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace gr {

// One dispatcher tick handles at most this many messages, then lets the event loop run.
constexpr int kInQueueSlots = 61;
// The queue holds at most this much memory, counting each message's bytes and what keeping it costs: a
// server that floods the client (many large messages, or millions of tiny ones from one small compressed
// chunk) loses its newest messages rather than exhausting memory.
constexpr std::size_t kMaxQueuedBytes = 64u * 1024u * 1024u;
// What one queued message costs besides its text: the string object and the allocator's bookkeeping.
constexpr std::size_t kQueuedMessageCost = sizeof(std::string) + 16u;

class InQueue {
  public:
    // Queues one message behind all others (an empty one is nothing). Returns false when it had to be
    // dropped at the memory bound.
    bool Put(std::string_view message);

    // The messages in arrival order: index 0 is the oldest.
    std::size_t Size() const { return Messages.size(); }
    bool IsEmpty(std::size_t index) const { return index >= Messages.size(); }
    const std::string& At(std::size_t index) const { return Messages.at(index); }
    // Takes the oldest message into the caller's string; false when there is none.
    bool TakeOldest(std::string& message);
    std::string TakeOldest();

    bool HasMessages() const { return !Messages.empty(); }
    // The memory counted against kMaxQueuedBytes.
    std::size_t QueuedBytes() const { return Bytes; }
    void Clear();

  private:
    static std::size_t Cost(const std::string& message) { return message.size() + kQueuedMessageCost; }

    std::deque<std::string> Messages;
    std::size_t Bytes = 0;
};

} // namespace gr
