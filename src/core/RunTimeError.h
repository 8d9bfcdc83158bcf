#pragma once
// The one failure type of the client. A field accessor or a conversion that meets a missing field, an index
// out of range or a number that overflows throws it; the handler, tick, command line or load step that
// owns the work catches it and abandons the rest, as the game's rules say. It is never shown to the player.
#include <stdexcept>
#include <string>

namespace gr {

class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(const std::string& what) : std::runtime_error(what) {}
};

// A number too large for where it goes. The command line tells the player about this one.
class OverflowError : public RunTimeError {
public:
    explicit OverflowError(const std::string& what) : RunTimeError(what) {}
};

} // namespace gr
