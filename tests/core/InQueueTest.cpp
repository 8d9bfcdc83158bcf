#include "core/InQueue.h"

#include "core/DispatchTick.h"
#include "core/RunTimeError.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(InQueue, FillsTheLowestFreeSlot) {
    InQueue q;
    q.Put("a");
    q.Put("b");
    q.Put("c");
    EXPECT_EQ("b", q.Take(1));
    q.Put("d"); // the freed slot 1 is the lowest free one
    EXPECT_EQ("d", q.At(1));
    EXPECT_TRUE(q.IsEmpty(3));
    EXPECT_TRUE(q.Put("")); // an empty message is nothing
    EXPECT_TRUE(q.IsEmpty(3));
}

TEST(InQueue, NewMessagesQueueBehindWaitingOnes) {
    InQueue q;
    for (int i = 0; i < kInQueueSlots + 2; ++i) q.Put("m" + std::to_string(i));
    q.Take(5);
    q.Put("late"); // slot 5 is free, but two older messages wait
    EXPECT_TRUE(q.IsEmpty(5));
    q.Settle();
    EXPECT_EQ("m61", q.At(5));
    EXPECT_EQ(2u, q.WaitingCount());
    for (int i = 0; i < kInQueueSlots; ++i) q.Take(i);
    q.Settle();
    EXPECT_EQ("m62", q.At(0));
    EXPECT_EQ("late", q.At(1));
    EXPECT_EQ(0u, q.WaitingCount());
}

TEST(InQueue, WaitingMessagesAreBounded) {
    InQueue q;
    for (int i = 0; i < kInQueueSlots; ++i) q.Put("x");
    const std::string big(kMaxWaitingBytes / 2 + 1, 'y');
    EXPECT_TRUE(q.Put(big));
    EXPECT_FALSE(q.Put(big));
    EXPECT_EQ(1u, q.WaitingCount());
    q.Clear();
    EXPECT_FALSE(q.HasMessages());
}

TEST(DispatchTick, SlotOrderStopAndFailure) {
    InQueue q;
    for (const char* m : {"a", "stop", "b", "fail", "c"}) q.Put(m);
    std::string message;
    std::vector<std::string> seen;
    auto handle = [&](const std::string& m) {
        seen.push_back(m);
        if (m == "fail") throw RunTimeError("bad field");
        return m != "stop";
    };
    DispatchTick(q, message, handle);
    EXPECT_EQ((std::vector<std::string>{"a", "stop"}), seen);
    EXPECT_EQ("b", q.At(2));
    DispatchTick(q, message, handle); // the failing message is lost, later slots wait
    EXPECT_EQ((std::vector<std::string>{"a", "stop", "b", "fail"}), seen);
    EXPECT_EQ("c", q.At(4));
    DispatchTick(q, message, handle);
    EXPECT_EQ("c", seen.back());
    EXPECT_FALSE(q.HasMessages());
}

} // namespace
} // namespace gr
