#include "sound/SoundRules.h"

#include "core/SafeName.h"
#include "sound/MidiFile.h"
#include "sound/WaveFile.h"

namespace gr {

std::optional<SoundFile> SoundFileFor(SoundKind kind, std::string_view name) {
    if (!IsSafeFileNamePart(name)) return std::nullopt;
    const std::string n(name);
    if (kind == SoundKind::Effect) return SoundFile{"sounds/" + n + ".wav", "/grsounds/" + n + ".wav"};
    return SoundFile{"music/" + n + ".mid", "/grmusic/" + n + ".mid"};
}

std::size_t MaxSoundBytes(SoundKind kind) {
    return kind == SoundKind::Effect ? kMaxEffectBytes : kMaxMusicBytes;
}

bool IsWaveFile(std::string_view bytes) {
    return ReadWave(bytes).has_value();
}

bool IsMidiFile(std::string_view bytes) {
    return IsPlayableMidi(bytes);
}

bool IsSoundFile(SoundKind kind, std::string_view bytes) {
    return kind == SoundKind::Effect ? IsWaveFile(bytes) : IsMidiFile(bytes);
}

std::optional<std::string> EffectToPlay(bool soundsOn, bool pagingOn, std::string_view name) {
    if (soundsOn || (pagingOn && name == kPagingSound)) return std::string(name);
    return std::nullopt;
}

int VolumeFromSetting(std::string_view stored) {
    if (stored.empty() || stored.size() > 3) return 100;
    int value = 0;
    for (char c : stored) {
        if (c < '0' || c > '9') return 100;
        value = value * 10 + (c - '0');
    }
    return value <= 100 ? value : 100;
}

} // namespace gr
