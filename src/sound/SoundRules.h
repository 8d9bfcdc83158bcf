#pragma once
// Sound effects and music by name: where a name is kept and fetched, which downloaded bytes are worth
// keeping, and which "Sound" message plays what.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gr {

enum class SoundKind { Effect, Music };

// An effect is "sounds/<name>.wav" in the data folder and "/grsounds/<name>.wav" on the web host; a piece
// of music is "music/<name>.mid" and "/grmusic/<name>.mid".
struct SoundFile {
    std::string Local;
    std::string Web;
};

// The files of a name, or nothing when the name is not safe as part of a file name: such a name asks for
// nothing, writes nothing and plays nothing.
std::optional<SoundFile> SoundFileFor(SoundKind kind, std::string_view name);

// The largest download kept: an effect is a short wave file, a piece of music a small MIDI file.
constexpr std::size_t kMaxEffectBytes = 8u << 20;
constexpr std::size_t kMaxMusicBytes = 1u << 20;
std::size_t MaxSoundBytes(SoundKind kind);

// A wave effect that the mixer may be given, read whole (ReadWave in WaveFile.h): plain PCM at a rate and
// size the mixer converts safely, its samples within the file. An error page or a file cut short never
// passes.
bool IsWaveFile(std::string_view bytes);
// A MIDI file that the music player can loop safely (MidiFile.h).
bool IsMidiFile(std::string_view bytes);
bool IsSoundFile(SoundKind kind, std::string_view bytes);

// The paging sound, which plays even while effects are switched off.
inline constexpr std::string_view kPagingSound = "pagerecieve";

// The effect a "Sound" message plays: any name while effects are on; otherwise only the paging sound,
// while it is on; nothing else.
std::optional<std::string> EffectToPlay(bool soundsOn, bool pagingOn, std::string_view name);

// The volume levels the options offer, in percent, and the stored level: a whole number from 0 to 100;
// anything else (an empty or hand-edited setting) is full volume.
inline constexpr int kVolumeLevels[] = {0, 25, 50, 75, 100};
int VolumeFromSetting(std::string_view stored);

} // namespace gr
