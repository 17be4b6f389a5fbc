// Routing and dispatch of received MIDI input.
#include "sound/MidiInputRouting.h"

#include "sound/MidiMessage.h"

#include <exception>

namespace kalvintor::sound {

namespace {

constexpr std::uint32_t kControllerMask = 0xFFF0;
constexpr std::uint32_t kDamperMessage = kControllerStatus | std::uint32_t{kDamperPedal} << 8;
constexpr std::uint8_t kNoteStatusMask = 0xE0;
constexpr int kCompletingButton = 4;
// System real-time messages (clock, start, stop, sensing) carry nothing any window reads.
constexpr std::uint8_t kFirstRealTime = kTimingClock;

}  // namespace

void MidiInputRouter::BuildControlKeySet() {
    controlKeys_.reset();
    for (std::uint8_t key : settings_.controlKeys) controlKeys_.set(key);
}

void MidiInputRouter::RouteMidiInput(std::uint8_t target) {
    BuildControlKeySet();
    if (!midiIn_.Opened()) {
        // The devices are listed again, so a keyboard plugged in since the program started is
        // found by its stored name; the table keeps its closing "none" entry.
        try {
            midiIn_.ListDevices();
        } catch (const std::exception&) {
            // A system that cannot list its devices now leaves what was listed before.
        }
        midiIn_.AddNoneEntry();
        midiIn_.SelectDeviceByName(settings_.midiInputDevice);
    }
    target_ = target;
    midiIn_.Start();
}

void MidiInputRouter::Dispatch(std::uint32_t message, MidiInputReceivers& receivers) const {
    if (message == kActiveSensing || StatusOf(message) >= kFirstRealTime) return;
    if (target_ >= 1 && target_ <= settings::kExerciseCount) {
        if (ExerciseControls* window = receivers.Exercise(target_)) DispatchToExercise(message, *window);
    } else if (target_ == kTargetSettingsDialog) {
        if (receivers.SettingsDialogShown()) receivers.SettingsDialogMidiInput(message);
    } else if (target_ == kTargetChordEditor) {
        if (receivers.ChordEditorActive()) receivers.ChordEditorMidiInput(message);
    }
}

void MidiInputRouter::DispatchToExercise(std::uint32_t message, ExerciseControls& window) const {
    if ((message & kControllerMask) == kDamperMessage) {
        const int focused = window.FocusedButton();
        if (Data2Of(message) == kPedalDown && settings_.damperAsEnter && focused >= 0 &&
            focused < settings::kControlButtonCount) {
            window.PressButton(focused);
            window.ControlButtonUpAction();
        }
        return;
    }
    const std::uint8_t key = Data1Of(message);
    if (settings_.controlByMidiTones && controlKeys_.test(key) &&
        (StatusOf(message) & kNoteStatusMask) == kNoteOffStatus) {
        if (!IsNoteOn(message)) {
            window.ControlButtonUpAction();
            return;
        }
        for (int index = 0; index < settings::kControlButtonCount; ++index) {
            if (settings_.controlKeys[static_cast<std::size_t>(index)] != key) continue;
            const bool enabled = window.ButtonEnabled(index);
            if (index == kCompletingButton && !enabled && (target_ == 8 || target_ == 9)) {
                window.CompleteAnswer();
            } else if (enabled) {
                window.PressButton(index);
            }
            return;
        }
    }
    window.MidiInput(message);
}

}  // namespace kalvintor::sound
