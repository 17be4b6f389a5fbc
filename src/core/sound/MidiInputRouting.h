// Where received MIDI input goes: the routing target, the control keys and the dispatch rules.
#pragma once

#include "settings/SettingRecord.h"
#include "sound/TMidiIn.h"

#include <bitset>
#include <cstdint>

namespace kalvintor::sound {

// Targets besides the exercise windows 1..10.
inline constexpr std::uint8_t kTargetNobody = 0;
inline constexpr std::uint8_t kTargetSettingsDialog = 15;
inline constexpr std::uint8_t kTargetChordEditor = 16;

// What dispatch needs of an exercise window and its control buttons.
class ExerciseControls {
public:
    virtual ~ExerciseControls() = default;
    virtual int FocusedButton() const = 0;  // -1 when no control button has the focus
    virtual bool ButtonEnabled(int index) const = 0;
    virtual void PressButton(int index) = 0;
    virtual void ControlButtonUpAction() = 0;
    // Exercises 8 and 9: completes the answer entered so far.
    virtual void CompleteAnswer() = 0;
    virtual void MidiInput(std::uint32_t message) = 0;
};

class MidiInputReceivers {
public:
    virtual ~MidiInputReceivers() = default;
    virtual ExerciseControls* Exercise(std::uint8_t number) = 0;  // null when it does not exist
    virtual bool SettingsDialogShown() const = 0;
    virtual void SettingsDialogMidiInput(std::uint32_t message) = 0;
    virtual bool ChordEditorActive() const = 0;
    virtual void ChordEditorMidiInput(std::uint32_t message) = 0;
};

class MidiInputRouter {
public:
    MidiInputRouter(TMidiIn& midiIn, settings::Settings& settings) : midiIn_(midiIn), settings_(settings) {}

    // Rebuilds the control keys, opens the stored input device when none is open, sets the
    // target and starts input.
    void RouteMidiInput(std::uint8_t target);
    // Input keeps running; nobody receives it.
    void StopMidiInput() { target_ = kTargetNobody; }
    void BuildControlKeySet();

    // The main window's handler for one received short message.
    void Dispatch(std::uint32_t message, MidiInputReceivers& receivers) const;

    std::uint8_t MidiInputTarget() const { return target_; }
    const std::bitset<256>& ControlKeySet() const { return controlKeys_; }

private:
    void DispatchToExercise(std::uint32_t message, ExerciseControls& window) const;

    TMidiIn& midiIn_;
    settings::Settings& settings_;
    std::uint8_t target_ = kTargetNobody;
    std::bitset<256> controlKeys_;
};

}  // namespace kalvintor::sound
