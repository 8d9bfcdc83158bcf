#pragma once
// The player's own timer ("/timer"): a count-down that shows a message box when it runs out, or a count-up
// stopwatch. The game window owns the tick timer CheckTimer (CheckTimerIntervalMs) and does what the
// results below say; nothing is sent to the server.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gr {

class PlayerTimer {
  public:
    // Not 1000: the tick is a little faster than a second, so a count-down of n seconds ends after
    // (n + 1) ticks, close to n seconds.
    static constexpr int CheckTimerIntervalMs = 980;
    // TimerMessage of a count-up timer. Commands are lower case, so no count-down message can equal it.
    static constexpr std::string_view CountUp = "COUNTUP";

    enum class CheckTimerChange { None, Start, Stop };

    struct CommandResult {
        std::string Print;                                    // one green system line (may hold "\r\n")
        CheckTimerChange CheckTimer = CheckTimerChange::None; // Start restarts the 980 ms period
    };

    // The text after "/timer " (any case; it is lower-cased here): "" prints the status, "clear" stops the
    // timer, "start" counts up from 1, anything else is "[HhMmSs] [message]" and starts a count-down.
    // Throws OverflowError (core/RunTimeError.h) when the duration does not fit in 32 bits; the timer is then
    // left exactly as it was.
    CommandResult Command(std::string_view argument);

    // One CheckTimer tick. When MessageBox is set, the timer has run out and is now off: stop CheckTimer
    // first, then show the text in a modal OK box with the application's title (the box runs a nested
    // event loop, in which a running CheckTimer would tick again). Does nothing while the timer is off.
    struct TickResult {
        std::optional<std::string> MessageBox;
    };
    TickResult Tick();

    // "1h5m30s" for 3930; each part is left out when it is 0 ("" for 0).
    static std::string DurationText(std::int32_t seconds);

    std::int32_t TimerSeconds() const { return Seconds; }
    const std::string& TimerMessage() const { return Message; }
    bool CheckTimerEnabled() const { return Enabled; }

  private:
    // Count-down: seconds left; count-up: seconds counted (from 1); 0: not set. Never negative.
    std::int32_t Seconds = 0;
    std::string Message;
    bool Enabled = false;
};

} // namespace gr
