#include "app/ProgramOptions.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(ProgramOptions, HelpAndVersionAreAnsweredAndMistakesNamed) {
    using A = ProgramOptions::Action;
    struct Case {
        std::vector<std::string> args;
        A what;
    };
    for (const Case& c : std::vector<Case>{
             {{}, A::Play},
             {{"Wanderer/lantern42/0/Brynn"}, A::Play},
             {{"Wanderer/lantern", "42/0"}, A::Play}, // blanks join the game's line
             {{"-/odd/0"}, A::Play},                  // a line that starts with "-" but is no option
             {{"--help"}, A::Help},
             {{"-h"}, A::Help},
             {{"Wanderer/x/0", "--version"}, A::Version},
             {{"-v"}, A::Version},
             {{"--bogus", "--help"}, A::Help}, // help wins, as the player asked for it
             {{"--bogus"}, A::Mistake},
             {{"-x"}, A::Mistake},
             {{"Wanderer/x/0", "--colour=red"}, A::Mistake},
         }) {
        const ProgramOptions o = ReadProgramOptions(c.args, "gloamrest", "1.11");
        EXPECT_EQ(c.what, o.What) << (c.args.empty() ? "" : c.args.front());
    }
    EXPECT_EQ("gloamrest 1.11\n", ReadProgramOptions({"--version"}, "gloamrest", "1.11").Text);
    const std::string help = ReadProgramOptions({"--help"}, "gloamrest", "1.11").Text;
    EXPECT_NE(std::string::npos, help.find("GLOAMREST_HOME"));
    EXPECT_NE(std::string::npos, help.find("ACCOUNT/PASSWORD/SERVER"));
    const std::string mistake = ReadProgramOptions({"--" + std::string(500, 'x')}, "gloamrest", "1.11").Text;
    EXPECT_NE(std::string::npos, mistake.find("unknown option"));
    EXPECT_LT(mistake.size(), 200u) << "the echo of a bad option is bounded";
}

} // namespace
} // namespace gr
