#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/RunTimeError.h"

namespace gr {
namespace {

TEST(Numbers, LeadingNumber) {
    const std::vector<std::pair<const char*, double>> cases = {
        {"12", 12}, {"  7abc", 7}, {"abc", 0}, {"", 0}, {"-3.5x", -3.5}, {"+4", 4}, {".5", 0.5}, {"-", 0}};
    for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(value, LeadingNumber(text)) << text;
}

TEST(Numbers, WholeNumber) {
    const std::vector<std::pair<const char*, std::optional<int>>> cases = {
        {"1", 1},  {" 0 ", 0},   {"", std::nullopt}, {"1x", std::nullopt}, {"x", std::nullopt},
        {"2.5", 2}, {"3.5", 4},  {"-1", -1},         {"99999999999", std::nullopt}};
    for (const auto& [text, value] : cases) EXPECT_EQ(value, WholeNumber(text)) << text;
}

TEST(Numbers, ToInt32Overflows) {
    EXPECT_EQ(2147483647, ToInt32(2147483647.0));
    EXPECT_THROW(ToInt32(2147483648.0), RunTimeError);
    EXPECT_THROW(ToInt32(std::nan("")), RunTimeError);
}

} // namespace
} // namespace gr
