// The game window's sound and music: the volume menus, the player made at load, the music switch, and the
// caption while a sound or a piece of music downloads.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "core/App.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "game/SoundPlayer.h"
#include "game/SoundRules.h"
#include "platform/Media.h"

namespace gr {

namespace {
const char* VolumeKey(bool music) {
    return music ? "Music_Volume" : "Sound_Volume";
}
} // namespace

void Game::BuildSoundMenus(QMenu* options) {
    for (const bool music : {false, true}) {
        QMenu* menu =
            options->addMenu(music ? QStringLiteral("Music Volume") : QStringLiteral("Effects Volume"));
        menu->setAccessibleName(menu->title());
        auto* group = new QActionGroup(menu);
        auto& items = music ? MusicVolumeItems : SoundVolumeItems;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const int percent = kVolumeLevels[i];
            items[i] =
                menu->addAction(percent == 0 ? QStringLiteral("Off") : QStringLiteral("%1%").arg(percent));
            items[i]->setCheckable(true);
            group->addAction(items[i]);
            connect(items[i], &QAction::triggered, this,
                    [this, music, percent] { Volume_Click(music, percent); });
        }
        ShowVolume(music, 100);
    }
}

void Game::StartSound() {
    Sounds = new SoundPlayer(
        app.Audio(), app.Downloader(), app.DataFolder,
        [this](const std::string& line) { PrintSystemLine(line); },
        [this](const QString& suffix) { SoundDownloading(suffix); }, this);
    for (const bool music : {false, true}) {
        const int percent = VolumeFromSetting(ToWire(app.GetSetting(QString::fromLatin1(VolumeKey(music)))));
        app.Audio().SetVolume(music ? MediaAlias::Midi : MediaAlias::Sound, percent);
        ShowVolume(music, percent);
    }
}

void Game::MusicOn_Click() {
    // Switched off, the piece stops at once and nothing waiting starts; switched on, the server answers with
    // the music of the player's place.
    if (MusicOn->isChecked())
        SendToServer("MusicOn");
    else if (Sounds)
        Sounds->PlayMusic("");
}

void Game::Volume_Click(bool music, int percent) {
    app.SaveSetting(QString::fromLatin1(VolumeKey(music)), QString::number(percent));
    app.Audio().SetVolume(music ? MediaAlias::Midi : MediaAlias::Sound, percent);
    ShowVolume(music, percent);
}

void Game::ShowVolume(bool music, int percent) {
    const auto& items = music ? MusicVolumeItems : SoundVolumeItems;
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(kVolumeLevels[i] == percent);
}

void Game::SoundDownloading(const QString& suffix) {
    // The caption tells while a sound or a piece of music is on its way, then reads as it did before.
    if (suffix.isEmpty()) {
        if (!TitleBeforeDownload.isNull()) setWindowTitle(TitleBeforeDownload);
        TitleBeforeDownload = QString();
        return;
    }
    if (TitleBeforeDownload.isNull()) TitleBeforeDownload = windowTitle();
    setWindowTitle(FromWire(app.Session.CharacterName) + QStringLiteral("  - ") +
                   app.Deployment.WebHostName() + QStringLiteral(" - ") + suffix);
}

} // namespace gr
