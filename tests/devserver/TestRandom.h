#pragma once
// Deterministic draws for the cipher filler and keys. The engine's output is fixed by the standard; the
// reduction is done here (not by a distribution, whose output varies between libraries) so a seed gives
// the same bytes everywhere.
#include <random>

#include "core/Random.h"

namespace gr::dev::test {

class SeededRandom final : public gr::RandomSource {
  public:
    explicit SeededRandom(unsigned seed) : Engine(seed) {}
    int Between(int lo, int hi) override { return lo + int(Engine() % unsigned(hi - lo + 1)); }

  private:
    std::mt19937 Engine;
};

} // namespace gr::dev::test
