// The program's MIDI system.
#include "sound/SoundSystem.h"

#include "sound/BuiltinOutPort.h"
#include "sound/DeferredBuiltinPort.h"

#include <exception>

namespace kalvintor::sound {

namespace {
constexpr int kNoSuchDevice = 2;
const char* const kNoSuchDeviceText = "The device is not in the list.";
}  // namespace

SoundSystem::SoundSystem(SoundSystemOptions options) : options_(std::move(options)) {
    if (options_.synthInBackground) {
        released_ = !options_.holdSynth;
        setUp_ = std::jthread([this](std::stop_token stop) {
            ListPortsFirst();
            {
                std::unique_lock lock(synthMutex_);
                settledSignal_.wait(lock, stop, [this] { return released_; });
            }
            // Going before it was let load: nothing is set up, and nobody waits for it.
            if (stop.stop_requested()) return;
            Settle(BuiltinSynth::Create(options_.synth));
        });
    } else {
        Settle(BuiltinSynth::Create(options_.synth));
    }
}

SoundSystem::~SoundSystem() {
    {
        std::lock_guard lock(synthMutex_);
        whenSettled_.clear();
    }
    setUp_ = std::jthread();
}

void SoundSystem::ListPortsFirst() {
    // A listing that fails is left to the first caller, who lists afresh and reports the failure.
    const auto list = [this](auto lister, const char* suffix) -> std::optional<std::vector<PortEntry>> {
        if (!options_.ports) return std::vector<PortEntry>{};
        try {
            return lister(options_.clientName + suffix);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    std::optional<std::vector<PortEntry>> outputs = list(&ListOutputPorts, " out");
    std::optional<std::vector<PortEntry>> inputs = list(&ListInputPorts, " in");
    {
        std::lock_guard lock(synthMutex_);
        firstOutputs_ = std::move(outputs);
        firstInputs_ = std::move(inputs);
        portsListed_ = true;
    }
    settledSignal_.notify_all();
}

std::optional<std::vector<PortEntry>> SoundSystem::TakeFirstListing(
    std::optional<std::vector<PortEntry>>& listing) {
    if (!options_.synthInBackground) return std::nullopt;
    std::unique_lock lock(synthMutex_);
    settledSignal_.wait(lock, [this] { return portsListed_; });
    std::optional<std::vector<PortEntry>> first = std::move(listing);
    listing.reset();
    return first;
}

void SoundSystem::Settle(BuiltinSynth::Created created) {
    std::vector<std::function<void()>> ready;
    {
        std::lock_guard lock(synthMutex_);
        synth_ = std::move(created.synth);
        synthStatus_ = synth_ == nullptr ? SynthError::SynthUnavailable : created.error;
        settled_ = true;
        ready.swap(whenSettled_);
    }
    settledSignal_.notify_all();
    for (const auto& f : ready) f();
}

void SoundSystem::ReleaseSynth() {
    {
        std::lock_guard lock(synthMutex_);
        if (released_) return;
        released_ = true;
    }
    settledSignal_.notify_all();
}

BuiltinSynth* SoundSystem::Synth() {
    ReleaseSynth();
    std::unique_lock lock(synthMutex_);
    settledSignal_.wait(lock, [this] { return settled_; });
    return synth_.get();
}

SynthError SoundSystem::SynthStatus() {
    ReleaseSynth();
    std::unique_lock lock(synthMutex_);
    settledSignal_.wait(lock, [this] { return settled_; });
    return synthStatus_;
}

bool SoundSystem::SynthSettled() const {
    std::lock_guard lock(synthMutex_);
    return settled_;
}

void SoundSystem::WhenSynthSettled(std::function<void()> ready) {
    {
        std::lock_guard lock(synthMutex_);
        if (!settled_) {
            whenSettled_.push_back(std::move(ready));
            return;
        }
    }
    ready();
}

std::optional<std::string> SoundSystem::MapperName() {
    // While it is being set up the synthesizer is taken to come: FluidSynth fails only when it
    // cannot allocate its objects.
    std::lock_guard lock(synthMutex_);
    if (settled_ && synth_ == nullptr) return std::nullopt;
    return std::string(kBuiltinSynthName);
}

std::vector<std::string> SoundSystem::OutputNames() {
    if (auto first = TakeFirstListing(firstOutputs_)) {
        outputs_ = std::move(*first);
    } else {
        outputs_ = options_.ports ? ListOutputPorts(options_.clientName + " out") : std::vector<PortEntry>{};
    }
    std::vector<std::string> names;
    for (const PortEntry& p : outputs_) names.push_back(p.name);
    return names;
}

OpenResult<MidiOutPort> SoundSystem::OpenOutput(std::int32_t id) {
    if (id == kMapperId) {
        if (!SynthSettled()) return {std::make_unique<DeferredBuiltinPort>(), {}};
        if (synth_ != nullptr) return {std::make_unique<BuiltinOutPort>(*synth_), {}};
    }
    if (id < 0 || static_cast<std::size_t>(id) >= outputs_.size())
        return {nullptr, {kNoSuchDevice, kNoSuchDeviceText}};
    return RtMidiOutPort::Open(outputs_[static_cast<std::size_t>(id)], options_.clientName + " out");
}

std::vector<std::string> SoundSystem::InputNames() {
    if (auto first = TakeFirstListing(firstInputs_)) {
        inputs_ = std::move(*first);
    } else {
        inputs_ = options_.ports ? ListInputPorts(options_.clientName + " in") : std::vector<PortEntry>{};
    }
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
