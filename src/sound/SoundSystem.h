// The program's MIDI system: the built-in synthesizer in entry 1, then the MIDI ports.
//
// The program puts the sound side together like this (and takes it apart in reverse order, as the
// device objects' ports refer to the synthesizer and the sequencer):
//
//     SoundSystem system(SoundSystemOptions{});
//     TSequencer sequencer;
//     QtNotificationSink notifications(mainWindow);       // NotificationEvent, message 1280
//     sequencer.SetNotificationSink(&notifications);
//     TMidiIn midiIn(system, midiInput, language, show);  // midiInput: QtMidiInputSink(mainWindow)
//     TMidiOut midiOut(system, sequencer, settings, language, show);
//     MidiInputRouter router(midiIn, settings);
//     SoundServices services(system.Synth(), mediaDir);  // answer sounds, wave volume, the tune
//     Microphone microphone(PostMicEvents(mainWindow));   // MicEvent, messages 1281 and 1282
//     MicSession mic(microphone);
//
// The main window drops a NotificationEvent whose generation `sequencer.IsCurrent` refuses, and a
// MicEvent whose generation `microphone.IsCurrent` refuses: they belong to a stopped playback or
// detection.
//
// The main window does not wait for the synthesizer: it sets `synthInBackground`, makes the
// services with no synthesizer and `services.WaitForSynth()`, and when `WhenSynthSettled` has
// run (posted back to its own thread) binds an output opened meanwhile
// (`DeferredBuiltinPort::Bind`) and calls `services.SynthReady(system.Synth())`.
#pragma once

#include "sound/BuiltinSynth.h"
#include "sound/MidiDevice.h"
#include "sound/RtMidiPorts.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kalvintor::sound {

struct SoundSystemOptions {
    SynthOptions synth;
    bool ports = true;  // list ALSA sequencer and JACK ports
    std::string clientName = "Kalvintor School";
    // Sets the synthesizer up on a thread of its own (loading the SoundFont and trying the audio
    // drivers takes a while). Until it is ready, entry 1 opens as a DeferredBuiltinPort. The ports
    // are listed first on that thread too: the first OutputNames and InputNames take that listing
    // (waiting for it when it is not done), later ones list afresh.
    bool synthInBackground = false;
    // In the background, the synthesizer waits after the listing until ReleaseSynth (or Synth,
    // SynthStatus): a program lets it load once its first window is up, not while it is drawn.
    bool holdSynth = false;
};

class SoundSystem final : public MidiSystem {
public:
    explicit SoundSystem(SoundSystemOptions options);
    // Waits for a synthesizer still being set up; readiness callbacks not yet run are dropped.
    ~SoundSystem() override;
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Null when FluidSynth could not be set up; then entry 1 is the first port, if any. Both wait
    // for a synthesizer still being set up.
    BuiltinSynth* Synth();
    SynthError SynthStatus();
    // True once the synthesizer has been set up (or has failed): Synth() no longer waits.
    bool SynthSettled() const;
    // Runs `ready` once the synthesizer has been set up (or has failed): on the thread setting it
    // up, or at once on the calling thread when it already is.
    void WhenSynthSettled(std::function<void()> ready);
    // Lets a held synthesizer be set up; does nothing when it is not held or already going.
    void ReleaseSynth();

    std::optional<std::string> MapperName() override;
    std::vector<std::string> OutputNames() override;
    OpenResult<MidiOutPort> OpenOutput(std::int32_t id) override;
    std::optional<std::string> DefaultInputName() override { return std::nullopt; }
    std::vector<std::string> InputNames() override;
    OpenResult<MidiInPort> OpenInput(std::int32_t id, MidiInputSink& sink) override;

private:
    void Settle(BuiltinSynth::Created created);
    void ListPortsFirst();
    // The first listing made on the set-up thread, once; nothing when there is none.
    std::optional<std::vector<PortEntry>> TakeFirstListing(std::optional<std::vector<PortEntry>>& listing);

    SoundSystemOptions options_;
    mutable std::mutex synthMutex_;
    std::condition_variable_any settledSignal_;
    bool settled_ = false;
    bool portsListed_ = false;
    bool released_ = false;
    std::optional<std::vector<PortEntry>> firstOutputs_;
    std::optional<std::vector<PortEntry>> firstInputs_;
    std::vector<std::function<void()>> whenSettled_;
    std::unique_ptr<BuiltinSynth> synth_;
    SynthError synthStatus_ = SynthError::None;
    std::vector<PortEntry> outputs_;
    std::vector<PortEntry> inputs_;
    // Last: joined before the synthesizer it sets up goes.
    std::jthread setUp_;
};

}  // namespace kalvintor::sound
