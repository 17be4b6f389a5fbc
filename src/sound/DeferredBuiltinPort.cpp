// The built-in synthesizer's output opened before the synthesizer is ready.
#include "sound/DeferredBuiltinPort.h"

namespace kalvintor::sound {

bool DeferredBuiltinPort::Send(std::uint32_t message) {
    if (port_ != nullptr) return port_->Send(message);
    kept_.push_back(message);
    return true;
}

bool DeferredBuiltinPort::SetVolume(std::uint32_t word) {
    volume_ = word;
    volumeSet_ = true;
    return port_ == nullptr || port_->SetVolume(word);
}

std::optional<std::uint32_t> DeferredBuiltinPort::Volume() const {
    return port_ != nullptr ? port_->Volume() : std::optional<std::uint32_t>(volume_);
}

void DeferredBuiltinPort::Bind(BuiltinSynth& synth) {
    if (port_ != nullptr) return;
    port_ = std::make_unique<BuiltinOutPort>(synth);
    if (volumeSet_) port_->SetVolume(volume_);
    if (metronome_) port_->Playback().SetMetronome(*metronome_);
    for (const std::uint32_t message : kept_) port_->Send(message);
    kept_.clear();
    if (start_) port_->Playback().Start(start_->timeline, start_->generation, start_->sink);
    start_.reset();
}

void DeferredBuiltinPort::Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    if (port_ != nullptr) {
        port_->Playback().Start(timeline, generation, sink);
        return;
    }
    start_ = KeptStart{timeline, generation, sink};
}

void DeferredBuiltinPort::Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    if (port_ != nullptr) {
        port_->Playback().Extend(timeline, generation, sink);
        return;
    }
    // The kept playback has not begun: the longer timeline replaces it; another generation starts
    // anew, as it would on a playing port.
    start_ = KeptStart{timeline, generation, sink};
}

void DeferredBuiltinPort::Clear() {
    if (port_ != nullptr) port_->Playback().Clear();
    start_.reset();
}

void DeferredBuiltinPort::SetMetronome(const MetronomeSettings& metronome) {
    metronome_ = metronome;
    if (port_ != nullptr) port_->Playback().SetMetronome(metronome);
}

}  // namespace kalvintor::sound
