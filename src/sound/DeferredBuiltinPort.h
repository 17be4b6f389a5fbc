// The built-in synthesizer's output opened while the synthesizer is still being set up: what is
// sent or started meanwhile is kept, and handed over in order once Bind gives it the synthesizer.
// Used on one thread (the user interface's).
#pragma once

#include "sound/BuiltinOutPort.h"
#include "sound/MidiDevice.h"

#include <memory>
#include <optional>
#include <vector>

namespace kalvintor::sound {

class DeferredBuiltinPort final : public MidiOutPort, private PlaybackBackend {
public:
    DeferredBuiltinPort() = default;

    bool Send(std::uint32_t message) override;
    std::string LastErrorText() const override { return {}; }
    bool SetVolume(std::uint32_t word) override;
    std::optional<std::uint32_t> Volume() const override;
    PlaybackBackend& Playback() override { return *this; }

    // Opens the synthesizer (which must outlive the port) and hands over the kept messages, volume,
    // metronome and playback, in that order; a kept playback starts now.
    void Bind(BuiltinSynth& synth);
    // The port the synthesizer opened; null until bound.
    BuiltinOutPort* Port() { return port_.get(); }

private:
    struct KeptStart {
        Timeline timeline;
        std::uint64_t generation = 0;
        NotificationSink* sink = nullptr;
    };

    void Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Clear() override;
    void SetMetronome(const MetronomeSettings& metronome) override;

    std::unique_ptr<BuiltinOutPort> port_;
    std::vector<std::uint32_t> kept_;
    std::uint32_t volume_ = 0xFFFFFFFF;
    bool volumeSet_ = false;
    std::optional<MetronomeSettings> metronome_;
    std::optional<KeptStart> start_;
};

}  // namespace kalvintor::sound
