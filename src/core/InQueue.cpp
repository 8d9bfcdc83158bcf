#include "core/InQueue.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace gr {

namespace {
// The buffer's first size; a batch of ordinary game text fits at once.
constexpr std::size_t kFirstTextCapacity = 64u * 1024u;
// A buffer larger than this, left over from a flood, is given back once the queue is empty; so is a
// caller's message string that once held a message this large.
constexpr std::size_t kKeptTextCapacity = 1024u * 1024u;
} // namespace

bool InQueue::Put(std::string_view message) {
    if (message.empty()) return true;
    const std::size_t cost = message.size() + kQueuedMessageCost;
    if (cost > kMaxQueuedBytes - Bytes) return false;
    // Text that lies in the queue's own buffer (from At) would move under the copy below: copy it first.
    const std::less<const char*> before;
    if (Text && !before(message.data(), Text.get()) && before(message.data(), Text.get() + TextCapacity))
        return Put(std::string(message));
    const std::size_t record = sizeof(RecordHead) + message.size();
    if (record > TextCapacity - TextEnd) MakeRoom(record);
    // The bound keeps every message far below 4 GB.
    const auto size = static_cast<RecordHead>(message.size());
    std::memcpy(Text.get() + TextEnd, &size, sizeof size);
    std::memcpy(Text.get() + TextEnd + sizeof size, message.data(), message.size());
    TextEnd += record;
    ++Count;
    Bytes += cost;
    return true;
}

void InQueue::MakeRoom(std::size_t n) {
    const std::size_t live = TextEnd - TextBegin;
    // When half the buffer is enough, the queued messages move to its start. The bytes of the messages taken
    // since they were last moved are more than the bytes that move, so moving costs no more than copying
    // them in did.
    if (live + n <= TextCapacity / 2) {
        std::memmove(Text.get(), Text.get() + TextBegin, live);
        TextBegin = 0;
        TextEnd = live;
        return;
    }
    // Otherwise the buffer doubles, but never beyond what the bound lets queued messages ever need (each
    // is counted at more than its length takes here), so the queue's real memory stays within
    // kMaxQueuedBytes.
    const std::size_t recordsBound = kMaxQueuedBytes - Count * (kQueuedMessageCost - sizeof(RecordHead));
    const std::size_t capacity = std::min(std::max({live + n, TextCapacity * 2, kFirstTextCapacity}),
                                          std::max(live + n, recordsBound));
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (live > 0) std::memcpy(bigger.get(), Text.get() + TextBegin, live);
    Text = std::move(bigger);
    TextCapacity = capacity;
    TextBegin = 0;
    TextEnd = live;
}

std::string_view InQueue::At(std::size_t index) const {
    if (index >= Count) throw std::out_of_range("InQueue::At");
    std::size_t at = TextBegin;
    RecordHead size = 0;
    for (std::size_t i = 0;; ++i) {
        std::memcpy(&size, Text.get() + at, sizeof size);
        if (i == index) return {Text.get() + at + sizeof size, size};
        at += sizeof size + size;
    }
}

bool InQueue::TakeOldest(std::string& message) {
    if (Count == 0) return false;
    RecordHead size = 0;
    std::memcpy(&size, Text.get() + TextBegin, sizeof size);
    // The caller's string is used again for every message; after one very large message it lets go.
    if (message.capacity() > kKeptTextCapacity && size < message.capacity() / 4) std::string().swap(message);
    message.assign(Text.get() + TextBegin + sizeof size, size);
    TextBegin += sizeof size + size;
    --Count;
    Bytes -= size + kQueuedMessageCost;
    if (Count == 0) {
        // Nothing is queued: the next message starts at the front again.
        TextBegin = TextEnd = 0;
        if (TextCapacity > kKeptTextCapacity) {
            Text.reset();
            TextCapacity = 0;
        }
    }
    return true;
}

std::string InQueue::TakeOldest() {
    std::string message;
    TakeOldest(message);
    return message;
}

void InQueue::Clear() {
    Text.reset();
    TextCapacity = TextBegin = TextEnd = 0;
    Count = 0;
    Bytes = 0;
}

} // namespace gr
