#pragma once
// Scripted random draws for tests: the values in turn (then the last again), clamped to the asked range.
// Plain C++, so that the logic tests can use it too.
#include <vector>

#include "core/Random.h"

namespace gr::test {

class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> values = {7}) : Values(std::move(values)) {}
    int Between(int lo, int hi) override {
        const int v = Values[Next < Values.size() ? Next++ : Values.size() - 1];
        return v < lo ? lo : (v > hi ? hi : v);
    }

private:
    std::vector<int> Values;
    std::size_t Next = 0;
};

} // namespace gr::test
