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

// The rare paths stay out of line, so that queueing and taking an ordinary message set up no frame for them.
[[gnu::noinline]] bool PutCopy(InQueue& queue, std::string_view message) {
    return queue.Put(std::string(message));
}
[[gnu::noinline]] void LetGo(std::string& message) {
    std::string().swap(message);
}
} // namespace

bool InQueue::Put(std::string_view message) {
    if (message.empty()) return true;
    const std::size_t cost = message.size() + kQueuedMessageCost;
    if (cost > kMaxQueuedBytes - Bytes) return false;
    const std::size_t record = sizeof(RecordHead) + message.size();
    if (record > TextCapacity - TextEnd) {
        // Text that lies in the queue's own buffer (from At) would move with it: it is copied first.
        const std::less<const char*> before;
        if (Text && !before(message.data(), Text.get()) && before(message.data(), Text.get() + TextCapacity))
            return PutCopy(*this, message);
        MakeRoom(record);
    }
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
    const std::size_t wanted = live + n;
    // The buffer grows by doubling, up to kMaxQueuedBytes: the bound counts every message at more than its
    // record takes here, so whatever it lets in fits.
    const std::size_t grown =
        std::max(wanted, std::min(std::max(TextCapacity * 2, kFirstTextCapacity), kMaxQueuedBytes));
    // Moving the queued messages to the buffer's start instead is worth it when that leaves a quarter of the
    // buffer free: the next move comes only after that quarter is filled, so moving costs at most three
    // times what copying in did. At its largest the buffer can only move them.
    if (wanted <= TextCapacity - TextCapacity / 4 || grown <= TextCapacity) {
        std::memmove(Text.get(), Text.get() + TextBegin, live);
        TextBegin = 0;
        TextEnd = live;
        return;
    }
    auto bigger = std::make_unique_for_overwrite<char[]>(grown);
    if (live > 0) std::memcpy(bigger.get(), Text.get() + TextBegin, live);
    Text = std::move(bigger);
    TextCapacity = grown;
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
    if (message.capacity() > kKeptTextCapacity && size < message.capacity() / 4) LetGo(message);
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
