#include "core/InQueue.h"

#include "core/DispatchTick.h"
#include "core/RunTimeError.h"

#include <gtest/gtest.h>

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
