// A login-phase message through its classification and the account data it carries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/RunTimeError.h"
#include "game/GameMessages.h"
#include "login/AccountRecords.h"
#include "login/LoginMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string message(reinterpret_cast<const char*>(data), size);
    (void)gr::ClassifyLoginMessage(message);
    (void)gr::ClassifyGameMessage(message);
    try {
        (void)gr::KeyCodeVersion(message);
    } catch (const gr::RunTimeError&) {
    }
    (void)gr::KeyCodeKey(message);
    (void)gr::SplitFields(message, "^%^");
    if (const auto display = gr::ParseDisplay(message)) {
        gr::CritGrid table = gr::EmptyCritGrid();
        gr::AppendCritRecords(table, display->Records);
        gr::AppendCritRecords(table, display->Records);
        for (int column = -1; column < gr::kCritColumns; ++column)
            (void)gr::BuildCritView(table, display->AccountName, column);
        (void)gr::RemoveCritRecord(table, display->Email);
        (void)gr::TypedCharacter(table, display->AccountName);
    }
    (void)gr::MacroFileNames(message);
    return 0;
}
