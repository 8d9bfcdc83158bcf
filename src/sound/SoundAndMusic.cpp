#include "sound/SoundAndMusic.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "core/WireText.h"
#include "sound/SoundPlayer.h"
#include "sound/SoundRules.h"
#include "platform/Media.h"

namespace gr {

namespace {
QString VolumeKey(bool music) {
    return music ? QStringLiteral("Music_Volume") : QStringLiteral("Sound_Volume");
}
} // namespace

SoundAndMusic::SoundAndMusic(Host host, QMenu* options, QObject* parent)
    : QObject(parent), Window(std::move(host)) {
    SoundsOn = Window.Switch("Sounds", "Sounds", true);
    SoundsOnPaging = Window.Switch("Paging Sound", "SoundsPaging", false);
    MusicOn = Window.Switch("Music", "Music", true);
    connect(MusicOn, &QAction::triggered, this, &SoundAndMusic::MusicOn_Click);
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

void SoundAndMusic::ReadOptions() {
    auto setting = [this](const char* key) { return Window.Setting(QString::fromLatin1(key), QString()); };
    SoundsOn->setChecked(!setting("Sounds").isEmpty());
    SoundsOnPaging->setChecked(setting("SoundsPaging").isEmpty());
    MusicOn->setChecked(!setting("Music").isEmpty());
}

void SoundAndMusic::Start(Media& media, Downloads& downloads, const QString& dataFolder) {
    Device = &media;
    Sounds = new SoundPlayer(media, downloads, dataFolder, Window.Print, Window.Downloading, this);
    for (const bool music : {false, true}) {
        const int percent = VolumeFromSetting(ToWire(Window.Setting(VolumeKey(music), QString())));
        media.SetVolume(music ? MediaAlias::Midi : MediaAlias::Sound, percent);
        ShowVolume(music, percent);
    }
}

void SoundAndMusic::Sound(const std::string& name) {
    if (!Sounds) return;
    if (const auto effect = EffectToPlay(SoundsOn->isChecked(), SoundsOnPaging->isChecked(), name))
        Sounds->PlaySoundEffect(*effect);
}

void SoundAndMusic::Music(const std::string& name) {
    if (Sounds && MusicOn->isChecked()) Sounds->PlayMusic(name);
}

void SoundAndMusic::StopAll() {
    if (Sounds) Sounds->StopAll();
}

void SoundAndMusic::MusicOn_Click() {
    // Switched off, the piece stops at once and nothing waiting starts; switched on, the server answers with
    // the music of the player's place.
    if (MusicOn->isChecked())
        Window.Send("MusicOn");
    else if (Sounds)
        Sounds->PlayMusic("");
}

void SoundAndMusic::Volume_Click(bool music, int percent) {
    Window.Save(VolumeKey(music), QString::number(percent));
    if (Device) Device->SetVolume(music ? MediaAlias::Midi : MediaAlias::Sound, percent);
    ShowVolume(music, percent);
    if (!music) emit effectsVolumeChanged(percent);
}

void SoundAndMusic::ShowVolume(bool music, int percent) {
    const auto& items = music ? MusicVolumeItems : SoundVolumeItems;
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(kVolumeLevels[i] == percent);
}

} // namespace gr
