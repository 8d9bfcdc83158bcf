// The game window's start-up from the stored settings, the keep-alive and quitting.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>

#include "game/GameWindows.h"
#include "voice/VoiceChat.h"
#include "login/Lodge.h"

#include "sound/SoundAndMusic.h"
#include "support/GameFixture.h"

namespace gr::test {
namespace {

class GameLoad : public GameFixture {};

TEST_F(GameLoad, DefaultsWithNoSettings) {
    Game& g = Entered();
    EXPECT_FALSE(g.Audio->SoundsOn->isChecked());
    EXPECT_TRUE(g.Audio->SoundsOnPaging->isChecked());
    EXPECT_FALSE(g.Audio->MusicOn->isChecked());
    EXPECT_FALSE(g.VoiceChatOn->isChecked());
    EXPECT_TRUE(g.Hide_When_Maximising->isChecked());
    EXPECT_TRUE(g.Bar_Flashing->isChecked());
    EXPECT_TRUE(g.Enhanced_XP->isChecked());
    EXPECT_FALSE(g.Start_Maximised->isChecked());
    EXPECT_FALSE(g.isMaximized());
    EXPECT_EQ(40000, g.TD->TextBufferSize);
    EXPECT_EQ(8, g.TD->TextSize);
    for (auto* item : g.TextSizeItems)
        EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(dialogs.Shown.isEmpty())
        << dialogs.Shown.join(QLatin1Char('|')).toStdString(); // no updater notice
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
        PresetSetting(QStringLiteral("Sounds"), QStringLiteral("1"));
        PresetSetting(QStringLiteral("SoundsPaging"), QStringLiteral("1"));
        PresetSetting(QStringLiteral("Start_Maximised"), QStringLiteral("1"));
        dialogs.Shown.clear();
        Game& g = Entered();
        EXPECT_EQ(c.bufferSize, g.TD->TextBufferSize) << c.buffer;
        EXPECT_EQ(c.size, g.TD->TextSize) << c.textSize;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(i == c.checked, g.TextSizeItems[std::size_t(i)]->isChecked());
        EXPECT_TRUE(dialogs.Shown.isEmpty());
        EXPECT_TRUE(g.Audio->SoundsOn->isChecked());
        EXPECT_FALSE(g.Audio->SoundsOnPaging->isChecked());
        EXPECT_TRUE(g.Start_Maximised->isChecked());
        peer.Socket = nullptr;
    }
}

TEST_F(GameLoad, OptionTogglesStoreTheirSettings) {
    Game& g = Entered();
    g.Audio->SoundsOn->trigger();
    g.Audio->SoundsOnPaging->trigger();
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Sounds")));
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("SoundsPaging"))); // stored means off
    g.Audio->SoundsOn->trigger();
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

namespace gr::test {
namespace {

TEST_F(GameLoad, TextBufferSizeDialog) {
    Game& g = Entered();
    dialogs.Shown.clear();
    g.Text_Buffer_Size->trigger();
    ASSERT_TRUE(g.GoldDialog);
    DW& dw = *g.GoldDialog;
    EXPECT_TRUE(dw.TextBufferMode());
    EXPECT_EQ(QStringLiteral("40000"), dw.Amount->text());
    struct Case {
        const char* amount;
        int size;
        QString shown;
        bool open;
    };
    const std::vector<Case> cases = {
        {"-5", 40000, QStringLiteral("Positive integers only please!"), true},
        {"2.5", 40000, QStringLiteral("Please enter an integer!"), true},
        {"", 40000, QString(), true},
        {"500", 1000, QStringLiteral("Value must be greater than 1000 characters."), true},
        {"200000", 100000, QStringLiteral("Value must be less than 100000 characters."), true},
        {"5000", 5000, QString(), false},
    };
    for (const auto& c : cases) {
        dialogs.Shown.clear();
        dw.Amount->setText(QString::fromLatin1(c.amount));
        dw.DepWith2_Click();
        EXPECT_EQ(c.size, g.TD->TextBufferSize) << c.amount;
        EXPECT_EQ(c.shown.isEmpty() ? QStringList{} : QStringList{c.shown}, dialogs.Shown) << c.amount;
        EXPECT_EQ(c.open, dw.isVisible()) << c.amount;
    }
    // The same dialog asks for gold for a command button.
    std::vector<std::string> sent;
    dw.OpenForGold(QStringLiteral("Deposit Gold"), [&](const std::string& m) { sent.push_back(m); });
    EXPECT_FALSE(dw.TextBufferMode());
    EXPECT_EQ(QStringLiteral("Deposit"), dw.DepWith->text());
    EXPECT_EQ(QStringLiteral("&Deposit "), dw.DepWith2->text());
    dw.Amount->setText(QStringLiteral("100"));
    dw.DepWith2_Click();
    EXPECT_EQ(std::vector<std::string>{"/deposit 100"}, sent);
}

TEST_F(GameLoad, VoiceChatCommands) {
    Game& g = Entered();
    g.VoicePort = 0; // any free port
    g.TI->setText(QStringLiteral("/voicechat off"));
    g.SendTI_Click();
    EXPECT_TRUE(g.TCPSocket->IsListening());
    EXPECT_TRUE(g.TD->toPlainText().endsWith(QStringLiteral("Voicechat is off.\n")));
    g.TI->setText(QStringLiteral("/voicechat Ann"));
    g.SendTI_Click();
    EXPECT_EQ("Ann", g.VoicePartnerName);
    EXPECT_EQ(std::vector<std::string>{"/voicechat Ann"}, Sent());
    // Ann asked from this very machine and connection.
    g.VoicePartnerAddress = app->lodge->Comline->localAddress().toString().toStdString();
    g.TI->setText(QStringLiteral("/voicechat ann"));
    g.SendTI_Click();
    EXPECT_TRUE(g.TD->toPlainText().endsWith(QStringLiteral("You can't connect to yourself.\n")));
    EXPECT_EQ(1u, Sent(1).size());
    EXPECT_FALSE(g.CmdTalk->isVisible());
    g.PlaceInputBox(4);
    EXPECT_TRUE(g.CmdTalk->isVisibleTo(&g));
    EXPECT_EQ(g.CmdTalk->geometry().left() > g.TI->geometry().right(), true);
}

} // namespace
} // namespace gr::test
