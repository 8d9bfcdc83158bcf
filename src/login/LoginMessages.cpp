#include "login/LoginMessages.h"

#include "core/Cipher.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"

namespace gr {

LoginMessage ClassifyLoginMessage(std::string_view m) {
    if (m.starts_with("GenerateUser")) return LoginMessage::GenerateUser;
    if (m.starts_with("AccountMSG")) return LoginMessage::AccountMsg;
    if (m.starts_with("AccountEnableCrit")) return LoginMessage::AccountEnableCrit;
    if (m.starts_with("Password")) return LoginMessage::Password;
    if (m.starts_with("Display")) return LoginMessage::Display;
    if (m.starts_with("CritInfo")) return LoginMessage::CritInfo;
    if (m == "InUse") return LoginMessage::InUse;
    if (m == "DayBanRemove") return LoginMessage::DayBanRemove;
    if (m == "DayBanned") return LoginMessage::DayBanned;
    if (m == "SysMsgBanned") return LoginMessage::SysMsgBanned;
    if (m.starts_with("KEYCODE")) return LoginMessage::KeyCode;
    return LoginMessage::None;
}

int KeyCodeVersion(std::string_view message) {
    const auto version = WholeNumber(TextFrom(message, 9).substr(0, 2));
    if (!version) throw RunTimeError("KEYCODE version is not a number");
    return *version;
}

std::string KeyCodeKey(std::string_view message) {
    return std::string(TextFrom(message, 11).substr(0, kMaxCipherKeyLength));
}

} // namespace gr
