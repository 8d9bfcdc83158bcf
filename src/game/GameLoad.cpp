// The game window's start-up, housekeeping, menu handlers and quitting.
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QTcpSocket>
#include <QTextDocumentWriter>
#include <QTimer>

#include "app/App.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/SafeName.h"
#include "core/WireText.h"
#include "downloads/DownloadIndicator.h"
#include "downloads/PictureStore.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "input/GameMacros.h"
#include "login/AccountRecords.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "sound/SoundAndMusic.h"
#include "text/GameTextLog.h"
#include "text/TextWindow.h"
#include "voice/VoiceChat.h"

namespace gr {

namespace {
constexpr int kDefaultBufferSize = 40000;
constexpr int kMinBufferSize = 1000;
constexpr int kMaxBufferSize = 100000;
constexpr int kMaxCommandsPerMinute = 600;
const std::array<int, 6> kTextSizes = {8, 10, 12, 14, 16, 18};
} // namespace

void Game::Form_Load() {
    // Every step stands alone: a failing one is skipped.
    auto step = [this](auto&& body) {
        if (Ended()) return;
        try {
            body();
        } catch (const RunTimeError&) {
        }
    };
    auto setting = [this](const char* key) { return app.GetSetting(QString::fromLatin1(key)); };
    step([&] { Layout.InputBoxRects = DefaultGameLayout().InputBoxRects; });
    step([&] {
        // The log starts before anything of the session is printed.
        TextLog->ReadOption();
    });
    step([&] {
        // The skin the player chose; one whose file is gone is forgotten. Without a skin the bars keep
        // their built-in colours.
        const QString skin = setting("Skin");
        BarColours[4] = "&H0000C000";
        BarColours[6] = "&H00FF0000";
        if (skin.isEmpty()) return;
        if (!LoadSkin(skin)) app.SaveSetting(QStringLiteral("Skin"), QString());
    });
    step([&] {
        Audio->ReadOptions();
        VoiceChatOn->setChecked(!setting("Voice Chat").isEmpty());
        Hide_When_Maximising->setChecked(setting("Hide_When_Maximising").isEmpty());
        Bar_Flashing->setChecked(setting("Bar_Flashing").isEmpty());
        Enhanced_XP->setChecked(setting("Enhanced_XP").isEmpty());
    });
    step([&] {
        const double stored = LeadingNumber(ToWire(setting("Buffer_Size")));
        int size = stored == 0               ? kDefaultBufferSize
                   : stored < kMinBufferSize ? kMinBufferSize
                   : stored > kMaxBufferSize ? kMaxBufferSize
                                             : ToInt32(stored);
        TD->TextBufferSize = size;
    });
    step([&] {
        const QString stored = setting("Textsize");
        for (auto* item : TextSizeItems)
            item->setChecked(false);
        if (stored.isEmpty()) {
            TD->TextSize = 8;
            return;
        }
        const int size = ToInt32(LeadingNumber(ToWire(stored)));
        for (std::size_t i = 0; i < kTextSizes.size(); ++i)
            TextSizeItems[i]->setChecked(kTextSizes[i] == size);
        TD->TextSize = size;
    });
    step([&] {
        // The panels' pictures: from the data folder, or fetched from the web host while the placeholder
        // shows; the menu bar's corner says while downloads are left.
        PictureStore& store = app.Pictures();
        Pictures = &store;
        connect(&store, &PictureStore::pictureArrived, this, &Game::PictureArrived, Qt::UniqueConnection);
        if (!menuBar()->cornerWidget()) {
            auto* indicator = new DownloadIndicator(app.Downloader(), menuBar());
            indicator->setStyleSheet(QStringLiteral("color: #e8e0f0; padding: 0 8px;"));
            menuBar()->setCornerWidget(indicator);
        }
    });
    step([&] { Audio->Start(app.Audio(), app.Downloader(), app.DataFolder); });
    step([&] { ImStillOn->start(); });
    step([&] { Macros->Start(); });
    step([&] { ReadBindings(); });
    step([&] {
        const bool maximised = !setting("Start_Maximised").isEmpty();
        Start_Maximised->setChecked(maximised);
        if (maximised) showMaximized();
    });
    step([&] {
        // A window size asked for on the command line (twips).
        const SessionState& s = app.Session;
        if (s.StartWidth > 0 && s.StartHeight > 0 && !Start_Maximised->isChecked())
            resize(s.StartWidth / kTwipsPerPixel, s.StartHeight / kTwipsPerPixel);
    });
    step([&] {
        if (VoiceChatOn->isChecked() && !TCPSocket->IsListening() && TCPSocket->Listen(quint16(VoicePort)))
            PrintSystemLine("Voicechat is listening to requests on this character.");
    });
    if (Ended()) return;
    WorkerEnabled = true;
    ScheduleWorker();
}

void Game::ImStillOn_Timer() {
    SendToServer("ImStillOn");
}

void Game::StuckKey_Timer() {
    if (CommandsThisMinute > kMaxCommandsPerMinute) {
        app.platform.dialogs.Message(QStringLiteral("Don't hold down macros"));
        app.platform.ending.End();
        return;
    }
    CommandsThisMinute = 0;
}

void Game::Quit_Game_Click() {
    if (Quitting) return;
    Quitting = true;
    SaveBindings();
    app.SaveSetting(QStringLiteral("Buffer_Size"), QString::number(TD->TextBufferSize));
    if (app.lodge) app.lodge->CloseComline();
    app.platform.ending.End();
}

void Game::TextSize_Click(int size) {
    TD->TextSize = size;
    app.SaveSetting(QStringLiteral("Textsize"), QString::number(size));
    for (std::size_t i = 0; i < kTextSizes.size(); ++i)
        TextSizeItems[i]->setChecked(kTextSizes[i] == size);
}

void Game::Text_Buffer_Size_Click() {
    if (!GoldDialog) {
        GoldDialog = std::make_unique<DW>(app.platform.dialogs, this);
        WatchWindow(GoldDialog.get());
    }
    GoldDialog->OpenForTextBuffer(TD->TextBufferSize, [this](int size) { TD->TextBufferSize = size; });
}

void Game::Save_Character_Click() {
    // The game text as a page in the data folder, named after the character and the time.
    const std::string name = app.Session.CharacterName;
    const QString who = IsSafeFileNamePart(name) ? FromWire(name) : QStringLiteral("text");
    QDir folder(app.DataFolder);
    folder.mkpath(QStringLiteral("saved text"));
    const QString file =
        folder.filePath(QStringLiteral("saved text/") + who + QLatin1Char(' ') +
                        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss")) +
                        QStringLiteral(".html"));
    QTextDocumentWriter writer(file, "HTML");
    if (writer.write(TD->document()))
        PrintSystemLine("The text display was saved to " + ToWire(file));
    else
        PrintSystemLine("The text display could not be saved.");
}

QString Game::NormalTitle() const {
    return QLatin1Char(' ') + FromWire(app.Session.CharacterName) + QStringLiteral(" - ") +
           app.Deployment.WebHostName();
}

} // namespace gr
