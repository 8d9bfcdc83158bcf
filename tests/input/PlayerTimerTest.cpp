#include "input/PlayerTimer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/RunTimeError.h"

namespace gr {
namespace {

using Change = PlayerTimer::CheckTimerChange;

constexpr const char* NotSet =
    "The timer is not set, type '/timer [HhMmSs] [optional message]' (eg '/timer 1h5m30s blah' to say blah "
    "after 1 hour, 5 minutes and 30 seconds).\r\nOr type '/timer start' to start the timer counting up from "
    "0.";

void TickTimes(PlayerTimer& timer, int ticks) {
    for (int i = 0; i < ticks; ++i)
        ASSERT_FALSE(timer.Tick().MessageBox) << "tick " << i + 1;
}

TEST(PlayerTimer, SetsCountDown) {
    struct Case {
        const char* argument;
        std::int32_t seconds;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"1h5m30s tea", 3930, "tea"},
        {"90s", 90, "The timer has finished."},
        {"5m1h", 18000, "The timer has finished."}, // the text before the first h is "5m1"
        {"1.5m", 90, "The timer has finished."},
        {"30m2s", 1802, "The timer has finished."},
        {"1h30", 3600, "The timer has finished."}, // nothing marks the 30
        {"30", 0, "The timer has finished."},      // runs out at the next tick
        {"m", 0, "The timer has finished."},
        {"0.5s", 0, "The timer has finished."}, // halves round to the even neighbour
        {"1.5s", 2, "The timer has finished."},
        {"2.5s", 2, "The timer has finished."},
        {"1h-30m", 1800, "The timer has finished."},
        {"-5s", 0, "The timer has finished."}, // a negative total runs out at the next tick
        {"10s Call Mom Now", 10, "call mom now"},
        {"10s ", 10, ""},
        {"2147483647s", 2147483647, "The timer has finished."},
        {"596523h", 2147482800, "The timer has finished."},
    };
    for (const auto& c : cases) {
        PlayerTimer timer;
        const auto result = timer.Command(c.argument);
        EXPECT_EQ("The timer has been set.", result.Print) << c.argument;
        EXPECT_EQ(Change::Start, result.CheckTimer) << c.argument;
        EXPECT_EQ(c.seconds, timer.TimerSeconds()) << c.argument;
        EXPECT_EQ(c.message, timer.TimerMessage()) << c.argument;
        EXPECT_TRUE(timer.CheckTimerEnabled()) << c.argument;
    }
}

TEST(PlayerTimer, OverflowLeavesTimerAsItWas) {
    for (const char* argument : {"999999h x", "596524h", "35791395m", "35791394m60s", "2147483648s",
                                 "1000000000000000000000000000000h", "-999999h"}) {
        PlayerTimer idle;
        EXPECT_THROW(idle.Command(argument), OverflowError) << argument;
        EXPECT_EQ(0, idle.TimerSeconds()) << argument;
        EXPECT_FALSE(idle.CheckTimerEnabled()) << argument;

        PlayerTimer running;
        running.Command("10s tea");
        TickTimes(running, 3);
        EXPECT_THROW(running.Command(argument), OverflowError) << argument;
        EXPECT_EQ(7, running.TimerSeconds()) << argument;
        EXPECT_EQ("tea", running.TimerMessage()) << argument;
        EXPECT_TRUE(running.CheckTimerEnabled()) << argument;
    }
}

TEST(PlayerTimer, DurationText) {
    const std::vector<std::pair<std::int32_t, const char*>> cases = {
        {3930, "1h5m30s"}, {90, "1m30s"}, {3600, "1h"},
        {3601, "1h1s"},    {59, "59s"},   {60, "1m"},
        {1, "1s"},         {0, ""},       {2147483647, "596523h14m7s"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(text, PlayerTimer::DurationText(seconds)) << seconds;
}

TEST(PlayerTimer, Status) {
    PlayerTimer timer;
    EXPECT_EQ(NotSet, timer.Command("").Print);
    EXPECT_EQ(Change::None, timer.Command("").CheckTimer);

    timer.Command("1h5m30s tea");
    EXPECT_EQ("The timer is set for 1h5m30s, clear with '/timer clear'.", timer.Command("").Print);
    TickTimes(timer, 30);
    EXPECT_EQ("The timer is set for 1h5m, clear with '/timer clear'.", timer.Command("").Print);
    EXPECT_EQ(Change::None, timer.Command("").CheckTimer);
}

TEST(PlayerTimer, Clear) {
    PlayerTimer never;
    const auto result = never.Command("clear");
    EXPECT_EQ("The timer has been cleared.", result.Print);
    EXPECT_EQ(Change::Stop, result.CheckTimer);

    PlayerTimer set;
    set.Command("90s tea");
    EXPECT_EQ(Change::Stop, set.Command("CLEAR").CheckTimer);
    EXPECT_EQ(0, set.TimerSeconds());
    EXPECT_FALSE(set.CheckTimerEnabled());
    EXPECT_EQ("tea", set.TimerMessage()); // the message is kept
    EXPECT_EQ(NotSet, set.Command("").Print);
    EXPECT_FALSE(set.Tick().MessageBox);
}

TEST(PlayerTimer, CountDownRunsOutOnTheTickAfterZero) {
    PlayerTimer timer;
    timer.Command("10s tea");
    TickTimes(timer, 10); // 10 ticks of 980 ms reach 0 ...
    EXPECT_EQ(0, timer.TimerSeconds());
    EXPECT_TRUE(timer.CheckTimerEnabled());
    EXPECT_EQ(std::optional<std::string>("tea"), timer.Tick().MessageBox); // ... the 11th shows the box
    EXPECT_FALSE(timer.CheckTimerEnabled());
    EXPECT_FALSE(timer.Tick().MessageBox); // a late tick after the stop does nothing
    EXPECT_EQ(NotSet, timer.Command("").Print);

    PlayerTimer bare;
    bare.Command("30");
    EXPECT_EQ(std::optional<std::string>("The timer has finished."), bare.Tick().MessageBox);
}

TEST(PlayerTimer, CountUp) {
    PlayerTimer timer;
    const auto result = timer.Command("start");
    EXPECT_EQ("The timer is now counting up, you can check it with /timer.", result.Print);
    EXPECT_EQ(Change::Start, result.CheckTimer);
    EXPECT_EQ("COUNTUP", timer.TimerMessage());
    EXPECT_EQ(1, timer.TimerSeconds());
    TickTimes(timer, 60);
    EXPECT_EQ("The timer is set for 1m1s, clear with '/timer clear'.", timer.Command("").Print);

    // A typed "countup" message is lower case and counts down.
    timer.Command("2s countup");
    TickTimes(timer, 2);
    EXPECT_EQ(std::optional<std::string>("countup"), timer.Tick().MessageBox);
}

TEST(PlayerTimer, NewCommandReplacesRunningTimer) {
    PlayerTimer timer;
    timer.Command("start");
    TickTimes(timer, 5);
    timer.Command("5s");
    EXPECT_EQ(5, timer.TimerSeconds());
    TickTimes(timer, 1);
    EXPECT_EQ(4, timer.TimerSeconds());

    timer.Command("start");
    EXPECT_EQ(1, timer.TimerSeconds());
    TickTimes(timer, 1);
    EXPECT_EQ(2, timer.TimerSeconds());
}

} // namespace
} // namespace gr
