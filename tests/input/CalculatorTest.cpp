#include "input/Calculator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/RunTimeError.h"

namespace gr {
namespace {

constexpr const char* OnlyNumbers = "You can only use numbers and +-*/.^";
constexpr const char* DivisionByZero = "Division by 0 error";

TEST(Calculator, PrintsOneLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        // left to right, no precedence; a leading operator applies to the starting result 0
        {"2+3*4", "Calculator: 2+3*4 = 20"},
        {"-5+3", "Calculator: -5+3 = -2"},
        {"*5", "Calculator: *5 = 0"},
        {"--5", "Calculator: --5 = -5"},
        // consecutive operators replace one another
        {"5*-2", "Calculator: 5*-2 = 3"},
        {"10/-0", "Calculator: 10/-0 = 10"},
        {"2+", "Calculator: 2+ = 2"},
        {"+", "Calculator: + = 0"},
        {"2^10", "Calculator: 2^10 = 1024"},
        // blanks and commas removed, constants spelled out, any case
        {"1,000+1", "Calculator: 1000+1 = 1001"},
        {" 1 000 * 2 ", "Calculator: 1000*2 = 2000"},
        {"pi*2", "Calculator: 3.14159265358979*2 = 6.28318530717958"},
        {"PI*2", "Calculator: 3.14159265358979*2 = 6.28318530717958"},
        {"e", "Calculator: 2.7182818284587 = 2.7182818284587"},
        {"2e", "Calculator: 22.7182818284587 = 22.7182818284587"},
        {"", "Calculator:  = 0"},
        {"   ", "Calculator:  = 0"},
        // malformed numbers only become the pending operator
        {"5.", "Calculator: 5. = 5"},
        {".5+.5", "Calculator: .5+.5 = 1"},
        {"2+1.2.3", "Calculator: 2+1.2.3 = 2"},
        {"2+1.2.3+4", "Calculator: 2+1.2.3+4 = 6"},
        {".", "Calculator: . = 0"},
        // 15 significant digits, no trailing zeros, minus zero as 0, an exponent when needed
        {"1/3", "Calculator: 1/3 = 0.333333333333333"},
        {"0.1+0.2", "Calculator: 0.1+0.2 = 0.3"},
        {"2^0.5", "Calculator: 2^0.5 = 1.4142135623731"},
        {"-5*0", "Calculator: -5*0 = 0"},
        {"123456789012345", "Calculator: 123456789012345 = 123456789012345"},
        {"99999999999999999999", "Calculator: 99999999999999999999 = 1e+20"},
        {"0.1^400", "Calculator: 0.1^400 = 0"},
        // refused characters
        {"2x3", OnlyNumbers},
        {"(1+2)", OnlyNumbers},
        {"2%3", OnlyNumbers},
        {"1\t+2", OnlyNumbers},
        {"\xC9", OnlyNumbers}, // a capital E with accent lower-cases to another byte, not to "e"
        // division by zero, also when the divisor reads as 0 only after parsing
        {"10/0", DivisionByZero},
        {"10/0.0", DivisionByZero},
        {"0/0", DivisionByZero},
        {"1/0." + std::string(400, '0') + "1", DivisionByZero},
    };
    for (const auto& [expression, line] : cases)
        EXPECT_EQ(line, Calculate(expression).Print) << expression;
}

TEST(Calculator, OverflowIsDistinguishable) {
    const std::string huge = "1" + std::string(400, '0');
    const std::string max = "1" + std::string(308, '0'); // 1e308
    const std::vector<std::string> cases = {"10^400",        huge,        "2*" + huge,
                                            max + "+" + max, max + "*10", "10^200*10^200"};
    for (const auto& expression : cases)
        EXPECT_THROW(Calculate(expression), OverflowError) << expression;
}

TEST(Calculator, NotANumberIsASilentFailure) {
    try {
        Calculate("-8^0.5");
        FAIL() << "no failure";
    } catch (const OverflowError&) {
        FAIL() << "reported as overflow";
    } catch (const RunTimeError&) {
    }
}

} // namespace
} // namespace gr
