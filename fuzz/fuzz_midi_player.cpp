// A downloaded piece of music through our check into FluidSynth's MIDI player, which plays it as the mixer
// does: a player on a General MIDI synthesizer, the piece from memory, looping until stopped. Here the
// player keeps time by the samples written (not the clock), so that an input plays the same way every
// run, and two seconds of sound are rendered; then the player is deleted and the synthesizer reset for the
// next input.
//
// What must hold:
// - The player reads every piece the check accepts, as the piece the check read. One it cannot read, or
//   reads as a piece that ends at once, is not merely silent: told to loop, the player reads it again at
//   once, for ever, inside the synthesizer's rendering. A first player that plays the piece only once asks
//   this without being caught in that: it must still be playing after its first moments.
// - A piece the check accepts renders in time (libFuzzer's -timeout ends a run that does not).
// - Looping it, the player sends the synthesizer no more events in any second than the check lets a second
//   of the piece hold (give or take one tick's events, for the player's rounding of ticks to its clock).
#include <fluidsynth.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "MediaTargets.h"
#include "sound/MidiFile.h"

namespace {

using gr::fuzz::Check;

constexpr int kRate = 44100;
constexpr int kSeconds = 2;
// Rendered in blocks of 10 ms, so that the events the player sends are known to within 10 ms (it plays them
// at the synthesizer's own 64-frame steps whatever the block).
constexpr int kBlockFrames = kRate / 100;
constexpr int kBlocks = kSeconds * 100;
constexpr int kBlocksASecond = 100;
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The synthesizer and its soundfont, made once per process: loading the soundfont costs far more than an
// input.
struct Synth {
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synthesizer = nullptr;

    Synth() {
        // FluidSynth reports every file it cannot read; a fuzz run would print little else.
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
        Settings = new_fluid_settings();
        if (!Settings || fluid_settings_setnum(Settings, "synth.sample-rate", kRate) != FLUID_OK ||
            fluid_settings_setstr(Settings, "player.timing-source", "sample") != FLUID_OK)
            std::abort();
        Synthesizer = new_fluid_synth(Settings);
        if (!Synthesizer || fluid_synth_sfload(Synthesizer, kSoundFont, 1) == FLUID_FAILED)
            std::abort(); // no soundfont: nothing would be played
    }
};

fluid_synth_t* TheSynth() {
    static const Synth synth; // left for the process's end
    return synth.Synthesizer;
}

// Counts what the player sends, block by block of sound, and passes it on to the synthesizer.
struct Sent {
    fluid_synth_t* Synthesizer = nullptr;
    int Block = 0;
    std::size_t Events[kBlocks] = {};
    std::size_t Total = 0;

    // The most events sent within any one second of sound.
    std::size_t MostInASecond() const {
        std::size_t most = 0, window = 0;
        for (int block = 0; block < kBlocks; ++block) {
            window += Events[block];
            if (block >= kBlocksASecond) window -= Events[block - kBlocksASecond];
            most = std::max(most, window);
        }
        return most;
    }
};

// The synthesizer's work differs by message: the kind on each channel (the drum channel is a kind of its
// own), each controller, each program, and system exclusive messages by their length.
std::size_t Feature(fluid_midi_event_t* event) {
    const int type = fluid_midi_event_get_type(event);
    const int channel = fluid_midi_event_get_channel(event) & 0x0F;
    switch (type) {
    case 0xB0: // control change
        return 256 + std::size_t(fluid_midi_event_get_control(event) & 0x7F) * 4 +
               std::size_t(fluid_midi_event_get_value(event) & 0x7F) / 32;
    case 0xC0: // program change
        return 768 + std::size_t(fluid_midi_event_get_program(event) & 0x7F);
    case 0xF0: // system exclusive, by its length (the player passes its bytes on unseen)
        return 1024 + gr::fuzz::Magnitude(std::uint64_t(std::max(fluid_midi_event_get_control(event), 0)));
    default:
        return std::size_t(channel) * 16 + std::size_t(type >> 4 & 0x0F);
    }
}

int Forward(void* data, fluid_midi_event_t* event) {
    auto& sent = *static_cast<Sent*>(data);
    ++sent.Events[sent.Block];
    ++sent.Total;
    gr::fuzz::Saw(Feature(event));
    return fluid_synth_handle_midi_event(sent.Synthesizer, event);
}

// Whether a player that plays the piece once is still playing it after the first few milliseconds: it read
// the piece, and read it as one that lasts (the check's shortest piece lasts far longer).
bool PlayerReads(fluid_synth_t* synth, const std::uint8_t* data, std::size_t size) {
    fluid_player_t* player = new_fluid_player(synth);
    Check(player != nullptr);
    fluid_player_set_playback_callback(
        player, [](void*, fluid_midi_event_t*) { return FLUID_OK; }, nullptr);
    Check(fluid_player_add_mem(player, data, size) == FLUID_OK);
    fluid_player_set_loop(player, 1);
    Check(fluid_player_play(player) == FLUID_OK);
    std::int16_t samples[2 * 64];
    Check(fluid_synth_write_s16(synth, 64, samples, 0, 2, samples, 1, 2) == FLUID_OK);
    const bool reads = fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    return reads;
}

} // namespace

int gr::fuzz::MidiPlayer(const std::uint8_t* data, std::size_t size) {
    fluid_synth_t* synth = TheSynth();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!gr::IsPlayableMidi(bytes)) return 0;
    Check(PlayerReads(synth, data, size));
    fluid_player_t* player = new_fluid_player(synth);
    Check(player != nullptr);
    Sent sent;
    sent.Synthesizer = synth;
    fluid_player_set_playback_callback(player, Forward, &sent);
    Check(fluid_player_add_mem(player, data, size) == FLUID_OK);
    fluid_player_set_loop(player, -1); // music loops until it is stopped
    Check(fluid_player_play(player) == FLUID_OK);
    static std::vector<std::int16_t> samples(2 * kBlockFrames);
    for (sent.Block = 0; sent.Block < kBlocks; ++sent.Block)
        Check(fluid_synth_write_s16(synth, kBlockFrames, samples.data(), 0, 2, samples.data(), 1, 2) ==
              FLUID_OK);
    // How many voices sound at the end, and how many events were sent: rendering costs by the voice and by
    // the event.
    Saw(2048 + std::size_t(std::clamp(fluid_synth_get_active_voice_count(synth), 0, 500)));
    Saw(2560 + Magnitude(sent.Total));
    fluid_player_stop(player);
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    Check(sent.MostInASecond() <= gr::kMaxMidiEventsPerSecond + gr::kMaxMidiEventsAtOneTick);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::MidiPlayer)
