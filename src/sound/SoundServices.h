// The sound services the windows call besides the MIDI devices: answer sounds from the media
// directory, the wave volume, and the MIDI-file player of the start-menu tune.
#pragma once

#include "sound/BuiltinSynth.h"
#include "sound/WaveSound.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvintor::sound {

class SoundServices {
public:
    // `synth` may be null (no built-in synthesizer): every service is then silent.
    SoundServices(BuiltinSynth* synth, std::filesystem::path mediaDir);
    // For a synthesizer still being set up: the tune and the answer sounds asked for meanwhile are
    // kept, and play when SynthReady hands it over (a null one: they are let go silently).
    void WaitForSynth() { waiting_ = true; }
    void SynthReady(BuiltinSynth* synth);

    // Plays MediaDir/<name>.wav without waiting; a missing or unreadable file plays nothing.
    WaveError PlayWave(const std::string& name);
    // The effects' volume, packed as the MIDI volume is: the level in the high byte of each half.
    void SetWaveVolume(std::uint8_t level);
    bool GetWaveVolume(std::uint8_t& level) const;

    // Plays a MIDI file; when it has played to its end a MidiFileEndEvent is posted to the receiver.
    MidiFilePlay PlayMidiFile(const std::filesystem::path& file, QObject* receiver);
    void StopMidiFile();

private:
    struct KeptTune {
        std::filesystem::path file;
        QObject* receiver = nullptr;
    };

    BuiltinSynth* synth_;
    std::filesystem::path mediaDir_;
    std::uint32_t waveVolume_ = 0;
    bool waiting_ = false;
    std::optional<KeptTune> tune_;
    std::vector<std::shared_ptr<const WaveSound>> waves_;
};

}  // namespace kalvintor::sound
