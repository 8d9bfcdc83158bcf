#include "sound/SdlMedia.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound/MidiFile.h"
#include "sound/SoundRules.h"
#include "sound/WaveFile.h"

namespace gr {

namespace {
constexpr int kEffectChannel = 0;
constexpr int kChannels = 4;
constexpr int kRate = 44100;
constexpr int kBufferFrames = 2048; // about 46 ms: small enough for effects to start at once
constexpr auto kWatchEvery = std::chrono::milliseconds(250);

// The voices mixed in after effects and music. The mixer's device is one for the whole process, and so are
// its post-mix hook and its channel-finished hook: every open SdlMedia shares what they write.
std::mutex VoicesLock;
std::vector<VoiceMix*> Voices;
// When the device last mixed (steady clock, nanoseconds): the watchdog's view of the audio thread.
std::atomic<std::int64_t> LastMix{0};
// The effect play the channel started last, and the last one that ended (finished or halted); plays are
// numbered across the process, as the channel is one.
std::atomic<std::uint64_t> NextPlay{0};
std::atomic<std::uint64_t> EffectStarted{0};
std::atomic<std::uint64_t> EffectEnded{0};

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void MixVoices(void*, Uint8* stream, int bytes) {
    LastMix.store(NowNs());
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || channels <= 0 || format != AUDIO_S16SYS) return;
    const std::lock_guard lock(VoicesLock);
    for (VoiceMix* voice : Voices)
        voice->MixInto(reinterpret_cast<std::int16_t*>(stream), bytes / int(sizeof(std::int16_t)) / channels,
                       channels, rate);
}

void EffectDone(int channel) {
    if (channel == kEffectChannel) EffectEnded.store(EffectStarted.load());
}

int MixVolume(int percent) {
    return std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100;
}

// The file's bytes when it is no larger than `bound`; nothing when it is missing, unreadable or larger.
std::optional<std::string> ReadBounded(const QString& file, std::size_t bound) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.read(qint64(bound) + 1);
    if (bytes.isEmpty() || std::size_t(bytes.size()) > bound) return std::nullopt;
    return bytes.toStdString();
}
} // namespace

// The media thread: runs the queued mixer calls in order. Only it touches the loaded effect and piece. It
// is shared with its thread, so that a thread left behind at the end (stuck behind the audio thread) still
// has what it works on.
struct SdlMedia::Worker {
    using Task = std::function<void(Worker&)>;

    void Post(Task task) {
        {
            const std::lock_guard lock(Lock);
            Tasks.push_back(std::move(task));
        }
        Wake.notify_one();
    }
    void Run() {
        std::unique_lock lock(Lock);
        for (;;) {
            Wake.wait(lock, [&] { return Ending || !Tasks.empty(); });
            if (Tasks.empty()) break; // ending, and everything done
            Task task = std::move(Tasks.front());
            Tasks.pop_front();
            Busy = true;
            lock.unlock();
            task(*this);
            lock.lock();
            Busy = false;
            Idle.notify_all();
        }
        Ended = true;
        Idle.notify_all();
    }
    bool WaitIdle(std::chrono::milliseconds limit) {
        std::unique_lock lock(Lock);
        return Idle.wait_for(lock, limit, [&] { return Ended || (Tasks.empty() && !Busy); });
    }
    bool End(std::chrono::milliseconds limit) {
        {
            const std::lock_guard lock(Lock);
            Ending = true;
        }
        Wake.notify_one();
        std::unique_lock lock(Lock);
        return Idle.wait_for(lock, limit, [&] { return Ended; });
    }

    std::mutex Lock;
    std::condition_variable Wake, Idle;
    std::deque<Task> Tasks;
    bool Busy = false, Ending = false, Ended = false;
    std::thread Thread;
    // The media thread's own.
    Mix_Chunk* Effect = nullptr;
    Mix_Music* Music = nullptr;
    std::string MusicBytes; // what the music player reads from, kept while the piece is open
};

SdlMedia::SdlMedia(QStringList soundFonts) : SoundFonts(std::move(soundFonts)) {
    Watchdog.setInterval(kWatchEvery);
    QObject::connect(&Watchdog, &QTimer::timeout, [this] { Watch(); });
}

SdlMedia::~SdlMedia() {
    Watchdog.stop();
    if (!Thread) return;
    Close(MediaAlias::Sound);
    Close(MediaAlias::Midi);
    if (Thread->End(kEndWait)) {
        Thread->Thread.join();
        Mix_ChannelFinished(nullptr);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    } else {
        // Stuck behind the audio thread: closing the device would wait for it too. Both are left to the
        // process's end; the thread keeps what it works on.
        Thread->Thread.detach();
    }
}

QStringList SdlMedia::DefaultSoundFonts() {
    return {QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3"),
            QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2")};
}

bool SdlMedia::Ready() {
    if (Tried) return Opened;
    Tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Trouble = QStringLiteral("No sound: the audio system did not start (%1).")
                      .arg(QString::fromUtf8(SDL_GetError()));
        return false;
    }
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, kBufferFrames) != 0) {
        Trouble = QStringLiteral("No sound: no audio device could be opened (%1).")
                      .arg(QString::fromUtf8(Mix_GetError()));
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Opened = true;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&DeviceRate, &format, &channels) == 0 || DeviceRate <= 0) DeviceRate = kRate;
    LastMix.store(NowNs());
    Mix_SetPostMix(MixVoices, nullptr);
    Mix_AllocateChannels(kChannels);
    Mix_ChannelFinished(EffectDone);
    QString font;
    for (const QString& candidate : SoundFonts)
        if (QFile::exists(candidate)) {
            font = candidate;
            break;
        }
    if (font.isEmpty() || !Mix_SetSoundFonts(QFile::encodeName(font).constData()) ||
        (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0)
        Trouble =
            QStringLiteral("No music: no General MIDI soundfont was found (install timgm6mb-soundfont).");
    Thread = std::make_shared<Worker>();
    Thread->Thread = std::thread([worker = Thread] {
        worker->Run();
        SDL_TLSCleanup(); // the mixer's error texts of this thread, which SDL keeps only for its own threads
    });
    SetVolume(MediaAlias::Sound, Volume[0]);
    SetVolume(MediaAlias::Midi, Volume[1]);
    return true;
}

bool SdlMedia::Open(MediaAlias alias, const QString& file) {
    Close(alias);
    if (!Ready()) return false;
    const SoundKind kind = alias == MediaAlias::Sound ? SoundKind::Effect : SoundKind::Music;
    if (kind == SoundKind::Music && TooHeavy.contains(file)) return false;
    const auto bytes = ReadBounded(file, MaxSoundBytes(kind));
    if (!bytes || !OpenBytes(alias, *bytes)) return false;
    if (kind == SoundKind::Music) MusicFile = file;
    return true;
}

bool SdlMedia::OpenBytes(MediaAlias alias, const std::string& bytes) {
    Close(alias);
    if (!Ready() || Stuck()) return false;
    if (alias == MediaAlias::Sound) {
        const auto format = ReadWave(bytes, unsigned(DeviceRate));
        if (!format) return false;
        Queue([wave = CanonicalWave(*format, bytes)](Worker& w) {
            w.Effect = Mix_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), int(wave.size())), 1);
        });
        EffectOpen = true;
        return true;
    }
    if (!IsPlayableMidi(bytes)) return false;
    Queue([bytes](Worker& w) {
        w.MusicBytes = bytes;
        w.Music = Mix_LoadMUS_RW(SDL_RWFromConstMem(w.MusicBytes.data(), int(w.MusicBytes.size())), 1);
    });
    MusicOpen = true;
    MusicFile.clear();
    return true;
}

void SdlMedia::Play(MediaAlias alias) {
    if (alias == MediaAlias::Sound) {
        if (!EffectOpen) return;
        const std::uint64_t play = EffectPlay = ++NextPlay;
        Queue([play](Worker& w) {
            Mix_HaltChannel(kEffectChannel); // the one before ends first, so it cannot end this play
            EffectStarted.store(play);
            if (!w.Effect || Mix_PlayChannel(kEffectChannel, w.Effect, 0) < 0) EffectEnded.store(play);
        });
        return;
    }
    if (!MusicOpen) return;
    MusicPlaying = true;
    MusicStarted = std::chrono::steady_clock::now();
    Queue([](Worker& w) {
        if (w.Music) Mix_PlayMusic(w.Music, -1); // loops until stopped
    });
    Watchdog.start();
}

void SdlMedia::Stop(MediaAlias alias) {
    if (!Thread) return;
    if (alias == MediaAlias::Sound) {
        EffectPlay = 0;
        Queue([](Worker&) { Mix_HaltChannel(kEffectChannel); });
    } else {
        MusicPlaying = false;
        Watchdog.stop();
        Queue([](Worker&) { Mix_HaltMusic(); });
    }
}

void SdlMedia::Close(MediaAlias alias) {
    Stop(alias);
    if (!Thread) return;
    if (alias == MediaAlias::Sound) {
        if (!EffectOpen) return;
        EffectOpen = false;
        Queue([](Worker& w) {
            if (w.Effect) Mix_FreeChunk(w.Effect);
            w.Effect = nullptr;
        });
    } else {
        if (!MusicOpen) return;
        MusicOpen = false;
        Queue([](Worker& w) {
            if (w.Music) Mix_FreeMusic(w.Music);
            w.Music = nullptr;
            w.MusicBytes.clear();
        });
    }
}

bool SdlMedia::IsPlaying(MediaAlias alias) const {
    if (alias == MediaAlias::Sound) return EffectPlay != 0 && EffectEnded.load() != EffectPlay;
    return MusicPlaying;
}

void SdlMedia::SetVolume(MediaAlias alias, int percent) {
    const bool music = alias == MediaAlias::Midi;
    Volume[music ? 1 : 0] = std::clamp(percent, 0, 100);
    if (!Thread) return;
    const int level = MixVolume(percent);
    Queue([music, level](Worker&) {
        if (music)
            Mix_VolumeMusic(level);
        else
            Mix_Volume(kEffectChannel, level);
    });
}

void SdlMedia::Queue(std::function<void(Worker&)> task) {
    if (!Stuck()) Thread->Post(std::move(task));
}

bool SdlMedia::Stuck() {
    // Stuck from the moment a piece was found to hold the audio thread until the device mixes again: nothing
    // more is queued meanwhile, so a thread that waits for good holds a bounded queue.
    if (StuckSince && LastMix.load() > *StuckSince) StuckSince.reset();
    return StuckSince.has_value();
}

bool SdlMedia::Settle(std::chrono::milliseconds limit) {
    return !Thread || Thread->WaitIdle(limit);
}

void SdlMedia::Watch() {
    if (!MusicPlaying) {
        Watchdog.stop();
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto mixed = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(LastMix.load()));
    if (now - std::max(mixed, MusicStarted) < kStallLimit) return;
    // The device has not mixed for a while: the piece's rendering holds it up. Stopping is queued (the media
    // thread does it once the audio thread lets go); the window goes on meanwhile.
    if (!MusicFile.isEmpty()) TooHeavy.insert(MusicFile);
    Close(MediaAlias::Midi);
    StuckSince = LastMix.load();
    Tell(QStringLiteral("The music stopped: this piece could not be played in time."));
}

bool SdlMedia::AttachVoice(VoiceMix* mix) {
    if (!Ready()) return false;
    const std::lock_guard lock(VoicesLock);
    if (std::find(Voices.begin(), Voices.end(), mix) == Voices.end()) Voices.push_back(mix);
    return true;
}

void SdlMedia::DetachVoice(VoiceMix* mix) {
    const std::lock_guard lock(VoicesLock);
    Voices.erase(std::remove(Voices.begin(), Voices.end(), mix), Voices.end());
}

} // namespace gr
