// The built-in synthesizer as a MIDI output: immediate messages, volume, and sample-clock playback.
#pragma once

#include "sound/BuiltinSynth.h"
#include "sound/MidiDevice.h"
#include "sound/ScheduledPlayback.h"

#include <atomic>
#include <memory>

namespace kalvintor::sound {

// Items go to FluidSynth's sequencer this far ahead, stamped with their sample time.
inline constexpr double kSynthLookaheadMs = 40.0;
// The offline renderer's block: the synthesizer's own block of 64 samples.
inline constexpr int kOfflineBlockFrames = 64;

class BuiltinOutPort final : public MidiOutPort, private PlaybackTarget {
public:
    // The synthesizer must outlive the port.
    explicit BuiltinOutPort(BuiltinSynth& synth);
    ~BuiltinOutPort() override;

    bool Send(std::uint32_t message) override;
    std::string LastErrorText() const override { return {}; }
    bool SetVolume(std::uint32_t word) override;
    std::optional<std::uint32_t> Volume() const override { return volume_.load(); }
    PlaybackBackend& Playback() override { return *playback_; }

    // Offline (a synthesizer created without realtime output): renders frames of both channels,
    // letting the playback hand over what falls due on the way.
    void RenderOffline(std::vector<float>& left, std::vector<float>& right, std::size_t frames);

private:
    double NowMs() const override { return synth_.NowMs(); }
    double LookaheadMs() const override { return kSynthLookaheadMs; }
    void Deliver(const DueItem& item) override { synth_.ScheduleAt(item.message, item.atMs, item.metronome); }
    void Retract(bool metronome) override;

    BuiltinSynth& synth_;
    std::atomic<std::uint32_t> volume_{0xFFFFFFFF};
    std::unique_ptr<ScheduledPlayback> playback_;
};

}  // namespace kalvintor::sound
