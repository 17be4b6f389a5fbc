// The program's MIDI system.
#include "sound/SoundSystem.h"

#include "sound/BuiltinOutPort.h"

namespace kalvintor::sound {

namespace {
constexpr int kNoSuchDevice = 2;
const char* const kNoSuchDeviceText = "The device is not in the list.";
}  // namespace

SoundSystem::SoundSystem(SoundSystemOptions options) : options_(std::move(options)) {
    BuiltinSynth::Created created = BuiltinSynth::Create(options_.synth);
    synth_ = std::move(created.synth);
    synthStatus_ = synth_ == nullptr ? SynthError::SynthUnavailable : created.error;
}

std::optional<std::string> SoundSystem::MapperName() {
    if (synth_ == nullptr) return std::nullopt;
    return std::string(kBuiltinSynthName);
}

std::vector<std::string> SoundSystem::OutputNames() {
    outputs_ = options_.ports ? ListOutputPorts(options_.clientName + " out") : std::vector<PortEntry>{};
    std::vector<std::string> names;
    for (const PortEntry& p : outputs_) names.push_back(p.name);
    return names;
}

OpenResult<MidiOutPort> SoundSystem::OpenOutput(std::int32_t id) {
    if (id == kMapperId && synth_ != nullptr) return {std::make_unique<BuiltinOutPort>(*synth_), {}};
    if (id < 0 || static_cast<std::size_t>(id) >= outputs_.size())
        return {nullptr, {kNoSuchDevice, kNoSuchDeviceText}};
    return RtMidiOutPort::Open(outputs_[static_cast<std::size_t>(id)], options_.clientName + " out");
}

std::vector<std::string> SoundSystem::InputNames() {
    inputs_ = options_.ports ? ListInputPorts(options_.clientName + " in") : std::vector<PortEntry>{};
    std::vector<std::string> names;
    for (const PortEntry& p : inputs_) names.push_back(p.name);
    return names;
}

OpenResult<MidiInPort> SoundSystem::OpenInput(std::int32_t id, MidiInputSink& sink) {
    if (id < 0 || static_cast<std::size_t>(id) >= inputs_.size())
        return {nullptr, {kNoSuchDevice, kNoSuchDeviceText}};
    return RtMidiInPort::Open(inputs_[static_cast<std::size_t>(id)], options_.clientName + " in", sink);
}

}  // namespace kalvintor::sound
