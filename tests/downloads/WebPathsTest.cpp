#include "downloads/WebPaths.h"

#include <gtest/gtest.h>

namespace gr {
namespace {

TEST(WebPaths, ReadsTheWebHost) {
    struct Case {
        const char* text;
        std::optional<WebHost> host;
    };
    const Case cases[] = {
        {"127.0.0.1:8080", WebHost{"127.0.0.1", 8080}},
        {"pictures.example", WebHost{"pictures.example", 80}},
        {"a-b.c:1", WebHost{"a-b.c", 1}},
        {"host:65535", WebHost{"host", 65535}},
        {"host:65536", std::nullopt},
        {"host:0", std::nullopt},
        {"host:", std::nullopt},
        {"host:80:81", std::nullopt},
        {"host:+80", std::nullopt},
        {"host:008080", std::nullopt},
        {":8080", std::nullopt},
        {"", std::nullopt},
        {"user@host", std::nullopt},
        {"http://host", std::nullopt},
        {"host/path", std::nullopt},
        {"ho st", std::nullopt},
        {"evil.example#.host", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.host, ParseWebHost(c.text)) << c.text;
}

TEST(WebPaths, AcceptsOnlyPlainPathsAndFiles) {
    struct Case {
        const char* text;
        bool path, file;
    };
    const Case cases[] = {
        {"/grpics/1149.jpg", true, false},
        {"gfx/1149.jpg", false, true},
        {"sounds/door_creak-2.wav", false, true},
        {"/grsounds/a.wav", true, false},
        {"/", false, false},
        {"", false, false},
        {"1149.jpg", false, false},         // a file at the top of the data folder
        {"Gloamrest.ini", false, false},    // ... such as the settings
        {"gfx/.machine.ini", false, false}, // hidden files
        {"/grpics/../x.jpg", false, false}, // a way out
        {"gfx/../deployment.ini", false, false},
        {"../gfx/1.jpg", false, false},
        {"/grpics//1.jpg", false, false},
        {"gfx/", false, false},
        {"/grpics/1.jpg?x=1", false, false},
        {"/grpics/%2e%2e/x", false, false},
        {"/grpics/a b.jpg", false, false},
        {"gfx\\1.jpg", false, false},
        {"/C:/x.jpg", false, false},
        {"//evil.example/x", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, IsSafeWebPath(c.text)) << c.text;
        EXPECT_EQ(c.file, IsSafeLocalFile(c.text)) << c.text;
    }
    EXPECT_FALSE(IsSafeWebPath("/" + std::string(kMaxWebPath, 'a')));
    EXPECT_TRUE(IsSafeWebPath("/" + std::string(kMaxWebPath - 1, 'a')));
}

TEST(WebPaths, PictureNumbersAndTheirNames) {
    struct Case {
        const char* text;
        std::optional<int> number;
    };
    const Case cases[] = {
        {"1000", 1000},
        {"1149", 1149},
        {"4000", 4000},
        {"999", std::nullopt},
        {"4001", std::nullopt},
        {"0999", std::nullopt},
        {"", std::nullopt},
        {" 1149", std::nullopt},
        {"1149 ", std::nullopt},
        {"+1149", std::nullopt},
        {"-1149", std::nullopt},
        {"1149.jpg", std::nullopt},
        {"../1149", std::nullopt},
        {"11/9", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.number, ServedPictureNumber(c.text)) << c.text;

    EXPECT_EQ("/grpics/1149.jpg", PictureWebPath(1149));
    EXPECT_EQ("gfx/1149.jpg", PictureFile(1149));
    EXPECT_EQ("gfx/1000.jpg", PictureFile(1000));
    EXPECT_EQ("/grpics/4000.jpg", PictureWebPath(4000));
    for (int outside : {999, 4001, 0, -1149, 2147483647}) {
        EXPECT_EQ("", PictureWebPath(outside));
        EXPECT_EQ("", PictureFile(outside));
    }
    // What the names are built from is what the download service accepts.
    EXPECT_TRUE(IsSafeWebPath(PictureWebPath(1149)));
    EXPECT_TRUE(IsSafeLocalFile(PictureFile(1149)));
}

} // namespace
} // namespace gr
