// A typed line (or a program command line) through everything that reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Targets.h"
#include "core/CodePage.h"
#include "core/CommandLine.h"
#include "core/RunTimeError.h"
#include "input/Calculator.h"
#include "input/CommandInput.h"
#include "input/PlayerTimer.h"

int gr::fuzz::Command(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    (void)gr::ParseCommandLine(typed, 1920 * 15, 1080 * 15);
    const std::string cleaned = gr::CleanCommandLine(typed, false);
    const std::string command = gr::LowerCase(cleaned);
    (void)gr::ClassifyCommandLine(command);
    (void)gr::DirectionOrChat(command, cleaned);
    (void)gr::LoadNames(command);
    (void)gr::TextBufferSizeCommand(command, 40000);
    (void)gr::TextSizeCommand(command);
    try {
        (void)gr::Calculate(typed);
    } catch (const gr::RunTimeError&) {
    }
    gr::PlayerTimer timer;
    try {
        (void)timer.Command(typed);
        for (int i = 0; i < 3; ++i)
            (void)timer.Tick();
    } catch (const gr::RunTimeError&) {
    }
    gr::InputHistory history;
    history.Finish(cleaned);
    (void)history.Up();
    (void)history.MonitorAnswer(typed);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Command)
