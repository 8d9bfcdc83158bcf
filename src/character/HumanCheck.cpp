#include "character/HumanCheck.h"

#include <algorithm>

#include "core/Random.h"

namespace gr {

bool DrawHumanCheck(RandomSource& random) {
    return random.Between(0, 99) == 0;
}

std::string_view NumberWord(int n) {
    static constexpr std::array<std::string_view, 9> kWords = {"one", "two",   "three", "four", "five",
                                                               "six", "seven", "eight", "nine"};
    return n >= 1 && n <= 9 ? kWords[std::size_t(n - 1)] : std::string_view();
}

HumanCheckQuestion DrawHumanCheckQuestion(RandomSource& random) {
    HumanCheckQuestion q;
    for (int& size : q.LetterSizes)
        size = 14 + random.Between(0, 2);
    q.A = 1 + random.Between(0, 8);
    q.B = 1 + random.Between(0, 8);
    // Each half is a coin toss; the toss is made whether or not the numbers allow the operator.
    if (random.Between(0, 1) == 0 && q.B < q.A) {
        q.Operator = " minus ";
        q.CorrectAnswer = q.A - q.B;
    } else if (random.Between(0, 1) == 0 && q.A * q.B < 20) {
        q.Operator = " times ";
        q.CorrectAnswer = q.A * q.B;
    } else {
        q.Operator = " add ";
        q.CorrectAnswer = q.A + q.B;
    }
    q.Text = "What is " + std::string(NumberWord(q.A)) + q.Operator + std::string(NumberWord(q.B)) + ":";
    q.TextSize = 10 + random.Between(0, 2);
    q.OffsetX = random.Between(0, kPlacementDraws - 1);
    q.OffsetY = random.Between(0, kPlacementDraws - 1);
    return q;
}

FramePlace PlaceHumanCheck(int offsetX, int offsetY, int containerWidth, int containerHeight, int frameWidth,
                           int frameHeight) {
    auto place = [](int offset, int container, int frame) {
        const long long room = std::max(0, container - frame);
        const long long draw = std::clamp(offset, 0, kPlacementDraws - 1);
        return int(room * draw / (kPlacementDraws - 1));
    };
    return {place(offsetX, containerWidth, frameWidth), place(offsetY, containerHeight, frameHeight)};
}

} // namespace gr
