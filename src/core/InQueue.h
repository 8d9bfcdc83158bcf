#pragma once
// The receive queue shared by the two dispatchers. Messages are handled in the order they arrived: a
// dispatcher tick takes the oldest ones, at most kInQueueSlots of them, and whatever a tick leaves (it ended
// early, or more arrived meanwhile) is still older than anything that arrives later.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace gr {

// One dispatcher tick handles at most this many messages, then lets the event loop run.
constexpr int kInQueueSlots = 61;
// The queue holds at most this much memory, counting each message's bytes and what keeping it costs: a
// server that floods the client (many large messages, or millions of tiny ones from one small compressed
// chunk) loses its newest messages rather than exhausting memory.
constexpr std::size_t kMaxQueuedBytes = 64u * 1024u * 1024u;
// What one queued message costs besides its text, as counted against kMaxQueuedBytes. The queue's real
// bookkeeping per message is smaller, so the counted bytes are an upper bound of what it holds.
constexpr std::size_t kQueuedMessageCost = sizeof(std::string) + 16u;

class InQueue {
  public:
    // Queues one message behind all others (an empty one is nothing). Returns false when it had to be
    // dropped at the memory bound.
    bool Put(std::string_view message);

    // The messages in arrival order: index 0 is the oldest. A view from At is valid until the queue next
    // changes.
    std::size_t Size() const { return Count; }
    bool IsEmpty(std::size_t index) const { return index >= Count; }
    std::string_view At(std::size_t index) const;
    // Takes the oldest message into the caller's string, reusing its memory; false when there is none.
    bool TakeOldest(std::string& message);
    std::string TakeOldest();

    bool HasMessages() const { return Count != 0; }
    // The memory counted against kMaxQueuedBytes.
    std::size_t QueuedBytes() const { return Bytes; }
    void Clear();

  private:
    // Each message is kept as its length and then its text.
    using RecordHead = std::uint32_t;
    // Makes room for a record of n bytes behind the queued ones, when the buffer's end has less.
    void MakeRoom(std::size_t n);

    // The queued messages lie back to back in one buffer, oldest first, from TextBegin to TextEnd. A message
    // costs a copy into the buffer and no allocation of its own, and the buffer's memory is used again as the
    // oldest messages are taken.
    std::unique_ptr<char[]> Text;
    std::size_t TextCapacity = 0;
    std::size_t TextBegin = 0;
    std::size_t TextEnd = 0;
    std::size_t Count = 0;
    std::size_t Bytes = 0;
};

} // namespace gr
