#include "core/InQueue.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace gr {

namespace {
// The text buffer's first size; a batch of ordinary game text fits at once.
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
    if (message.size() > TextCapacity - TextEnd) MakeRoom(message.size());
    Sizes.push_back(message.size());
    std::memcpy(Text.get() + TextEnd, message.data(), message.size());
    TextEnd += message.size();
    Bytes += cost;
    return true;
}

void InQueue::MakeRoom(std::size_t n) {
    const std::size_t live = TextEnd - TextBegin;
    // When half the buffer is enough, the queued texts move to its start. The bytes of the messages taken
    // since they were last moved are more than the bytes that move, so moving costs no more than copying
    // them in did.
    if (live + n <= TextCapacity / 2) {
        std::memmove(Text.get(), Text.get() + TextBegin, live);
        TextBegin = 0;
        TextEnd = live;
        return;
    }
    // Otherwise the buffer doubles, but never beyond what the bound lets queued texts ever need (each
    // message counts its cost besides its text), so the queue's real memory stays within kMaxQueuedBytes.
    const std::size_t textBound = kMaxQueuedBytes - Sizes.size() * kQueuedMessageCost;
    const std::size_t capacity =
        std::min(std::max({live + n, TextCapacity * 2, kFirstTextCapacity}), std::max(live + n, textBound));
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (live > 0) std::memcpy(bigger.get(), Text.get() + TextBegin, live);
    Text = std::move(bigger);
    TextCapacity = capacity;
    TextBegin = 0;
    TextEnd = live;
}

std::string_view InQueue::At(std::size_t index) const {
    if (index >= Sizes.size()) throw std::out_of_range("InQueue::At");
    std::size_t begin = TextBegin;
    for (std::size_t i = 0; i < index; ++i)
        begin += Sizes[i];
    return {Text.get() + begin, Sizes[index]};
}

bool InQueue::TakeOldest(std::string& message) {
    if (Sizes.empty()) return false;
    const std::size_t size = Sizes.front();
    // The caller's string is used again for every message; after one very large message it lets go.
    if (message.capacity() > kKeptTextCapacity && size < message.capacity() / 4) std::string().swap(message);
    message.assign(Text.get() + TextBegin, size);
    TextBegin += size;
    Sizes.pop_front();
    Bytes -= size + kQueuedMessageCost;
    if (Sizes.empty()) {
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
    Sizes.clear();
    Bytes = 0;
    Text.reset();
    TextCapacity = TextBegin = TextEnd = 0;
}

} // namespace gr
