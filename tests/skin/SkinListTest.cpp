#include "skin/SkinList.h"

#include <gtest/gtest.h>

#include <string>

namespace gr {
namespace {

TEST(SkinList, ReadsSectionsNamesAndDescriptions) {
    const std::string text = "; skins on offer\r\n"
                             "Name=before any section\r\n"
                             "[dark]\r\n"
                             "Name=Dark Ages\r\n"
                             "description =  Black stone, red letters.  \r\n"
                             "Author=someone\r\n"
                             "just junk\r\n"
                             "\r\n"
                             "# another comment\n"
                             " [ Light_2-b ] \n"
                             "NAME=\n"
                             "[sea]\r"
                             "Name=Sea = Blue\r";
    const std::vector<SkinListEntry> expected = {
        {"dark", "Dark Ages", "Black stone, red letters."},
        {"Light_2-b", "Light_2-b", ""},
        {"sea", "Sea = Blue", ""},
    };
    EXPECT_EQ(expected, ParseSkinList(text));
    EXPECT_TRUE(ParseSkinList("").empty());
    EXPECT_TRUE(ParseSkinList("Name=x\r\n[\r\n[]\r\n]\r\n").empty());
}

TEST(SkinList, OnlyPlainNamesBecomeFiles) {
    for (const std::string& name :
         std::vector<std::string>{"../evil", "a b", "con:x", "a.b", "a/b", "a\\b", "caf\xe9",
                                  std::string(kMaxSkinBaseNameBytes + 1, 'a'), std::string("a\0b", 3)}) {
        const std::string text = "[good]\r\nName=Good\r\n[" + name + "]\r\nName=Evil\r\nDescription=x\r\n";
        const std::vector<SkinListEntry> expected = {{"good", "Good", ""}};
        EXPECT_EQ(expected, ParseSkinList(text)) << name;
        EXPECT_FALSE(IsSkinBaseName(name)) << name;
        EXPECT_EQ("", SkinFileName(name));
        EXPECT_EQ("", SkinPictureWebPath(name));
    }
    EXPECT_TRUE(IsSkinBaseName(std::string(kMaxSkinBaseNameBytes, 'a')));
    EXPECT_EQ("Dark_1.skn", SkinFileName("Dark_1"));
    EXPECT_EQ("Dark_1.jpg", SkinPictureFileName("Dark_1"));
    EXPECT_EQ("/grskins/Dark_1.skn", SkinWebPath("Dark_1"));
    EXPECT_EQ("/grskins/Dark_1.jpg", SkinPictureWebPath("Dark_1"));
}

TEST(SkinList, ASecondSkinOfTheSameNameIsDropped) {
    const auto entries = ParseSkinList("[Dark]\nName=First\n[dark]\nName=Second\nDescription=d\n");
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ((SkinListEntry{"Dark", "First", ""}), entries[0]);
}

TEST(SkinList, IsBounded) {
    std::string many;
    for (std::size_t i = 0; i < kMaxSkinListEntries + 20; ++i)
        many += "[s" + std::to_string(i) + "]\r\n";
    const auto entries = ParseSkinList(many);
    ASSERT_EQ(kMaxSkinListEntries, entries.size());
    EXPECT_EQ("s0", entries.front().BaseName);
    EXPECT_EQ("s" + std::to_string(kMaxSkinListEntries - 1), entries.back().BaseName);

    const std::string longValue(1000, 'v');
    const std::string bounded = "[a]\r\nName=" + longValue + "\r\nDescription=" + std::string(300, 'd') +
                                "\r\nDescription=" + std::string(kMaxSkinListLineBytes, 'x') +
                                "\r\n[b]\r\nName=\x01tab\there\x7f\r\n";
    const auto cut = ParseSkinList(bounded);
    ASSERT_EQ(2u, cut.size());
    EXPECT_EQ("a", cut[0].Name); // the overlong line is skipped
    EXPECT_EQ(std::string(kMaxSkinDescriptionBytes, 'd'), cut[0].Description);
    EXPECT_EQ("tab here", cut[1].Name);
    EXPECT_EQ(std::string(kMaxSkinDisplayNameBytes, 'x'),
              ParseSkinList("[a]\nName=" + std::string(kMaxSkinDisplayNameBytes, 'x') + "y").at(0).Name);

    // Nothing after the first kMaxSkinListBytes is read.
    std::string padded = "[first]\n" + std::string(kMaxSkinListBytes, '\n') + "[late]\n";
    ASSERT_EQ(1u, ParseSkinList(padded).size());
}

TEST(SkinList, DownloadedSkinsAreKeptOnlyWhenWhole) {
    EXPECT_TRUE(IsWholeSkinPicture("\xff\xd8\xff"));
    EXPECT_FALSE(IsWholeSkinPicture("<html>"));
    EXPECT_FALSE(IsWholeSkinPicture(""));
    EXPECT_TRUE(IsWholeSkinFile("Background=dark.jpg\r\n"));
    EXPECT_FALSE(IsWholeSkinFile("<html>"));
    EXPECT_FALSE(IsWholeSkinFile(""));
    EXPECT_EQ("Download of skin was corrupt, try again shortly.", kSkinDownloadCorruptMessage);
}

} // namespace
} // namespace gr
