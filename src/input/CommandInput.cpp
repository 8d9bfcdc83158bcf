#include "input/CommandInput.h"

#include <algorithm>

#include "core/Numbers.h"
#include "core/OutgoingText.h"
#include "core/TextFields.h"

namespace gr {

namespace {
void RemoveAll(std::string& text, std::string_view what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
}

std::string ReplaceAll(std::string text, std::string_view what, std::string_view with) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}
} // namespace

std::string CleanCommandLine(std::string_view typed, bool sysop) {
    std::string text(typed);
    if (!sysop) {
        // The braces go first: removing them must not join a "%" and a "$" into a terminator ("%{$").
        RemoveAll(text, "}");
        RemoveAll(text, "{");
        RemoveTerminators(text);
    }
    std::size_t drop = 0;
    while (text.size() > drop + 1 && text[drop] == '/' && text[drop + 1] == '/') ++drop;
    return text.substr(drop);
}

CommandRow ClassifyCommandLine(std::string_view c) {
    if (!c.starts_with("/")) return CommandRow::DirectionOrChat;
    if (c.starts_with("/s ")) return CommandRow::SpecialSay;
    if (c == "/cls" || c == "/clear") return CommandRow::Cls;
    if (c == "/ping") return CommandRow::Ping;
    if (c.starts_with("/google")) return CommandRow::Google;
    if (c.starts_with("/dictionary")) return CommandRow::Dictionary;
    if (c == "/forum") return CommandRow::Forum;
    if (c.starts_with("/voicechat ")) return CommandRow::VoiceChat;
    if (c == "/save") return CommandRow::Save;
    if (c.starts_with("/macro")) return CommandRow::Macro;
    if (c == "/scroll") return CommandRow::Scroll;
    if (c == "/manager") return CommandRow::Manager;
    if (c.starts_with("/load ")) return CommandRow::Load;
    if (c.starts_with("/calc ")) return CommandRow::Calc;
    if (c.starts_with("/timer")) return CommandRow::Timer;
    if (c == "/version") return CommandRow::Version;
    if (c == "/taskbar") return CommandRow::Taskbar;
    if (c == "/console") return CommandRow::Console;
    if (c.starts_with("/textbuffersize")) return CommandRow::TextBufferSize;
    return CommandRow::Other;
}

std::string DirectionOrChat(std::string_view c, std::string_view typed) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kDirections = {{
        {"north", "Dirnn"}, {"n", "Dirnn"}, {"east", "Diree"}, {"e", "Diree"}, {"south", "Dirss"}, {"s", "Dirss"},
        {"west", "Dirww"},  {"w", "Dirww"}, {"up", "Diruu"},   {"u", "Diruu"}, {"down", "Dirdd"},  {"d", "Dirdd"},
    }};
    for (const auto& [word, message] : kDirections)
        if (c == word) return std::string(message);
    return "GeneralChat" + std::string(typed);
}

std::vector<std::string> LoadNames(std::string_view commandText) {
    std::string_view rest = TextFrom(commandText, 7);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    std::vector<std::string> names;
    for (const auto name : SplitFields(rest, " ")) names.emplace_back(name);
    return names;
}

BufferSizeResult TextBufferSizeCommand(std::string_view commandText, int currentSize) {
    BufferSizeResult result;
    const double value = LeadingNumber(TextFrom(commandText, 17));
    int size = currentSize;
    if (value != 0) {
        // Beyond the allowed range the size is clamped anyway, so a huge number cannot overflow it.
        if (value < 1000) {
            size = 1000;
            result.Print.emplace_back("Value must be greater than 1000 characters.");
        } else if (value > 100000) {
            size = 100000;
            result.Print.emplace_back("Value must be less than 100000 characters.");
        } else {
            size = ToInt32(value);
        }
        result.Size = size;
    }
    result.Print.push_back("The text buffer is currently set to " + std::to_string(size) + " characters");
    return result;
}

std::optional<int> TextSizeCommand(std::string_view commandText) {
    const double value = LeadingNumber(TextFrom(commandText, 11));
    for (int size : {8, 10, 12, 14, 16, 18})
        if (value == size) return size;
    return std::nullopt;
}

std::string TextSizeLine(int size) {
    return "The text size is currently set to " + std::to_string(size) + ". It can be changed to 8,10,12,14,16,18";
}

void InputHistory::Finish(const std::string& typed) {
    if (typed != CommandHistory[0]) {
        std::move_backward(CommandHistory.begin(), CommandHistory.end() - 1, CommandHistory.end());
        CommandHistory[0] = typed;
    }
    HistoryPosition = -1;
    if (typed.size() >= 2) {
        std::move(RecentCommands.begin() + 1, RecentCommands.end(), RecentCommands.begin());
        RecentCommands.back() = ReplaceAll(typed, "%$", "NLC");
    }
}

void InputHistory::Keep(const std::string& draft) {
    if (!draft.empty() && draft != CommandHistory[0]) {
        std::move_backward(CommandHistory.begin(), CommandHistory.end() - 1, CommandHistory.end());
        CommandHistory[0] = draft;
    }
    HistoryPosition = -1;
}

std::string InputHistory::Step(int direction) {
    int wraps = 0;
    do {
        HistoryPosition += direction;
        if (HistoryPosition >= kLines) {
            HistoryPosition = 0;
            ++wraps;
        } else if (HistoryPosition < 0) {
            HistoryPosition = kLines - 1;
            ++wraps;
        }
    } while (CommandHistory[std::size_t(HistoryPosition)].empty() && wraps < 2);
    return CommandHistory[std::size_t(HistoryPosition)];
}

std::string InputHistory::Up() { return Step(1); }

std::string InputHistory::Down() { return Step(-1); }

std::string InputHistory::MonitorAnswer(std::string_view requester) const {
    std::string answer = "Monitor" + Echo(requester) + "/";
    for (const auto& line : RecentCommands) answer += line + "NLC";
    return answer;
}

} // namespace gr
