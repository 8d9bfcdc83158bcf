// The human check's question, drawn through the randomness seam, and where its frame may go.
#include <gtest/gtest.h>

#include <set>

#include "character/HumanCheck.h"
#include "support/ScriptedRandom.h"

namespace gr {
namespace {

using test::ScriptedRandom;

// The draws of one question: twenty answer sizes, a - 1, b - 1, then the operator tosses, the question's
// size and the frame's place.
std::vector<int> Draws(int a, int b, std::vector<int> tosses) {
    std::vector<int> draws(20, 1);
    draws.push_back(a - 1);
    draws.push_back(b - 1);
    draws.insert(draws.end(), tosses.begin(), tosses.end());
    draws.push_back(2);   // size 12
    draws.push_back(399); // right edge
    draws.push_back(0);   // top edge
    return draws;
}

TEST(HumanCheck, QuestionRules) {
    struct Case {
        int a, b;
        std::vector<int> tosses;
        std::string text;
        int answer;
    };
    const std::vector<Case> cases = {
        {5, 2, {0}, "What is five minus two:", 3},
        // Minus needs b < a: two minus five is never asked, nor five minus five.
        {2, 5, {0, 1}, "What is two add five:", 7},
        {5, 5, {0, 1}, "What is five add five:", 10},
        {3, 5, {1, 0}, "What is three times five:", 15},
        // Times needs the product below 20: five times four is never asked, nor nine times nine.
        {5, 4, {1, 0}, "What is five add four:", 9},
        {9, 9, {1, 0}, "What is nine add nine:", 18},
        {4, 5, {1, 0}, "What is four add five:", 9},
        {1, 1, {1, 1}, "What is one add one:", 2},
        {9, 1, {1, 0}, "What is nine times one:", 9},
    };
    for (const Case& c : cases) {
        ScriptedRandom random(Draws(c.a, c.b, c.tosses));
        const HumanCheckQuestion q = DrawHumanCheckQuestion(random);
        EXPECT_EQ(c.text, q.Text);
        EXPECT_EQ(c.answer, q.CorrectAnswer) << c.text;
        EXPECT_EQ(12, q.TextSize) << c.text;
        EXPECT_EQ(399, q.OffsetX) << c.text;
        EXPECT_EQ(0, q.OffsetY) << c.text;
    }
}

TEST(HumanCheck, EveryPairAndTossGivesAnAnswerAmongTheTwenty) {
    std::set<int> answers;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= 9; ++b)
            for (const std::vector<int>& tosses : {std::vector<int>{0, 0}, {0, 1}, {1, 0}, {1, 1}}) {
                ScriptedRandom random(Draws(a, b, tosses));
                const HumanCheckQuestion q = DrawHumanCheckQuestion(random);
                EXPECT_GE(q.CorrectAnswer, 0);
                EXPECT_LT(q.CorrectAnswer, kHumanCheckAnswers) << q.Text;
                if (q.Operator == " minus ") {
                    EXPECT_LT(q.B, q.A) << q.Text;
                }
                if (q.Operator == " times ") {
                    EXPECT_LT(q.A * q.B, 20) << q.Text;
                }
                answers.insert(q.CorrectAnswer);
            }
    // 1 to 18: a minus b with b < a is never 0, and no sum or allowed product reaches 19.
    EXPECT_EQ(18u, answers.size());
    EXPECT_EQ(1, *answers.begin());
    EXPECT_EQ(18, *answers.rbegin());
}

TEST(HumanCheck, OneRequestInAHundred) {
    ScriptedRandom zero({0});
    EXPECT_TRUE(DrawHumanCheck(zero));
    ScriptedRandom one({1});
    EXPECT_FALSE(DrawHumanCheck(one));
    ScriptedRandom high({99});
    EXPECT_FALSE(DrawHumanCheck(high));
}

TEST(HumanCheck, FrameStaysWholeInsideItsContainer) {
    struct Case {
        int ox, oy, cw, ch, fw, fh;
        FramePlace place;
    };
    const std::vector<Case> cases = {
        {0, 0, 800, 600, 300, 200, {0, 0}},
        {399, 399, 800, 600, 300, 200, {500, 400}},
        {-5, 9999, 800, 600, 300, 200, {0, 400}}, // out-of-range draws are held at the edges
        {399, 399, 200, 100, 300, 200, {0, 0}},   // a frame larger than its room goes to the corner
    };
    for (const Case& c : cases) {
        const FramePlace p = PlaceHumanCheck(c.ox, c.oy, c.cw, c.ch, c.fw, c.fh);
        EXPECT_EQ(c.place.Left, p.Left) << c.ox << "," << c.oy;
        EXPECT_EQ(c.place.Top, p.Top) << c.ox << "," << c.oy;
    }
    for (int o = 0; o < kPlacementDraws; ++o) {
        const FramePlace p = PlaceHumanCheck(o, kPlacementDraws - 1 - o, 777, 555, 321, 123);
        EXPECT_GE(p.Left, 0);
        EXPECT_GE(p.Top, 0);
        EXPECT_LE(p.Left + 321, 777);
        EXPECT_LE(p.Top + 123, 555);
    }
}

} // namespace
} // namespace gr
