#pragma once
// The messages of the login phase, recognised in the order the dispatcher tests them: the first match
// handles a message. Prefix keywords may carry text after them; exact ones must be the whole message.
// Comparisons are case-sensitive.
#include <string>
#include <string_view>

#include "core/TextFields.h"

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

// "KEYCODE": the version the server requires (characters 9 and 10) and the key (from character 11, at
// most 32 characters). The version throws RunTimeError when it is not a number.
int KeyCodeVersion(std::string_view message);
std::string KeyCodeKey(std::string_view message);

} // namespace gr
