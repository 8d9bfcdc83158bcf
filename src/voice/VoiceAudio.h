#pragma once
// The voice chat's sound: the default microphone through SDL's capture device, cut into 20 ms frames of
// mono 48 kHz and encoded with Opus; the partner's packets decoded and mixed into the output device that
// effects and music use. Nothing is written anywhere: captured sound lives only until it is encoded, and
// the partner's only until it is played.
#include <QString>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Media.h"

struct OpusEncoder;
struct OpusDecoder;

namespace gr {

class VoiceAudio final : public VoiceMix {
  public:
    static constexpr int kRate = 48000;
    static constexpr int kFrameSamples = kRate / 50; // 20 ms

    explicit VoiceAudio(Media& output);
    ~VoiceAudio() override;
    VoiceAudio(const VoiceAudio&) = delete;
    VoiceAudio& operator=(const VoiceAudio&) = delete;

    // Why the microphone or the partner cannot be heard, in words a player can act on; empty while all is
    // well.
    QString Problem() const { return Trouble; }

    // The microphone runs from StartCapture to StopCapture (push-to-talk); false when it cannot be opened.
    bool StartCapture();
    void StopCapture();
    bool Capturing() const { return Capture != 0; }
    // The Opus packets of the whole frames captured since the last call.
    std::vector<std::string> TakePackets();

    // Decodes one of the partner's packets and queues it for playing; false when it does not decode.
    bool Play(std::string_view packet);
    void SetVolume(int percent);
    void SetMuted(bool muted);
    bool Muted() const;
    // Samples queued for playing and not yet played (48 kHz).
    std::size_t Queued() const;

    void MixInto(std::int16_t* samples, int frames, int channels, int rate) override;

    // For measuring the delay (steady clock, nanoseconds; 0 until it happened): when the first frame was
    // captured and encoded, and when the first of the partner's sound went to the device, plus the length
    // of the device's buffer it went into (it is heard after that buffer has played).
    std::int64_t FirstCapturedNs() const { return FirstCaptured; }
    std::int64_t FirstMixedNs() const { return FirstMixed; }
    std::int64_t DeviceBufferNs() const { return DeviceBuffer; }

  private:
    Media& Output;
    bool Attached = false;
    QString Trouble;
    OpusEncoder* Encoder = nullptr;
    OpusDecoder* Decoder = nullptr;
    std::uint32_t Capture = 0; // SDL's capture device id, 0 when closed
    bool AudioStarted = false;

    mutable std::mutex Lock; // the queue and the levels, shared with the audio thread
    std::deque<std::int16_t> Queue;
    double Position = 0; // where the output stands between Queue's first two samples
    int Volume = 100;
    bool Mute = false;
    std::int64_t FirstCaptured = 0;
    std::atomic<std::int64_t> FirstMixed{0};
    std::atomic<std::int64_t> DeviceBuffer{0};
};

} // namespace gr
