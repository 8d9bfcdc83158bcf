// A downloaded piece of music through our check into FluidSynth's MIDI player, which plays it as the mixer
// does: a player on a General MIDI synthesizer, the piece from memory, looping until stopped. Here the
// player keeps time by the samples written (not the clock), so that an input plays the same way every
// run, and two seconds of sound are rendered in the device's buffer size; then the player is deleted and
// the synthesizer reset for the next input.
//
// What must hold: a piece the check accepts renders in time (libFuzzer's -timeout ends a run that does
// not), the player sends the synthesizer no more events in a second than the check allows a piece to
// hold in one, and it is still playing at the end (it loops).
#include <fluidsynth.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "MediaTargets.h"
#include "game/MidiFile.h"

namespace {

using gr::fuzz::Check;

constexpr int kRate = 44100;
constexpr int kBlockFrames = 2048; // the device's buffer, as SdlMedia opens it
constexpr int kSeconds = 2;
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

// Counts what the player sends, second by second of sound, and passes it on to the synthesizer.
struct Sent {
    fluid_synth_t* Synthesizer = nullptr;
    int Second = 0;
    std::size_t Events[kSeconds] = {};
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
    ++sent.Events[sent.Second];
    gr::fuzz::Saw(Feature(event));
    return fluid_synth_handle_midi_event(sent.Synthesizer, event);
}

} // namespace

int gr::fuzz::MidiPlayer(const std::uint8_t* data, std::size_t size) {
    fluid_synth_t* synth = TheSynth();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!gr::IsPlayableMidi(bytes)) return 0;
    fluid_player_t* player = new_fluid_player(synth);
    Check(player != nullptr);
    Sent sent;
    sent.Synthesizer = synth;
    fluid_player_set_playback_callback(player, Forward, &sent);
    Check(fluid_player_add_mem(player, data, size) == FLUID_OK);
    fluid_player_set_loop(player, -1); // music loops until it is stopped
    Check(fluid_player_play(player) == FLUID_OK);
    static std::vector<std::int16_t> block(2 * kBlockFrames);
    for (int written = 0; written < kSeconds * kRate; written += kBlockFrames) {
        sent.Second = written / kRate;
        Check(fluid_synth_write_s16(synth, kBlockFrames, block.data(), 0, 2, block.data(), 1, 2) == FLUID_OK);
    }
    const int status = fluid_player_get_status(player);
    // How many voices sound at the end, and how many events were sent: rendering costs by the voice.
    Saw(2048 + std::size_t(fluid_synth_get_active_voice_count(synth)));
    Saw(2560 + Magnitude(sent.Events[0] + sent.Events[1]));
    fluid_player_stop(player);
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    for (const std::size_t events : sent.Events)
        Check(events <= gr::kMaxMidiEventsPerSecond);
    Check(status == FLUID_PLAYER_PLAYING);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::MidiPlayer)
