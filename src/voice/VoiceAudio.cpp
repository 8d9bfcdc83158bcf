#include "voice/VoiceAudio.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <opus.h>

namespace gr {

namespace {
// Half a second of the partner's voice at most waits to be played: beyond that the oldest goes, so a
// partner who sends faster than real time cannot grow the queue, nor the delay.
constexpr std::size_t kMaxQueued = VoiceAudio::kRate / 2;
constexpr int kMaxDecoded = VoiceAudio::kRate * 120 / 1000; // Opus's longest packet: 120 ms

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

VoiceAudio::VoiceAudio(Media& output) : Output(output) {
    int error = 0;
    Encoder = opus_encoder_create(kRate, 1, OPUS_APPLICATION_VOIP, &error);
    if (error != OPUS_OK) Encoder = nullptr;
    Decoder = opus_decoder_create(kRate, 1, &error);
    if (error != OPUS_OK) Decoder = nullptr;
    if (!Encoder || !Decoder) Trouble = QStringLiteral("No voice: the voice codec did not start.");
    Attached = Output.AttachVoice(this);
    if (!Attached && Trouble.isEmpty())
        Trouble = Output.Problem().isEmpty() ? QStringLiteral("No voice: no audio device could be opened.")
                                             : Output.Problem();
}

VoiceAudio::~VoiceAudio() {
    StopCapture();
    if (Attached) Output.DetachVoice(this);
    if (Encoder) opus_encoder_destroy(Encoder);
    if (Decoder) opus_decoder_destroy(Decoder);
}

bool VoiceAudio::StartCapture() {
    if (Capture) return true;
    if (!Encoder) return false;
    if (!AudioStarted) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            Trouble = QStringLiteral("No microphone: the audio system did not start (%1).")
                          .arg(QString::fromUtf8(SDL_GetError()));
            return false;
        }
        AudioStarted = true;
    }
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kFrameSamples / 2; // 10 ms pieces: a frame is ready soon after it is spoken
    SDL_AudioSpec have{};
    Capture = SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0);
    if (!Capture) {
        Trouble = QStringLiteral("No microphone: no capture device could be opened (%1).")
                      .arg(QString::fromUtf8(SDL_GetError()));
        return false;
    }
    SDL_PauseAudioDevice(Capture, 0);
    return true;
}

void VoiceAudio::StopCapture() {
    if (Capture) {
        SDL_CloseAudioDevice(Capture);
        Capture = 0;
    }
    if (AudioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        AudioStarted = false;
    }
}

std::vector<std::string> VoiceAudio::TakePackets() {
    std::vector<std::string> packets;
    if (!Capture || !Encoder) return packets;
    std::int16_t pcm[kFrameSamples];
    while (SDL_GetQueuedAudioSize(Capture) >= sizeof pcm) {
        if (SDL_DequeueAudio(Capture, pcm, sizeof pcm) != sizeof pcm) break;
        unsigned char out[1275];
        const int n = opus_encode(Encoder, pcm, kFrameSamples, out, sizeof out);
        if (n > 0) packets.emplace_back(reinterpret_cast<const char*>(out), std::size_t(n));
    }
    if (!packets.empty() && FirstCaptured == 0) FirstCaptured = NowNs();
    return packets;
}

bool VoiceAudio::Play(std::string_view packet) {
    if (!Decoder) return false;
    std::vector<opus_int16> pcm(kMaxDecoded);
    const int n = opus_decode(Decoder, reinterpret_cast<const unsigned char*>(packet.data()),
                              opus_int32(packet.size()), pcm.data(), kMaxDecoded, 0);
    if (n < 0) return false;
    const std::lock_guard lock(Lock);
    Queue.insert(Queue.end(), pcm.begin(), pcm.begin() + n);
    if (Queue.size() > kMaxQueued)
        Queue.erase(Queue.begin(), Queue.begin() + long(Queue.size() - kMaxQueued));
    return true;
}

void VoiceAudio::SetVolume(int percent) {
    const std::lock_guard lock(Lock);
    Volume = std::clamp(percent, 0, 100);
}

void VoiceAudio::SetMuted(bool muted) {
    const std::lock_guard lock(Lock);
    Mute = muted;
}

bool VoiceAudio::Muted() const {
    const std::lock_guard lock(Lock);
    return Mute;
}

std::size_t VoiceAudio::Queued() const {
    const std::lock_guard lock(Lock);
    return Queue.size();
}

void VoiceAudio::MixInto(std::int16_t* samples, int frames, int channels, int rate) {
    if (rate <= 0) return;
    const std::lock_guard lock(Lock);
    if (Queue.size() >= 2 && FirstMixed == 0) {
        FirstMixed = NowNs();
        DeviceBuffer = std::int64_t(frames) * 1'000'000'000 / rate;
    }
    // From 48 kHz to the device's rate by straight lines between neighbouring samples.
    const double step = double(kRate) / rate;
    const int gain = Mute ? 0 : Volume;
    for (int f = 0; f < frames && Queue.size() >= 2; ++f) {
        const double v = Queue[0] + (Queue[1] - Queue[0]) * Position;
        const int add = int(v * gain / 100);
        for (int c = 0; c < channels; ++c) {
            std::int16_t& s = samples[f * channels + c];
            s = std::int16_t(std::clamp(s + add, -32768, 32767));
        }
        Position += step;
        const auto whole = std::min(std::size_t(Position), Queue.size());
        Queue.erase(Queue.begin(), Queue.begin() + long(whole));
        Position -= double(whole);
    }
}

} // namespace gr
