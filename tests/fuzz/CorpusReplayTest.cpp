// Every committed fuzz seed and finding of the parsers, run through its target's body.
#include "CorpusReplay.h"

namespace gr::fuzz {
namespace {

class CorpusReplay : public testing::TestWithParam<NamedBody> {};

TEST_P(CorpusReplay, EveryCommittedInputPasses) {
    ReplayCorpus(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Fuzz, CorpusReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<NamedBody>& info) {
                             return std::string(info.param.Target);
                         });

} // namespace
} // namespace gr::fuzz
