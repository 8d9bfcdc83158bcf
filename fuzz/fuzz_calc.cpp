// A "/calc " expression through the calculator: it prints one line of one of its three kinds, or fails
// with the errors it is allowed to throw.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Targets.h"
#include "core/RunTimeError.h"
#include "input/Calculator.h"

int gr::fuzz::Calc(const std::uint8_t* data, std::size_t size) {
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    try {
        const std::string print = gr::Calculate(expression).Print;
        Check(print.starts_with("Calculator: ") || print == "You can only use numbers and +-*/.^" ||
              print == "Division by 0 error");
        Check(print.find_first_of("\r\n") == std::string::npos);
    } catch (const gr::RunTimeError&) {
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Calc)
