#pragma once
// Replays every committed seed and finding of a fuzz target (fuzz/corpus/<target>/) through its body: an
// input that once broke something keeps being checked by the normal test run, and a target without seeds
// is noticed.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Targets.h"

namespace gr::fuzz {

inline void ReplayCorpus(const NamedBody& target) {
    const std::filesystem::path folder =
        std::filesystem::path(GLOAMREST_FUZZ_DIR) / "corpus" / std::string(target.Target);
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().string());
        // The body aborts when a property does not hold; a sanitizer reports what it finds in our code.
        EXPECT_EQ(0, target.Run(bytes.data(), bytes.size()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << target.Target;
}

} // namespace gr::fuzz
