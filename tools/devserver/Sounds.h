#pragma once
// The sound effects of the local web host, made in code: short RIFF/WAVE files (PCM, 16-bit, mono,
// kSoundRate samples a second), each under a second. The game server names them in "Sound" messages and the
// client fetches them as "/grsounds/<name>.wav".
#include <array>
#include <string>
#include <string_view>

namespace gr::dev {

constexpr int kSoundRate = 22050;

// Every effect there is: a knock on a door, the tower bell, the chime of an arriving page, a clink of coins.
constexpr std::array<std::string_view, 4> kSoundNames = {"door", "bell", "pagerecieve", "coins"};

// The WAV bytes of the named effect (names compared exactly); empty for any other name.
std::string MakeSound(std::string_view name);

} // namespace gr::dev
