// The program's arguments (a zero byte between them) through the options it answers on the terminal and
// the game's line they are joined into: a window size stays inside the screen, and the fields are those
// of the line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Targets.h"
#include "core/CommandLine.h"
#include "app/ProgramOptions.h"
#include "core/TextFields.h"

int gr::fuzz::Options(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    for (const std::string_view arg : gr::SplitFields(input, std::string_view("\0", 1)))
        args.emplace_back(arg);
    const gr::ProgramOptions options = gr::ReadProgramOptions(args, "gloamrest", "1.11");
    Check((options.What == gr::ProgramOptions::Action::Play) == options.Text.empty());

    const std::string line = gr::JoinArguments(args);
    constexpr int kScreenWidth = 1920 * 15;
    constexpr int kScreenHeight = 1080 * 15;
    const gr::CommandLineFields fields = gr::ParseCommandLine(line, kScreenWidth, kScreenHeight);
    const std::size_t parts = gr::SplitFields(line, "/").size();
    Check(fields.UserName.has_value() == (parts >= 3));
    Check(fields.AutoPlayCharacter.has_value() == (parts >= 4));
    Check(fields.Skin.has_value() == (parts >= 5));
    Check(fields.StartWidth.has_value() == fields.StartHeight.has_value());
    if (fields.StartWidth) Check(*fields.StartWidth <= kScreenWidth && *fields.StartHeight <= kScreenHeight);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Options)
