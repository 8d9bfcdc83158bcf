// The game window's start-up from the stored settings, the keep-alive and quitting.
#include <QAction>
#include <QTimer>

#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameLoad : public GameFixture {};

const QString kUpdaterNotice = QStringLiteral(
    "There is a new Autoupdater available, click on the help menu, then click 'Update the Autoupdater' to get it.");

TEST_F(GameLoad, DefaultsWithNoSettings) {
    Game& g = Entered();
    EXPECT_FALSE(g.SoundsOn->isChecked());
    EXPECT_TRUE(g.SoundsOnPaging->isChecked());
    EXPECT_FALSE(g.MusicOn->isChecked());
    EXPECT_FALSE(g.VoiceChatOn->isChecked());
    EXPECT_TRUE(g.Hide_When_Maximising->isChecked());
    EXPECT_TRUE(g.Bar_Flashing->isChecked());
    EXPECT_TRUE(g.Enhanced_XP->isChecked());
    EXPECT_FALSE(g.Start_Maximised->isChecked());
    EXPECT_FALSE(g.isMaximized());
    EXPECT_EQ(40000, g.TD->TextBufferSize);
    EXPECT_EQ(8, g.TD->TextSize);
    for (auto* item : g.TextSizeItems) EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(QStringList{kUpdaterNotice}, dialogs.Shown);
    EXPECT_EQ("&H0000C000", g.BarColours[4]);
    EXPECT_EQ("&H00FF0000", g.BarColours[6]);
    EXPECT_TRUE(g.ImStillOn->isActive());
    EXPECT_TRUE(g.WorkerEnabled);
    EXPECT_EQ(QStringLiteral("Aldric - 127.0.0.1 - Gloamrest Multi"), g.windowTitle());
}

TEST_F(GameLoad, StoredSettings) {
    struct Case {
        const char* buffer;
        int bufferSize;
        const char* textSize;
        int size;
        int checked; // index of the checked size item, -1 for none
    };
    const std::vector<Case> cases = {
        {"500", 1000, "12", 12, 2},
        {"200000", 100000, "11", 11, -1},
        {"abc", 40000, "18", 18, 5},
        {"5000", 5000, "", 8, -1},
    };
    for (const auto& c : cases) {
        PresetSetting(QStringLiteral("Buffer_Size"), QString::fromLatin1(c.buffer));
        PresetSetting(QStringLiteral("Textsize"), QString::fromLatin1(c.textSize));
        PresetSetting(QStringLiteral("AutoUpdater"), QStringLiteral("B46"));
        PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
        PresetSetting(QStringLiteral("SoundsPaging"), QStringLiteral("1"));
        PresetSetting(QStringLiteral("Start_Maximised"), QStringLiteral("1"));
        dialogs.Shown.clear();
        Game& g = Entered();
        EXPECT_EQ(c.bufferSize, g.TD->TextBufferSize) << c.buffer;
        EXPECT_EQ(c.size, g.TD->TextSize) << c.textSize;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(i == c.checked, g.TextSizeItems[std::size_t(i)]->isChecked());
        EXPECT_TRUE(dialogs.Shown.isEmpty());
        EXPECT_TRUE(g.SoundsOn->isChecked());
        EXPECT_FALSE(g.SoundsOnPaging->isChecked());
        EXPECT_TRUE(g.Start_Maximised->isChecked());
        peer.Socket = nullptr;
    }
}

TEST_F(GameLoad, OptionTogglesStoreTheirSettings) {
    Game& g = Entered();
    g.SoundsOn->trigger();
    g.SoundsOnPaging->trigger();
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Sounds")));
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("SoundsPaging"))); // stored means off
    g.SoundsOn->trigger();
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("Sounds")));
}

TEST_F(GameLoad, KeepAliveAndQuit) {
    Game& g = Entered();
    g.ImStillOn_Timer();
    EXPECT_EQ(std::vector<std::string>{"ImStillOn"}, Sent());
    g.TD->TextBufferSize = 7000;
    g.Quit_Game_Click();
    EXPECT_EQ(QStringLiteral("7000"), app->GetSetting(QStringLiteral("Buffer_Size")));
    EXPECT_TRUE(ending.Ended());
}

} // namespace
} // namespace gr::test
