// The main window's sound side: the MIDI devices, the sequencer, the answer sounds and the
// microphone, made in the order their parts refer to each other and taken apart in reverse. The
// microphone and its detector thread are made when first used.
#pragma once

#include "exercises/pitch/Instruments.h"
#include "sound/MicSession.h"
#include "sound/MidiDevice.h"
#include "sound/MidiInputRouting.h"
#include "sound/SoundEvents.h"
#include "sound/SoundServices.h"
#include "sound/TMidiIn.h"
#include "sound/TMidiOut.h"
#include "sound/TSequencer.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace kalvintor::sound {
class BuiltinSynth;
class Microphone;
class SoundSystem;
}  // namespace kalvintor::sound

namespace kalvintor::ui {

class MainSound {
public:
    // `receiver` gets the notifications, MIDI data and microphone events as Qt events. Without
    // `system` the program's own (the built-in synthesizer and the MIDI ports) is made.
    // With `holdSynth` the program's own synthesizer waits to be set up (loading the SoundFont,
    // opening the audio driver) until StartSynth, or until something needs it.
    MainSound(QObject* receiver, settings::Settings& settings, const language::Language& language,
              const std::filesystem::path& mediaDir, std::unique_ptr<sound::MidiSystem> system = {},
              bool holdSynth = false);
    ~MainSound();
    MainSound(const MainSound&) = delete;
    MainSound& operator=(const MainSound&) = delete;

    // Opens the devices the settings name (an empty output name opens entry 1, the built-in
    // synthesizer) and takes the settings' delay, volumes, tempo and metronome sounds.
    void ApplySettings();

    sound::MidiSystem& system() { return *system_; }
    // The built-in synthesizer; null when the program runs on another MIDI system (tests) or
    // FluidSynth could not be set up.
    sound::BuiltinSynth* synth();
    // The program's own synthesizer is set up in the background: false until it is (or has failed)
    // and its output, answer sounds and tune have been handed over on this thread.
    bool SynthReady() const;
    // Runs `ready` once the synthesizer is ready (at once when it is), on this thread.
    void WhenSynthReady(std::function<void()> ready);
    // Lets a held synthesizer be set up in the background.
    void StartSynth();
    sound::TSequencer sequencer;
    // The MIDI devices are made on first use: the program's own system lists its ports in the
    // background meanwhile.
    sound::TMidiIn& midiIn() {
        MakeDevices();
        return *midiIn_;
    }
    sound::TMidiOut& midiOut() {
        MakeDevices();
        return *midiOut_;
    }
    sound::MidiInputRouter& router() {
        MakeDevices();
        return *router_;
    }
    sound::SoundServices& services() { return *services_; }
    // The microphone side, made on first use.
    sound::MicSession& mic();
    sound::MicComponent& microphone();
    // The capturing device itself, for the level meter of the configuration wizard.
    sound::Microphone& micDevice();
    bool MicMade() const { return microphone_ != nullptr; }
    // Ends detection; nothing to do when the microphone was never used.
    void MicEnd();
    bool MicCurrent(std::uint64_t generation) const;
    // Opens the microphone on first use (and again after it went away) and sets it up from the
    // settings; false without one.
    bool MicReady(const settings::Settings& settings);
    // Opens and sets up the microphone and starts detection for `exercise`, hearing only the sung
    // notes in `range` (none: any note a voice sings); false without a microphone.
    bool MicStart(const settings::Settings& settings, int exercise, std::optional<pitch::SungRange> range);
    std::uint64_t MicGeneration() const;
    // The notes the current exercise asks for: sung notes outside them are no answer. From the next
    // MicBegin on.
    void SetMicPitchRange(int low, int high);
    // The level the microphone hears and its state, for the exercise windows.
    sound::MicReading MicLevel() const;

private:
    void MakeDevices();
    void MakeMicrophone();
    void SynthSettled();

    QObject* receiver_;
    settings::Settings& settings_;
    const language::Language& language_;
    std::unique_ptr<sound::MidiSystem> system_;
    sound::SoundSystem* soundSystem_ = nullptr;  // system_ when it is the program's own
    sound::QtNotificationSink notifications_;
    sound::QtMidiInputSink midiInput_;
    std::unique_ptr<sound::TMidiIn> midiIn_;
    std::unique_ptr<sound::TMidiOut> midiOut_;
    std::unique_ptr<sound::MidiInputRouter> router_;
    std::unique_ptr<sound::SoundServices> services_;
    std::unique_ptr<sound::Microphone> microphone_;
    std::unique_ptr<sound::MicSession> micSession_;
    // Tells the microphone what the sequencer plays, so that it is not taken as the student's.
    std::unique_ptr<sound::ProgramSoundSink> ownSounds_;
    bool settled_ = false;
    std::vector<std::function<void()>> whenReady_;
    // What the call posted when the synthesizer is settled holds on to: gone with this side.
    std::shared_ptr<MainSound*> alive_ = std::make_shared<MainSound*>(this);
};

}  // namespace kalvintor::ui
