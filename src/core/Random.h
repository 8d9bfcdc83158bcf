#pragma once
// Source of pseudo-random numbers for the cipher filler and anything else that draws. Injectable so that
// tests can script the draws; the real one is seeded from the clock at start-up.
#include <cstdint>
#include <random>

namespace gr {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A whole number drawn uniformly from lo to hi, both included.
    virtual int Between(int lo, int hi) = 0;
};

class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom();
    int Between(int lo, int hi) override;

private:
    std::mt19937 Engine;
};

} // namespace gr
