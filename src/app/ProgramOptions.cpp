#include "app/ProgramOptions.h"

namespace gr {

namespace {

std::string Help(std::string_view program) {
    std::string p(program);
    return "Usage: " + p +
           " [ACCOUNT/PASSWORD/SERVER[/CHARACTER['WIDTH'HEIGHT][/SKIN]]]\n"
           "       " +
           p +
           " --help | --version\n"
           "\n"
           "The client of Gloamrest, an online multi-player text adventure with pictures. Without\n"
           "arguments it opens the login window.\n"
           "\n"
           "The game's line (its parts separated by \"/\"; blanks join the arguments into one line):\n"
           "  ACCOUNT/PASSWORD/SERVER   log in at once: SERVER is the number of the server in the login\n"
           "                            window's list, 0 for the first\n"
           "  .../CHARACTER             then enter the game with this character\n"
           "  CHARACTER'WIDTH'HEIGHT    and open the game window at this size in pixels\n"
           "  .../SKIN                  in this skin (a file in the data folder's \"skins\")\n"
           "  Example: " +
           p +
           " Wanderer/lantern42/0/Brynn\n"
           "\n"
           "Options:\n"
           "  -h, --help      show this help and exit\n"
           "  -v, --version   show the version and exit\n"
           "\n"
           "Environment:\n"
           "  GLOAMREST_HOME  the data folder (settings, pictures, sounds, music, skins, macros and logs);\n"
           "                  without it, the per-user data folder (~/.local/share/Gloamrest/Gloamrest)\n"
           "                  and the per-user settings (~/.config/Gloamrest/Gloamrest.conf)\n"
           "  QT_SCALE_FACTOR and the other Qt variables apply as in every Qt program\n";
}

} // namespace

ProgramOptions ReadProgramOptions(const std::vector<std::string>& args, std::string_view program,
                                  std::string_view version) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return {ProgramOptions::Action::Help, Help(program)};
        if (arg == "--version" || arg == "-v")
            return {ProgramOptions::Action::Version,
                    std::string(program) + " " + std::string(version) + "\n"};
    }
    for (const std::string& arg : args)
        if (arg.starts_with("--") || (arg.size() == 2 && arg[0] == '-' && arg[1] != '/'))
            return {ProgramOptions::Action::Mistake,
                    std::string(program) + ": unknown option '" + arg.substr(0, 64) + "'\nTry '" +
                        std::string(program) + " --help' for what the client takes.\n"};
    return {};
}

} // namespace gr
