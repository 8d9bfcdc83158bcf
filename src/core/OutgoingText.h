#pragma once
// Text on its way to the server. "%$" ends a message and cannot be escaped, so no text that a player typed
// may hold it: the server would cut the message there and take the rest as a message of its own (and
// through chat, as a message to other players' clients). Text that came from the server and goes back to
// it is bounded, so a huge field is not echoed whole.
#include <cstddef>
#include <string>
#include <string_view>

namespace gr {

constexpr std::string_view kMessageTerminator = "%$";
// The most of a server field that the client sends back (a requester's name, a check's value).
constexpr std::size_t kMaxEchoBytes = 256;

// Removes "%$" until none is left: removing one may join a "%" and a "$" into another ("%%$$").
void RemoveTerminators(std::string& text);
std::string WithoutTerminators(std::string_view text);

// A field of server text as the client may send it back: at most kMaxEchoBytes, without "%$".
std::string Echo(std::string_view serverText);

} // namespace gr
