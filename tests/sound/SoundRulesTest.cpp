#include <gtest/gtest.h>

#include "core/SafeName.h"
#include "sound/SoundRules.h"

namespace gr {
namespace {

TEST(SoundRules, NamesBecomeFilesOnlyWhenSafe) {
    const auto effect = SoundFileFor(SoundKind::Effect, "door");
    ASSERT_TRUE(effect);
    EXPECT_EQ("sounds/door.wav", effect->Local);
    EXPECT_EQ("/grsounds/door.wav", effect->Web);
    const auto music = SoundFileFor(SoundKind::Music, "town");
    ASSERT_TRUE(music);
    EXPECT_EQ("music/town.mid", music->Local);
    EXPECT_EQ("/grmusic/town.mid", music->Web);

    for (const std::string& name :
         {std::string(), std::string("../gfx/1000"), std::string("a/b"), std::string("a\\b"),
          std::string(".."), std::string("x..y"), std::string("C:door"), std::string("bell\r\n"),
          std::string("a\0b", 3), std::string(kMaxSafeNameBytes + 1, 'z')})
        for (SoundKind kind : {SoundKind::Effect, SoundKind::Music})
            EXPECT_FALSE(SoundFileFor(kind, name)) << name;
}

TEST(SoundRules, OnlyWhatTheFileClaimsToBeIsKept) {
    // 16-bit mono at 22050 Hz, four samples.
    const std::string wave =
        std::string(
            "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\0\0\0",
            44) +
        std::string(8, '\0');
    const std::string midi = std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x0c"
                                         "\0\x90\x3c\x40\x60\x80\x3c\0\0\xff\x2f\0",
                                         34);
    struct Case {
        std::string bytes;
        bool isWave, isMidi;
    };
    const std::vector<Case> cases = {
        {wave, true, false},
        {midi, false, true},
        {"<html><body>Not Found</body></html>", false, false},
        {"R", false, false}, // the first byte alone is not a wave file
        {"M", false, false},
        {wave.substr(0, 19), false, false}, // cut inside the first chunk header
        {wave.substr(0, 48), false, false}, // cut inside the samples
        {wave.substr(0, 44), false, false}, // a header without samples
        {"RIFF\0\0\0\0AVI LIST\0\0\0\0", false, false},
        {midi.substr(0, 13), false, false},                                      // the header is cut
        {midi.substr(0, 14), false, false},                                      // a header without its track
        {std::string("MThd\0\0\0\x05\0\0\0\x01\0\x60", 14), false, false},       // a header too short
        {std::string("MThd\xff\xff\xff\xff\0\0\0\x01\0\x60", 14), false, false}, // longer than the file
        {std::string("MTrk\0\0\0\x06\0\0\0\x01\0\x60", 14), false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.isWave, IsWaveFile(c.bytes)) << c.bytes;
        EXPECT_EQ(c.isMidi, IsMidiFile(c.bytes)) << c.bytes;
        EXPECT_EQ(c.isWave, IsSoundFile(SoundKind::Effect, c.bytes));
        EXPECT_EQ(c.isMidi, IsSoundFile(SoundKind::Music, c.bytes));
    }
    EXPECT_LT(MaxSoundBytes(SoundKind::Music), MaxSoundBytes(SoundKind::Effect));
}

TEST(SoundRules, WhichSoundMessagePlays) {
    struct Case {
        bool soundsOn, pagingOn;
        const char* name;
        std::optional<std::string> plays;
    };
    const std::vector<Case> cases = {
        {true, true, "door", "door"},
        {true, false, "pagerecieve", "pagerecieve"},
        {false, true, "pagerecieve", "pagerecieve"}, // the paging sound with effects off
        {false, true, "door", std::nullopt},
        {false, true, "pagereceive", std::nullopt},
        {false, false, "pagerecieve", std::nullopt},
        {true, true, "", ""}, // an empty name stops the effect
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.plays, EffectToPlay(c.soundsOn, c.pagingOn, c.name)) << c.name;
}

TEST(SoundRules, StoredVolumes) {
    for (const auto& [stored, percent] : std::vector<std::pair<std::string, int>>{{"0", 0},
                                                                                  {"25", 25},
                                                                                  {"100", 100},
                                                                                  {"", 100},
                                                                                  {"101", 100},
                                                                                  {"-5", 100},
                                                                                  {"50%", 100},
                                                                                  {"0050", 100}})
        EXPECT_EQ(percent, VolumeFromSetting(stored)) << stored;
}

} // namespace
} // namespace gr
