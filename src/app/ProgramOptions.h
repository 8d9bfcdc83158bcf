#pragma once
// The options the client answers on the terminal before it opens any window: "--help" and "--version".
// Everything else on the command line is the game's own line (see CommandLine.h), which never starts with
// "--"; an argument that does and is no known option is a mistake the player is told about.
#include <string>
#include <string_view>
#include <vector>

namespace gr {

struct ProgramOptions {
    enum class Action { Play, Help, Version, Mistake };
    Action What = Action::Play;
    std::string Text; // what to print: the help, the version, or the mistake
};

// args: the program's arguments without its name; program: the name to show; version: "1.11".
ProgramOptions ReadProgramOptions(const std::vector<std::string>& args, std::string_view program,
                                  std::string_view version);

} // namespace gr
