#pragma once
// The "/calc " command: a left-to-right arithmetic evaluator over doubles, printed for the player and never
// sent to the server.
#include <string>
#include <string_view>

#include "core/RunTimeError.h"

namespace gr {

// What "/calc " shows: exactly one green system line. The command never sends anything.
struct CalcResult {
    std::string Print;
};

// Evaluates the text after "/calc " (any case; it is lower-cased here). Blanks and "," are removed, "pi"
// and "e" become their constants, then tokens are applied strictly left to right with no precedence: the
// last operator before a number counts, and a malformed number (two points, a lone point) only replaces the
// pending operator. Prints "Calculator: " + prepared expression + " = " + result (up to 15 significant
// digits), "You can only use numbers and +-*/.^" for any other character, or "Division by 0 error".
// Throws OverflowError (the command line prints "That number is to big to calculate.") when a number or a
// result is beyond the double range, and a plain RunTimeError (silent) when a result is not a number (a
// negative base raised to a fractional power).
CalcResult Calculate(std::string_view expression);

// A double as the calculator prints it: up to 15 significant digits, no trailing zeros, no point for whole
// values, an exponent ("1e+20") only when the digits do not fit; minus zero prints as 0.
std::string CalcNumberText(double value);

} // namespace gr
