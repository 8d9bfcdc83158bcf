// Every committed seed and finding of the media fuzz targets, through its target's body and so through the
// real SDL2_mixer, FluidSynth and Qt image readers (offscreen, SDL's dummy driver): a file that once made a
// library misbehave behind our checks keeps being tried by the normal test run.
#include "MediaTargets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gr::fuzz {
namespace {

class MediaCorpusReplay : public testing::TestWithParam<NamedBody> {};

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_P(MediaCorpusReplay, EveryCommittedInputPasses) {
    const std::filesystem::path folder =
        std::filesystem::path(GLOAMREST_FUZZ_DIR) / "corpus" / std::string(GetParam().Target);
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::vector<std::uint8_t> bytes = ReadAll(entry.path());
        SCOPED_TRACE(entry.path().string());
        // The body aborts when a property does not hold; a sanitizer reports what it finds in our code.
        EXPECT_EQ(0, GetParam().Run(bytes.data(), bytes.size()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << GetParam().Target;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, MediaCorpusReplay, testing::ValuesIn(kMediaTargets),
                         [](const testing::TestParamInfo<NamedBody>& info) {
                             return std::string(info.param.Target);
                         });

} // namespace
} // namespace gr::fuzz
