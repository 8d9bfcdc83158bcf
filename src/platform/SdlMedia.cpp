#include "platform/SdlMedia.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <mutex>
#include <vector>

namespace gr {

namespace {
constexpr int kEffectChannel = 0;
constexpr int kChannels = 4;
constexpr int kRate = 44100;
constexpr int kBufferFrames = 2048; // about 46 ms: small enough for effects to start at once

// The voices mixed in after effects and music. The mixer's device is one for the whole process, and so is
// its post-mix hook: every open SdlMedia shares this list.
std::mutex VoicesLock;
std::vector<VoiceMix*> Voices;

void MixVoices(void*, Uint8* stream, int bytes) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || channels <= 0 || format != AUDIO_S16SYS) return;
    const std::lock_guard lock(VoicesLock);
    for (VoiceMix* voice : Voices)
        voice->MixInto(reinterpret_cast<std::int16_t*>(stream), bytes / int(sizeof(std::int16_t)) / channels,
                       channels, rate);
}

int MixVolume(int percent) {
    return std::clamp(percent, 0, 100) * MIX_MAX_VOLUME / 100;
}
} // namespace

SdlMedia::SdlMedia(QStringList soundFonts) : SoundFonts(std::move(soundFonts)) {}

SdlMedia::~SdlMedia() {
    Close(MediaAlias::Sound);
    Close(MediaAlias::Midi);
    if (Opened) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    Mix_SetPostMix(MixVoices, nullptr);
    Mix_AllocateChannels(kChannels);
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
    Mix_Volume(kEffectChannel, MixVolume(Volume[0]));
    Mix_VolumeMusic(MixVolume(Volume[1]));
    return true;
}

bool SdlMedia::Open(MediaAlias alias, const QString& file) {
    Close(alias);
    if (!Ready()) return false;
    const QByteArray name = QFile::encodeName(file);
    if (alias == MediaAlias::Sound) {
        Effect = Mix_LoadWAV(name.constData());
        return Effect != nullptr;
    }
    Music = Mix_LoadMUS(name.constData());
    return Music != nullptr;
}

void SdlMedia::Play(MediaAlias alias) {
    if (alias == MediaAlias::Sound) {
        if (Effect) Mix_PlayChannel(kEffectChannel, Effect, 0);
    } else if (Music) {
        Mix_PlayMusic(Music, -1); // loops until stopped
    }
}

void SdlMedia::Stop(MediaAlias alias) {
    if (!Opened) return;
    if (alias == MediaAlias::Sound)
        Mix_HaltChannel(kEffectChannel);
    else
        Mix_HaltMusic();
}

void SdlMedia::Close(MediaAlias alias) {
    Stop(alias);
    if (alias == MediaAlias::Sound && Effect) {
        Mix_FreeChunk(Effect);
        Effect = nullptr;
    } else if (alias == MediaAlias::Midi && Music) {
        Mix_FreeMusic(Music);
        Music = nullptr;
    }
}

bool SdlMedia::IsPlaying(MediaAlias alias) const {
    if (!Opened) return false;
    return alias == MediaAlias::Sound ? Effect && Mix_Playing(kEffectChannel) != 0
                                      : Music && Mix_PlayingMusic() != 0;
}

void SdlMedia::SetVolume(MediaAlias alias, int percent) {
    Volume[alias == MediaAlias::Sound ? 0 : 1] = std::clamp(percent, 0, 100);
    if (!Opened) return;
    if (alias == MediaAlias::Sound)
        Mix_Volume(kEffectChannel, MixVolume(percent));
    else
        Mix_VolumeMusic(MixVolume(percent));
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
