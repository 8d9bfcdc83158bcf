// Every committed seed and finding of the media fuzz targets, through its target's body and so through the
// real SDL2_mixer, FluidSynth and Qt image readers (offscreen, SDL's dummy driver): a file that once made a
// library misbehave behind our checks keeps being tried by the normal test run.
#include "CorpusReplay.h"
#include "MediaTargets.h"

namespace gr::fuzz {
namespace {

class MediaCorpusReplay : public testing::TestWithParam<NamedBody> {};

TEST_P(MediaCorpusReplay, EveryCommittedInputPasses) {
    ReplayCorpus(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Fuzz, MediaCorpusReplay, testing::ValuesIn(kMediaTargets),
                         [](const testing::TestParamInfo<NamedBody>& info) {
                             return std::string(info.param.Target);
                         });

} // namespace
} // namespace gr::fuzz
