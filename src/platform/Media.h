#pragma once
// Media control: one sound effect (alias "sound") and one piece of music (alias "midi") open at a time,
// each opened from a file, played, stopped and closed. Music, once playing, loops by itself until it is
// stopped. Volumes are percentages. Errors (no device, a file that does not play) are not the caller's to
// handle: the call does nothing and Problem() says why, in words a player can act on.
#include <QString>
#include <cstdint>
#include <functional>

namespace gr {

enum class MediaAlias { Sound, Midi };

// Something mixed into the output as it plays: the voice chat's partner.
class VoiceMix {
  public:
    virtual ~VoiceMix() = default;
    // Called on the audio thread: adds into `samples` (interleaved signed 16-bit, `channels` per frame, at
    // `rate` frames a second).
    virtual void MixInto(std::int16_t* samples, int frames, int channels, int rate) = 0;
};

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
    // The voice chat's partner plays through the same device as sound and music, from the moment it is
    // attached until it is detached; false when there is no device.
    virtual bool AttachVoice(VoiceMix* mix) {
        (void)mix;
        return false;
    }
    virtual void DetachVoice(VoiceMix* mix) { (void)mix; }

    // Whoever shows the game text hears here what happened while playing (a piece of music stopped because
    // it could not be played in time), once per event, on the window's thread. An empty function: nobody.
    void OnNotice(std::function<void(const QString&)> tell) { Notice = std::move(tell); }

  protected:
    void Tell(const QString& line) {
        if (Notice) Notice(line);
    }

  private:
    std::function<void(const QString&)> Notice;
};

} // namespace gr
