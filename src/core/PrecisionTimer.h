#pragma once
// Measures elapsed time with a steady, monotonic counter, as the ping round trip needs.
#include <cstdint>
#include <functional>

namespace gr {

class ClassPrecisionTimer {
public:
    // The counter and its counts per second; by default the steady clock in nanoseconds.
    using Counter = std::function<std::int64_t()>;
    ClassPrecisionTimer();
    ClassPrecisionTimer(Counter counter, std::int64_t frequency);

    void StartTimer() { StartCount = Read(); }
    void StopTimer() { StopCount = Read(); }
    // Whole milliseconds from the last start to the last stop, never rounded up (123.9 gives 123).
    void ElapsedMs(double& elapsed) const;

    std::int64_t Frequency;
    std::int64_t StartCount = 0;
    std::int64_t StopCount = 0;

private:
    Counter Read;
};

} // namespace gr
