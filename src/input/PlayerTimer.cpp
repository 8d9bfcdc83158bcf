#include "input/PlayerTimer.h"

#include <limits>
#include <utility>

#include "core/CodePage.h"
#include "core/Numbers.h"

namespace gr {

namespace {

// Seconds of a duration text such as "1h5m30s"; ToInt32 throws OverflowError beyond 32 bits. Each unit reads
// the leading number (fractions allowed) of the text before its first letter, and the next unit looks only
// after that letter: "5m1h" is 5 hours.
std::int32_t DurationSeconds(std::string_view d) {
    std::int32_t seconds = 0;
    if (const auto h = d.find('h'); h != std::string_view::npos) {
        seconds = ToInt32(LeadingNumber(d.substr(0, h)) * 3600);
        d = d.substr(h + 1);
    }
    if (const auto m = d.find('m'); m != std::string_view::npos) {
        seconds = ToInt32(LeadingNumber(d.substr(0, m)) * 60 + seconds);
        d = d.substr(m + 1);
    }
    if (const auto s = d.find('s'); s != std::string_view::npos)
        seconds = ToInt32(seconds + LeadingNumber(d.substr(0, s)));
    return seconds;
}

} // namespace

std::string PlayerTimer::DurationText(std::int32_t seconds) {
    std::string text;
    const auto hours = seconds / 3600;
    const auto rest = seconds % 3600;
    if (hours != 0) text += std::to_string(hours) + "h";
    if (rest / 60 != 0) text += std::to_string(rest / 60) + "m";
    if (rest % 60 != 0) text += std::to_string(rest % 60) + "s";
    return text;
}

PlayerTimer::CommandResult PlayerTimer::Command(std::string_view argumentText) {
    const std::string argument = LowerCase(argumentText);
    if (argument.empty()) {
        if (Seconds != 0)
            return {"The timer is set for " + DurationText(Seconds) + ", clear with '/timer clear'."};
        return {
            "The timer is not set, type '/timer [HhMmSs] [optional message]' (eg '/timer 1h5m30s blah' to "
            "say blah after 1 hour, 5 minutes and 30 seconds).\r\nOr type '/timer start' to start the "
            "timer counting up from 0."};
    }
    if (argument == "clear") {
        Seconds = 0;
        Enabled = false;
        return {"The timer has been cleared.", CheckTimerChange::Stop};
    }
    if (argument == "start") {
        Message = CountUp;
        Seconds = 1;
        Enabled = true;
        return {"The timer is now counting up, you can check it with /timer.", CheckTimerChange::Start};
    }

    // "[duration] [message]": the message is everything after the first blank.
    const auto blank = argument.find(' ');
    const std::string_view duration = std::string_view(argument).substr(0, blank);
    std::string message = blank == std::string::npos ? "The timer has finished." : argument.substr(blank + 1);
    // Worked out before anything changes, so an overflowing duration leaves the timer as it was.
    const std::int32_t seconds = DurationSeconds(duration);
    // A negative total ("-5s") would count away from 0 and never run out: it runs out at the next tick,
    // like a duration without any unit.
    Seconds = seconds < 0 ? 0 : seconds;
    Message = std::move(message);
    Enabled = true;
    return {"The timer has been set.", CheckTimerChange::Start};
}

PlayerTimer::TickResult PlayerTimer::Tick() {
    if (!Enabled) return {};
    if (Seconds != 0) {
        if (Message != CountUp)
            --Seconds;
        else if (Seconds < std::numeric_limits<std::int32_t>::max())
            ++Seconds; // stops at the 32-bit limit
        return {};
    }
    Enabled = false;
    return {Message};
}

} // namespace gr
