#pragma once
// Media control on SDL2_mixer: effects as wave chunks on a channel of their own, music as MIDI through the
// mixer's FluidSynth player with a General MIDI soundfont. The audio device opens when first needed, so a
// player who never switches sound on never opens it; without a device everything stays silent and
// Problem() says so.
//
// Two promises hold whatever a file holds:
// - A file reaches the mixer only after our own check has read it (WaveFile.h, MidiFile.h): an effect as a
//   wave file rebuilt from the checked fields, music only when its work per second of playing is bounded.
// - The window's thread never waits on the audio thread. Every mixer call that takes the device's lock
//   (loading, playing, stopping, freeing, volumes) runs in order on a media thread of its own; the caller
//   only queues it. Should the music's rendering fall behind all the same (the device's mixing stops
//   coming round), the piece is stopped, not played again this run, and the player is told once.
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/Media.h"

namespace gr {

class SdlMedia final : public Media {
  public:
    // soundFonts: the soundfont files to try for music, the first that exists is used.
    explicit SdlMedia(QStringList soundFonts = DefaultSoundFonts());
    ~SdlMedia() override;
    SdlMedia(const SdlMedia&) = delete;
    SdlMedia& operator=(const SdlMedia&) = delete;

    // Reads the file (no larger than its kind's bound), checks it and queues its loading; false when there
    // is no device, or the file is missing or refused by the check (then nothing reaches the mixer).
    bool Open(MediaAlias alias, const QString& file) override;
    // The same for bytes already in memory.
    bool OpenBytes(MediaAlias alias, const std::string& bytes);
    void Play(MediaAlias alias) override;
    void Stop(MediaAlias alias) override;
    void Close(MediaAlias alias) override;
    bool IsPlaying(MediaAlias alias) const override;
    void SetVolume(MediaAlias alias, int percent) override;
    QString Problem() const override { return Trouble; }
    bool AttachVoice(VoiceMix* mix) override;
    void DetachVoice(VoiceMix* mix) override;

    // Waits until the media thread has done everything queued so far, at most `limit`; false when it did
    // not finish in time (it is stuck behind the audio thread).
    bool Settle(std::chrono::milliseconds limit);

    // The General MIDI soundfonts that Debian's packages install, best first.
    static QStringList DefaultSoundFonts();

    // How long the device's mixing may stay away while music plays before the piece counts as one that
    // cannot be played in time. The device asks for a buffer about every 46 ms.
    static constexpr std::chrono::milliseconds kStallLimit{1500};
    // How long ending waits for the media thread before it leaves it (and the device) behind.
    static constexpr std::chrono::milliseconds kEndWait{2000};

    struct Worker; // the media thread and what only it touches

  private:
    bool Ready();
    void Watch();
    // Queues a mixer call for the media thread, unless the audio thread is stuck.
    void Queue(std::function<void(Worker&)> task);
    bool Stuck();

    QStringList SoundFonts;
    bool Tried = false;
    bool Opened = false;
    int DeviceRate = 0;
    QString Trouble;
    std::shared_ptr<Worker> Thread;
    // What the caller asked for last: the id of the effect play (0: none) and whether music plays.
    int Volume[2] = {100, 100};
    bool EffectOpen = false;
    std::uint64_t EffectPlay = 0;
    bool MusicOpen = false;
    bool MusicPlaying = false;
    QString MusicFile;
    std::chrono::steady_clock::time_point MusicStarted;
    std::set<QString> TooHeavy;             // pieces that fell behind: not played again this run
    std::optional<std::int64_t> StuckSince; // the device's last mixing when a piece was found holding it
    QTimer Watchdog;
};

} // namespace gr
