#include "core/Random.h"

#include <chrono>

namespace gr {

ClockSeededRandom::ClockSeededRandom()
    : Engine(static_cast<std::uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

int ClockSeededRandom::Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(Engine); }

} // namespace gr
