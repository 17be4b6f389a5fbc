// The MIDI output object: its device table, immediate messages and the queueing of timed sound.
//
// Tests build it on the recording system (sound/RecordingMidi.h):
//
//     settings::Settings settings = settings::defaultSettings();
//     language::Language language;
//     RecordingMidiSystem system;            // one device, "Recording synthesizer", in entry 1
//     TSequencer sequencer;
//     TMidiOut midiOut(system, sequencer, settings, language, [](const std::string&) {});
//     std::string name;                      // empty: open entry 1
//     midiOut.SelectDeviceByName(name);
//     midiOut.QueueNotes(notes, 3, NoteMode::Together, false);
//     midiOut.SetNotifyContext({false, 1}); // codes 50..59 need a current pitch exercise
//     midiOut.QueueNotify(51);
//     for (const QueuedEvent& e : sequencer.Queued()) { e.track; e.tick; e.kind; e.message; e.code; }
//
// `Queued()` lists track 1's events, then track 2's, each at the tick it falls on (delays are folded
// into the ticks; `TrackLengthTicks(sequencer.Track(n))` gives a track's full length). A message
// event carries the packed short message (MidiMessage.h), a notification the code its window
// receives and the window handle (NotifyRouting.h). After `Play`, `system.Output()->Starts()` holds
// the started timelines in milliseconds, and `system.Output()->Advance(ms)` plays them on a virtual
// clock into `system.Output()->Sent()` and the sequencer's notification sink.
#pragma once

#include "language/Language.h"
#include "settings/SettingRecord.h"
#include "sound/DeviceTexts.h"
#include "sound/MidiDevice.h"
#include "sound/NotifyRouting.h"
#include "sound/TSequencer.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kalvintor::sound {

// How QueueNotes sounds its notes.
enum class NoteMode : std::uint8_t {
    Together = 0,
    Upward = 1,
    Downward = 2,
    Silent = 3,
    Melody = 4,
    ArpeggioUpHeld = 5,
    ArpeggioDownHeld = 6,
};

// The fields of a question note that playback reads.
struct QueuedNote {
    std::int8_t note = 60;      // MIDI note number as written
    std::uint8_t duration = 3;  // index into NoteDurations
    std::uint8_t accent = 2;    // 0..2, 2 = full velocity
};

// Delays of the one-by-one and arpeggio modes, in ticks.
inline constexpr std::int32_t kChordTicks = 1344;
inline constexpr std::int32_t kStepTicks = 500;
inline constexpr std::int32_t kGapTicks = 50;
inline constexpr int kMinQueuedVelocity = 15;
inline constexpr int kAccentVelocityStep = 6;
inline constexpr int kSoundVelocityStep = 10;
inline constexpr int kGuitarTransposition = -12;

class TMidiOut {
public:
    TMidiOut(MidiSystem& system, TSequencer& sequencer, const settings::Settings& settings,
             const language::Language& language, ShowMessage showMessage);
    ~TMidiOut();
    TMidiOut(const TMidiOut&) = delete;
    TMidiOut& operator=(const TMidiOut&) = delete;

    // Device table (run by the constructor).
    void ListDevices();
    const std::vector<DeviceEntry>& Devices() const { return devices_; }
    bool SelectDevice(std::uint16_t index);
    // An empty name opens entry 1 and, on success, receives its name.
    bool SelectDeviceByName(std::string& name);
    bool Opened() const { return port_ != nullptr; }
    std::int32_t OpenedId() const { return openedId_; }
    // Closes the open device, if any.
    void Close();

    void SetVolume(std::uint8_t level);
    bool GetVolume(std::uint8_t& level) const;

    // Queue operations append; nothing sounds until Play.
    void QueueNotes(std::span<const QueuedNote> notes, std::uint8_t count, NoteMode mode, bool guitarVoice);
    void QueueSound(std::uint16_t duration, std::uint8_t velocityStep, std::uint16_t preCode,
                    std::uint16_t postCode, const settings::TSoundRec& sound, bool silent);
    void QueueNotify(std::uint16_t code);
    void QueueProgramChange(std::uint8_t program, std::uint8_t channel);
    void Play();
    void Stop();

    // Immediate messages.
    void NoteOn(const settings::TSoundRec& sound);
    void NoteOff(std::uint8_t key);
    void AllNotesOff();
    void ResetControllers();
    void ProgramChange(std::uint8_t program, std::uint8_t channel);

    // What decides where notifications go (kept up to date by the main window).
    void SetNotifyContext(const NotifyContext& context) { notifyContext_ = context; }

    TSequencer& Sequencer() { return sequencer_; }
    MidiOutPort* Port() { return port_.get(); }

private:
    void Delay(std::int32_t ticks);
    void Message(std::uint8_t track, std::uint32_t message);

    MidiSystem& system_;
    TSequencer& sequencer_;
    const settings::Settings& settings_;
    const language::Language& language_;
    ShowMessage showMessage_;
    std::vector<DeviceEntry> devices_;
    std::unique_ptr<MidiOutPort> port_;
    std::int32_t openedId_ = 0;
    std::uint8_t lastChannel_ = 0;
    NotifyContext notifyContext_;
};

}  // namespace kalvintor::sound
