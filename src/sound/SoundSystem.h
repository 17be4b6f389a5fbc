// The program's MIDI system: the built-in synthesizer in entry 1, then the MIDI ports.
#pragma once

#include "sound/BuiltinSynth.h"
#include "sound/MidiDevice.h"
#include "sound/RtMidiPorts.h"

#include <memory>
#include <string>
#include <vector>

namespace kalvintor::sound {

struct SoundSystemOptions {
    SynthOptions synth;
    bool ports = true;  // list ALSA sequencer and JACK ports
    std::string clientName = "Kalvintor School";
};

class SoundSystem final : public MidiSystem {
public:
    explicit SoundSystem(SoundSystemOptions options);

    // Null when FluidSynth could not be set up; then entry 1 is the first port, if any.
    BuiltinSynth* Synth() { return synth_.get(); }
    SynthError SynthStatus() const { return synthStatus_; }

    std::optional<std::string> MapperName() override;
    std::vector<std::string> OutputNames() override;
    OpenResult<MidiOutPort> OpenOutput(std::int32_t id) override;
    std::optional<std::string> DefaultInputName() override { return std::nullopt; }
    std::vector<std::string> InputNames() override;
    OpenResult<MidiInPort> OpenInput(std::int32_t id, MidiInputSink& sink) override;

private:
    SoundSystemOptions options_;
    std::unique_ptr<BuiltinSynth> synth_;
    SynthError synthStatus_ = SynthError::None;
    std::vector<PortEntry> outputs_;
    std::vector<PortEntry> inputs_;
};

}  // namespace kalvintor::sound
