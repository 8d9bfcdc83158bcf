#pragma once
// Media control: one sound effect (alias "sound") and one piece of music (alias "midi") open at a time,
// each opened from a file, played, stopped and closed. Music, once playing, loops by itself until it is
// stopped. Volumes are percentages. Errors (no device, a file that does not play) are not the caller's to
// handle: the call does nothing and Problem() says why, in words a player can act on.
#include <QString>

namespace gr {

enum class MediaAlias { Sound, Midi };

class Media {
  public:
    virtual ~Media() = default;
    // "open waveaudio!<file> alias sound" or "open sequencer!<file> alias midi"; false when it failed.
    virtual bool Open(MediaAlias alias, const QString& file) = 0;
    virtual void Play(MediaAlias alias) = 0;
    virtual void Stop(MediaAlias alias) = 0;
    virtual void Close(MediaAlias alias) = 0;
    // Whether the alias is playing now (a looping piece keeps playing).
    virtual bool IsPlaying(MediaAlias alias) const = 0;
    virtual void SetVolume(MediaAlias alias, int percent) = 0;
    // Why sound or music cannot be heard (no audio device, no soundfont for music); empty while all is well.
    virtual QString Problem() const = 0;
};

} // namespace gr
