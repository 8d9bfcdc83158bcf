#pragma once
// The game window's sound and music: the three switches of the Options menu ("Sounds", "Paging Sound",
// "Music"), the volume menus of effects and music, and the player that the load sequence starts. The
// dispatcher hands it the "Sound" and "Music" messages; "OFFLINE" stops both.
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <string>

class QAction;
class QMenu;

namespace gr {

class Downloads;
class Media;
class SoundPlayer;

class SoundAndMusic final : public QObject {
    Q_OBJECT
  public:
    // What it needs from the window around it: the settings, a switch of the Options menu stored as the
    // others are, a message to the server, a system line in the game text, and the caption's suffix while
    // a sound or a piece of music downloads (empty: the caption as it was).
    struct Host {
        std::function<QString(const QString& key, const QString& def)> Setting;
        std::function<void(const QString& key, const QString& value)> Save;
        std::function<QAction*(const char* caption, const char* key, bool storedMeansOn)> Switch;
        std::function<bool(const std::string&)> Send;
        std::function<void(const std::string&)> Print;
        std::function<void(const QString&)> Downloading;
    };

    // Adds its switches and volume menus to options.
    SoundAndMusic(Host host, QMenu* options, QObject* parent);

    // The load sequence: the switches from the settings, then the player and the stored volumes.
    void ReadOptions();
    void Start(Media& media, Downloads& downloads, const QString& dataFolder);

    void Sound(const std::string& name);
    void Music(const std::string& name);
    void StopAll();

    QAction* SoundsOn = nullptr;
    QAction* SoundsOnPaging = nullptr;
    QAction* MusicOn = nullptr;
    std::array<QAction*, 5> SoundVolumeItems{}; // effects: off, 25, 50, 75, 100 percent
    std::array<QAction*, 5> MusicVolumeItems{};
    SoundPlayer* Sounds = nullptr; // from the load sequence on

  signals:
    // The effects' volume changed (the voice chat's partner follows it).
    void effectsVolumeChanged(int percent);

  private:
    void MusicOn_Click();
    void Volume_Click(bool music, int percent);
    void ShowVolume(bool music, int percent);

    Host Window;
    Media* Device = nullptr;
};

} // namespace gr
