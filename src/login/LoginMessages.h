#pragma once
// The messages of the login phase, recognised in the order the dispatcher tests them: the first match
// handles a message. Prefix keywords may carry text after them; exact ones must be the whole message.
// Comparisons are case-sensitive.
#include <string>
#include <string_view>
#include <vector>

namespace gr {

enum class LoginMessage {
    None, // discarded
    GenerateUser,
    AccountMsg,
    AccountEnableCrit,
    Password,
    Display,
    CritInfo,
    InUse,
    DayBanRemove,
    DayBanned,
    SysMsgBanned,
    KeyCode,
};

LoginMessage ClassifyLoginMessage(std::string_view message);

// The text of a message from a 1-based character position on ("" when the message is shorter).
std::string_view TextFrom(std::string_view message, std::size_t position);

// The fields of a message's text between separators, empty ones included.
std::vector<std::string> SplitFields(std::string_view text, std::string_view separator);

// "KEYCODE": the version the server requires (characters 9 and 10) and the key (from character 11, at
// most 32 characters). The version throws RunTimeError when it is not a number.
int KeyCodeVersion(std::string_view message);
std::string KeyCodeKey(std::string_view message);

} // namespace gr
