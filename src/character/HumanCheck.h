#pragma once
// The human check that is shown at random instead of a roll: an arithmetic question whose answer, 0 to
// 19, is clicked among twenty numbers. Every draw comes from the randomness seam, so tests script it.
#include <array>
#include <string>
#include <string_view>

namespace gr {

class RandomSource;

constexpr int kHumanCheckAnswers = 20;

// Whether a roll request shows the check instead: one request in a hundred.
bool DrawHumanCheck(RandomSource& random);

// "one" to "nine"; empty for any other number.
std::string_view NumberWord(int n);

struct HumanCheckQuestion {
    std::array<int, kHumanCheckAnswers> LetterSizes{}; // font size of each answer, 14 to 16
    int A = 1;
    int B = 1;
    std::string Operator; // " minus ", " times " or " add "
    int CorrectAnswer = 0;
    std::string Text;  // "What is three add five:"
    int TextSize = 10; // 10 to 12
    int OffsetX = 0;   // 0 to kPlacementDraws - 1: where the frame goes (see PlaceHumanCheck)
    int OffsetY = 0;
};

constexpr int kPlacementDraws = 400;

// Draws a question in the order the window uses them: the twenty answer sizes, a and b, the operator
// draws, the question's size, then the frame's place. Minus only when b < a, times only when the product
// stays below 20, so the answer is always one of the twenty shown.
HumanCheckQuestion DrawHumanCheckQuestion(RandomSource& random);

struct FramePlace {
    int Left = 0;
    int Top = 0;
};

// The frame's place inside its container for the drawn offsets: anywhere from the top left corner to the
// bottom right, but always whole inside, so every answer stays visible and clickable. A frame larger than
// its container goes to the top left.
FramePlace PlaceHumanCheck(int offsetX, int offsetY, int containerWidth, int containerHeight, int frameWidth,
                           int frameHeight);

} // namespace gr
