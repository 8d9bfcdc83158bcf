#pragma once
// The body of every fuzz target as a plain function over the input bytes. Each target's libFuzzer entry
// calls its function, and the logic tests replay the committed corpora (fuzz/corpus/<target>/) through the
// same functions, so an input that once failed keeps being checked by the normal test run.
//
// A target checks what must hold with std::abort (a finding for the fuzzer, a crash for the replay test);
// the objects it needs are made once and reset per input, so that an execution costs only the parsing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/Random.h"

namespace gr::fuzz {

using Body = int (*)(const std::uint8_t* data, std::size_t size);

int Receive(const std::uint8_t* data, std::size_t size);
int Login(const std::uint8_t* data, std::size_t size);
int Game(const std::uint8_t* data, std::size_t size);
int Markup(const std::uint8_t* data, std::size_t size);
int TextLog(const std::uint8_t* data, std::size_t size);
int Command(const std::uint8_t* data, std::size_t size);
int Options(const std::uint8_t* data, std::size_t size);
int Calc(const std::uint8_t* data, std::size_t size);
int Status(const std::uint8_t* data, std::size_t size);
int Panels(const std::uint8_t* data, std::size_t size);
int Sound(const std::uint8_t* data, std::size_t size);
int Skin(const std::uint8_t* data, std::size_t size);
int SkinList(const std::uint8_t* data, std::size_t size);
int Macros(const std::uint8_t* data, std::size_t size);
int StatsIn(const std::uint8_t* data, std::size_t size);
int Voice(const std::uint8_t* data, std::size_t size);
int WebPaths(const std::uint8_t* data, std::size_t size);
int PictureHeader(const std::uint8_t* data, std::size_t size);

struct NamedBody {
    std::string_view Target; // the executable's name and the corpus folder
    Body Run;
};

// Every target whose body is above.
inline constexpr NamedBody kTargets[] = {
    {"fuzz_receive", &Receive},   {"fuzz_login", &Login},       {"fuzz_game", &Game},
    {"fuzz_markup", &Markup},     {"fuzz_textlog", &TextLog},   {"fuzz_command", &Command},
    {"fuzz_options", &Options},   {"fuzz_calc", &Calc},         {"fuzz_status", &Status},
    {"fuzz_panels", &Panels},     {"fuzz_sound", &Sound},       {"fuzz_skin", &Skin},
    {"fuzz_skinlist", &SkinList}, {"fuzz_macros", &Macros},     {"fuzz_statsin", &StatsIn},
    {"fuzz_voice", &Voice},       {"fuzz_webpaths", &WebPaths}, {"fuzz_picture_header", &PictureHeader},
};

// Random numbers that only count up, so that an input always draws the same way (a rainbow's colours).
class CountingRandom final : public RandomSource {
  public:
    int Between(int lo, int hi) override { return lo + (Next++ % (hi - lo + 1)); }

  private:
    int Next = 0;
};

// Ends the run when a property does not hold.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace gr::fuzz

// The libFuzzer entry of a target; left out when the bodies are linked into the replay test.
#ifdef GLOAMREST_FUZZ_REPLAY
#define GLOAMREST_FUZZ_ENTRY(body)
#else
#define GLOAMREST_FUZZ_ENTRY(body)                                                                           \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {                      \
        return body(data, size);                                                                             \
    }
#endif
