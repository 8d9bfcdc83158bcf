#include "input/Calculator.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "core/CodePage.h"

namespace gr {

namespace {

constexpr std::string_view Operators = "+-/*^";
constexpr std::string_view Allowed = "0123456789+-/*.^";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The value of a token of digits and points when it is a number: at least one digit and at most one point
// ("5." and ".5" are numbers, "." and "1.2.3" are not).
std::optional<double> NumberValue(std::string_view token) {
    int digits = 0;
    int points = 0;
    for (char c : token) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    // Parsed correctly rounded and independent of the C locale's decimal point.
    double value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond the double range: too large when a digit before the point is not 0, else too small
        // to tell from 0.
        const auto whole = token.substr(0, token.find('.'));
        if (whole.find_first_not_of('0') != std::string_view::npos) throw OverflowError("number too large");
        return 0.0;
    }
    if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
    return value;
}

double Checked(double result) {
    if (std::isinf(result)) throw OverflowError("result too large");
    if (std::isnan(result)) throw RunTimeError("result is not a number");
    return result;
}

} // namespace

std::string CalcNumberText(double value) {
    if (value == 0) value = 0; // minus zero prints as 0
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    if (error != std::errc()) return "0"; // cannot happen: 32 characters hold any 15-digit double
    return std::string(text, end);
}

CalcResult Calculate(std::string_view expressionText) {
    std::string expression = LowerCase(expressionText);
    std::erase(expression, ' ');
    std::erase(expression, ',');
    ReplaceAll(expression, "pi", "3.14159265358979");
    ReplaceAll(expression, "e", "2.7182818284587");
    if (expression.find_first_not_of(Allowed) != std::string::npos)
        return {"You can only use numbers and +-*/.^"};

    double result = 0;
    std::string pending; // the last token that was not a number
    std::size_t scan = 0;
    while (scan < expression.size()) {
        // A token is one operator character, or everything up to the next operator character.
        const std::size_t op = expression.find_first_of(Operators, scan);
        std::string_view token = expression;
        if (op == scan) {
            token = token.substr(scan, 1);
            scan += 1;
        } else if (op == std::string::npos) {
            token = token.substr(scan);
            scan = expression.size();
        } else {
            token = token.substr(scan, op - scan);
            scan = op;
        }

        const auto value = NumberValue(token);
        if (!value) {
            pending = token;
            continue;
        }
        const double v = *value;
        if (pending.empty())
            result = v;
        else if (pending == "+")
            result = Checked(result + v);
        else if (pending == "-")
            result = Checked(result - v);
        else if (pending == "*")
            result = Checked(result * v);
        else if (pending == "^")
            result = Checked(std::pow(result, v));
        else if (pending == "/") {
            if (v == 0) return {"Division by 0 error"};
            result = Checked(result / v);
        }
        // A malformed number as the pending operator leaves the result as it is; the operator token that
        // always follows such a token replaces it before the next number anyway.
    }
    return {"Calculator: " + expression + " = " + CalcNumberText(result)};
}

} // namespace gr
