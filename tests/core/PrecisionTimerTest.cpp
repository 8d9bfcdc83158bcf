#include "core/PrecisionTimer.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(PrecisionTimer, ElapsedIsWholeMillisecondsRoundedDown) {
    std::int64_t now = 0;
    ClassPrecisionTimer timer([&] { return now; }, 10'000'000); // 10 MHz counter
    double ms = -1;
    now = 5'000'000'000'000;
    timer.StartTimer();
    now += 1'239'000; // 123.9 ms
    timer.StopTimer();
    timer.ElapsedMs(ms);
    EXPECT_EQ(123.0, ms);
    // Started again without a stop: the last stop is older than the start.
    now += 100;
    timer.StartTimer();
    timer.ElapsedMs(ms);
    EXPECT_EQ(-1.0, ms);
}

TEST(PrecisionTimer, SteadyClockMovesForward) {
    ClassPrecisionTimer timer;
    timer.StartTimer();
    timer.StopTimer();
    double ms = -1;
    timer.ElapsedMs(ms);
    EXPECT_GE(ms, 0.0);
}

} // namespace
} // namespace gr
