#include "core/InQueue.h"

#include "core/DispatchTick.h"
#include "core/RunTimeError.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace gr {
namespace {

std::vector<std::string> Drain(InQueue& q) {
    std::vector<std::string> out;
    for (std::string m; q.TakeOldest(m);)
        out.push_back(m);
    return out;
}

TEST(InQueue, KeepsArrivalOrderBeyondOneTick) {
    InQueue q;
    for (int i = 0; i < kInQueueSlots + 2; ++i)
        q.Put("m" + std::to_string(i));
    EXPECT_TRUE(q.Put("")); // an empty message is nothing
    EXPECT_EQ("m0", q.TakeOldest());
    q.Put("late"); // room was made, but older messages still come first
    const auto rest = Drain(q);
    ASSERT_EQ(std::size_t(kInQueueSlots + 2), rest.size());
    EXPECT_EQ("m1", rest.front());
    EXPECT_EQ("m62", rest[rest.size() - 2]);
    EXPECT_EQ("late", rest.back());
    EXPECT_EQ(0u, q.QueuedBytes());
}

TEST(InQueue, MemoryIsBoundedForLargeAndForTinyMessages) {
    InQueue q;
    const std::string big(kMaxQueuedBytes / 2, 'y');
    EXPECT_TRUE(q.Put(big));
    EXPECT_FALSE(q.Put(big)); // its text fits, but not what keeping it costs
    EXPECT_TRUE(q.Put("small"));
    q.Clear();
    EXPECT_FALSE(q.HasMessages());
    // Millions of one-byte messages stop at the bound too, counting what each one costs.
    std::size_t kept = 0;
    while (q.Put("x"))
        ++kept;
    EXPECT_EQ(kMaxQueuedBytes / (1 + kQueuedMessageCost), kept);
    EXPECT_LE(q.QueuedBytes(), kMaxQueuedBytes);
    q.TakeOldest();
    EXPECT_TRUE(q.Put("y")); // taking one makes room again
}

TEST(InQueue, InterleavedPutsAndTakesKeepEveryMessageIntact) {
    // Puts and takes in uneven runs make the queue's buffer grow, move its texts to the front and start
    // again when empty; a plain list of strings says what must come out.
    InQueue q;
    std::deque<std::string> model;
    std::string message = "left over from before";
    unsigned seed = 7;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xffffu; };
    for (int round = 0; round < 400; ++round) {
        const unsigned puts = next() % 90, takes = next() % 100;
        for (unsigned i = 0; i < puts; ++i) {
            // Mostly short lines, now and then one of several kilobytes.
            const std::size_t size = 1 + (next() % 16 == 0 ? next() % 20000 : next() % 120);
            std::string text(size, char('a' + round % 26));
            text.front() = char('A' + i % 26);
            text.back() = '!';
            ASSERT_TRUE(q.Put(text));
            model.push_back(text);
        }
        ASSERT_EQ(model.size(), q.Size());
        if (!model.empty()) {
            ASSERT_EQ(model.front(), q.At(0));
            ASSERT_EQ(model.back(), q.At(model.size() - 1));
        }
        for (unsigned i = 0; i < takes && !model.empty(); ++i) {
            ASSERT_TRUE(q.TakeOldest(message));
            ASSERT_EQ(model.front(), message) << "round " << round;
            model.pop_front();
        }
        std::size_t counted = 0;
        for (const auto& m : model)
            counted += m.size() + kQueuedMessageCost;
        ASSERT_EQ(counted, q.QueuedBytes());
    }
    EXPECT_EQ(model.size(), Drain(q).size());
    EXPECT_FALSE(q.TakeOldest(message));
    EXPECT_THROW(q.At(0), std::out_of_range);
}

TEST(InQueue, IsUsedAgainAfterBeingFull) {
    InQueue q;
    // Messages of one size, each numbered.
    auto line = [](std::size_t i) { return std::string(1000, 'l') + std::to_string(1'000'000 + i); };
    const std::size_t cost = line(0).size() + kQueuedMessageCost;
    std::size_t kept = 0;
    while (q.Put(line(kept)))
        ++kept;
    EXPECT_EQ(kMaxQueuedBytes / cost, kept);
    // Half taken: as many fit again, behind the rest, and everything comes out in order.
    std::string message;
    for (std::size_t i = 0; i < kept / 2; ++i)
        ASSERT_TRUE(q.TakeOldest(message));
    EXPECT_EQ(line(kept / 2 - 1), message);
    std::size_t again = 0;
    while (q.Put(line(kept + again)))
        ++again;
    EXPECT_EQ(kept / 2, again);
    for (std::size_t i = kept / 2; i < kept + again; ++i) {
        ASSERT_TRUE(q.TakeOldest(message));
        ASSERT_EQ(line(i), message);
    }
    EXPECT_EQ(0u, q.QueuedBytes());
    // Emptied, it takes a full load once more.
    EXPECT_TRUE(q.Put(std::string(kMaxQueuedBytes - kQueuedMessageCost, 'f')));
    EXPECT_FALSE(q.Put("x"));
    EXPECT_EQ(kMaxQueuedBytes - kQueuedMessageCost, q.TakeOldest().size());
}

TEST(InQueue, AMessageFromTheQueueCanBeQueuedAgain) {
    // A view into the queue's own text stays readable while the queue grows to take its copy.
    InQueue q;
    q.Put(std::string(40000, 'a'));
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(q.Put(q.At(std::size_t(i))));
    ASSERT_EQ(7u, q.Size());
    for (std::string m; q.TakeOldest(m);)
        EXPECT_EQ(std::string(40000, 'a'), m);
}

TEST(DispatchTick, ArrivalOrderStopFailureAndTheTickBound) {
    InQueue q;
    for (const char* m : {"a", "stop", "b", "fail", "c"})
        q.Put(m);
    std::string message;
    std::vector<std::string> seen;
    auto handle = [&](const std::string& m) {
        seen.push_back(m);
        if (m == "fail") throw RunTimeError("bad field");
        if (m == "b") q.Put("arrived meanwhile"); // as a modal box inside a handler lets data arrive
        return m != "stop";
    };
    DispatchTick(q, message, handle);
    EXPECT_EQ((std::vector<std::string>{"a", "stop"}), seen);
    q.Put("newer");
    DispatchTick(q, message, handle); // the failing message is lost, the rest keep their place
    EXPECT_EQ((std::vector<std::string>{"a", "stop", "b", "fail"}), seen);
    DispatchTick(q, message, handle);
    EXPECT_EQ((std::vector<std::string>{"a", "stop", "b", "fail", "c", "newer", "arrived meanwhile"}), seen);
    EXPECT_FALSE(q.HasMessages());

    for (int i = 0; i < kInQueueSlots + 5; ++i)
        q.Put("n" + std::to_string(i));
    seen.clear();
    DispatchTick(q, message, handle);
    EXPECT_EQ(std::size_t(kInQueueSlots), seen.size());
    EXPECT_EQ(5u, q.Size());
    EXPECT_EQ("n61", q.At(0));
}

} // namespace
} // namespace gr
