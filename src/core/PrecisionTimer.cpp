#include "core/PrecisionTimer.h"

#include <chrono>
#include <cmath>

namespace gr {

ClassPrecisionTimer::ClassPrecisionTimer()
    : ClassPrecisionTimer(
          [] { return std::int64_t(std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1)); },
          1'000'000'000) {}

ClassPrecisionTimer::ClassPrecisionTimer(Counter counter, std::int64_t frequency)
    : Frequency(frequency), Read(std::move(counter)) {}

void ClassPrecisionTimer::ElapsedMs(double& elapsed) const {
    // Whole and fractional parts apart, so that large counts lose no precision before the floor.
    const std::int64_t counts = StopCount - StartCount;
    const std::int64_t whole = counts / Frequency * 1000;
    const std::int64_t rest = counts % Frequency * 1000;
    elapsed = static_cast<double>(whole) + std::floor(static_cast<double>(rest) / static_cast<double>(Frequency));
}

} // namespace gr
