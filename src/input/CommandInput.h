#pragma once
// What the player types in the game window: cleaning the line, choosing what it is (a direction, chat, a
// client command or a command for the server), and the input history.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gr {

// Unless the player is a sysop: removes "}" and "{" (the colour markup), then every "%$" (the message
// terminator), so that none survives the cleaning. Then keeps a single "/" where the line starts with
// several.
std::string CleanCommandLine(std::string_view typed, bool sysop);

enum class CommandRow {
    DirectionOrChat,
    SpecialSay,
    Cls,
    Ping,
    Google,
    Dictionary,
    Forum,
    VoiceChat,
    Save,
    Macro,
    Scroll,
    Manager,
    Load,
    Calc,
    Timer,
    Version,
    Taskbar,
    Console,
    TextBufferSize,
    Other, // sent as typed (after the text size, when it is one)
};

// The first row whose test the lower-cased command text passes.
CommandRow ClassifyCommandLine(std::string_view commandText);

// A whole line that is a direction word gives its walking message ("Dirnn" ...); any other line is chat:
// "GeneralChat" followed by the line as typed.
std::string DirectionOrChat(std::string_view commandText, std::string_view typed);

// The names of "/load": the command text from its 7th character, trimmed, split at every blank.
std::vector<std::string> LoadNames(std::string_view commandText);

// "/textbuffersize": the new size (when the value is not 0) and the lines to print.
struct BufferSizeResult {
    std::optional<int> Size;
    std::vector<std::string> Print;
};
BufferSizeResult TextBufferSizeCommand(std::string_view commandText, int currentSize);

// "/textsize": the new size when it is one of 8, 10, 12, 14, 16, 18.
std::optional<int> TextSizeCommand(std::string_view commandText);
std::string TextSizeLine(int size);

// The last lines typed, for the arrow keys, and the server's "Monitor" request.
class InputHistory {
public:
    static constexpr int kLines = 100;
    static constexpr int kRecent = 15;

    // After a processed line: newest first (unless it repeats the newest), position reset, and lines of two
    // or more characters logged with every "%$" as "NLC".
    void Finish(const std::string& typed);
    // A line typed but not sent, which something else is about to replace: kept newest first (unless it is
    // empty or repeats the newest), position reset. Not logged as a recent command: it was never sent.
    void Keep(const std::string& draft);
    std::string Up();
    std::string Down();
    // "Monitor" + requester (bounded) + "/" + each recent line followed by "NLC".
    std::string MonitorAnswer(std::string_view requester) const;

    std::array<std::string, kLines> CommandHistory;
    int HistoryPosition = -1;
    std::array<std::string, kRecent> RecentCommands;

private:
    std::string Step(int direction);
};

} // namespace gr
