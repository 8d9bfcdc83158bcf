// Every committed fuzz seed and finding, run through its target's body: an input that once broke a parser
// keeps being checked by the normal test run, and a target without seeds is noticed.
#include "Targets.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gr::fuzz {
namespace {

class CorpusReplay : public testing::TestWithParam<NamedBody> {};

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_P(CorpusReplay, EveryCommittedInputPasses) {
    const std::filesystem::path folder =
        std::filesystem::path(GLOAMREST_FUZZ_DIR) / "corpus" / std::string(GetParam().Target);
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::vector<std::uint8_t> bytes = ReadAll(entry.path());
        SCOPED_TRACE(entry.path().string());
        // The body aborts when a property does not hold; a sanitizer reports what it finds.
        EXPECT_EQ(0, GetParam().Run(bytes.data(), bytes.size()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << GetParam().Target;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<NamedBody>& info) {
                             return std::string(info.param.Target);
                         });

} // namespace
} // namespace gr::fuzz
