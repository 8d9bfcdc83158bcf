#pragma once
// Media control on SDL2_mixer: effects as wave chunks on a channel of their own, music as MIDI through the
// mixer's FluidSynth player with a General MIDI soundfont. The audio device opens when first needed, so a
// player who never switches sound on never opens it; without a device everything stays silent and
// Problem() says so.
#include <QString>
#include <QStringList>

#include "platform/Media.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace gr {

class SdlMedia final : public Media {
  public:
    // soundFonts: the soundfont files to try for music, the first that exists is used.
    explicit SdlMedia(QStringList soundFonts = DefaultSoundFonts());
    ~SdlMedia() override;
    SdlMedia(const SdlMedia&) = delete;
    SdlMedia& operator=(const SdlMedia&) = delete;

    bool Open(MediaAlias alias, const QString& file) override;
    void Play(MediaAlias alias) override;
    void Stop(MediaAlias alias) override;
    void Close(MediaAlias alias) override;
    bool IsPlaying(MediaAlias alias) const override;
    void SetVolume(MediaAlias alias, int percent) override;
    QString Problem() const override { return Trouble; }
    bool AttachVoice(VoiceMix* mix) override;
    void DetachVoice(VoiceMix* mix) override;

    // The General MIDI soundfonts that Debian's packages install, best first.
    static QStringList DefaultSoundFonts();

  private:
    bool Ready();

    QStringList SoundFonts;
    bool Tried = false;
    bool Opened = false;
    QString Trouble;
    Mix_Chunk* Effect = nullptr;
    Mix_Music* Music = nullptr;
    int Volume[2] = {100, 100};
};

} // namespace gr
