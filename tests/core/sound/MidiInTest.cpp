// The input object's table and the dispatch of received messages to the routed target.
#include "settings/SettingRecord.h"
#include "sound/MidiInputRouting.h"
#include "sound/MidiMessage.h"
#include "sound/RecordingMidi.h"
#include "sound/TMidiIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kalvintor;
using namespace kalvintor::sound;

namespace {

struct Collect final : MidiInputSink {
    void MidiData(std::uint32_t message) override { messages.push_back(message); }
    std::vector<std::uint32_t> messages;
};

// An exercise window that writes down what dispatch asks of it.
struct FakeExercise final : ExerciseControls {
    int FocusedButton() const override { return focused; }
    bool ButtonEnabled(int index) const override { return enabled[static_cast<std::size_t>(index)]; }
    void PressButton(int index) override { calls.push_back("press " + std::to_string(index)); }
    void ControlButtonUpAction() override { calls.push_back("up"); }
    void CompleteAnswer() override { calls.push_back("complete"); }
    void MidiInput(std::uint32_t message) override { calls.push_back("midi " + std::to_string(message)); }

    int focused = 1;
    std::array<bool, 5> enabled{true, true, true, true, true};
    std::vector<std::string> calls;
};

struct FakeReceivers final : MidiInputReceivers {
    ExerciseControls* Exercise(std::uint8_t number) override { return number <= 10 ? &exercise : nullptr; }
    bool SettingsDialogShown() const override { return dialogShown; }
    void SettingsDialogMidiInput(std::uint32_t m) override { dialog.push_back(m); }
    bool ChordEditorActive() const override { return editorActive; }
    void ChordEditorMidiInput(std::uint32_t m) override { editor.push_back(m); }

    FakeExercise exercise;
    bool dialogShown = false;
    bool editorActive = false;
    std::vector<std::uint32_t> dialog, editor;
};

struct InRig {
    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    RecordingMidiSystem system;
    Collect callback;
    std::vector<std::string> shown;
    TMidiIn midiIn{system, callback, language, [this](const std::string& t) { shown.push_back(t); }};
    MidiInputRouter router{midiIn, settings};
    FakeReceivers receivers;
};

}  // namespace

TEST(TMidiInDevices, TableEndsWithTheBracketedNoneEntry) {
    InRig rig;
    rig.system.defaultInputName = "Default";
    rig.system.inputNames = std::vector<std::string>(30, "Keys");
    rig.midiIn.ListDevices();
    rig.midiIn.AddNoneEntry();
    const auto& devices = rig.midiIn.Devices();
    ASSERT_EQ(devices.size(), 20u) << "at most 19 listed, then the none entry";
    EXPECT_EQ(devices[0], (DeviceEntry{kDefaultInputId, "Default", false}));
    EXPECT_EQ(devices.back(), (DeviceEntry{0, "(none)", true})) << "text 102 in round brackets";

    EXPECT_TRUE(rig.midiIn.SelectDevice(2));
    EXPECT_TRUE(rig.midiIn.Opened());
    EXPECT_TRUE(rig.midiIn.SelectDevice(20)) << "choosing none succeeds";
    EXPECT_FALSE(rig.midiIn.Opened());
}

TEST(TMidiInDevices, OpenFailureShowsTheInputMessage) {
    InRig rig;
    rig.system.failingInputIds = {0};
    rig.midiIn.ListDevices();
    std::string name = "Recording keyboard";
    EXPECT_FALSE(rig.midiIn.SelectDeviceByName(name));
    EXPECT_EQ(rig.shown,
              std::vector<std::string>{
                  "Could not open the MIDI input device \"Recording keyboard\".\r\n\r\r\ndevice busy"});
    rig.system.throwOnOpen = true;
    EXPECT_FALSE(rig.midiIn.SelectDevice(1));
    EXPECT_EQ(rig.shown.back(), "ChangeDevice exception: Error opening MIDI in");
}

TEST(MidiInputRouting, RouteOpensTheStoredDeviceStartsItAndStopKeepsItRunning) {
    InRig rig;
    rig.settings.midiInputDevice = "Recording keyboard";
    rig.router.RouteMidiInput(3);
    EXPECT_EQ(rig.router.MidiInputTarget(), 3);
    ASSERT_TRUE(rig.midiIn.Started());
    rig.system.Input()->Receive(NoteOnMessage(0, 60, 80));
    EXPECT_EQ(rig.callback.messages, std::vector<std::uint32_t>{NoteOnMessage(0, 60, 80)});
    EXPECT_TRUE(rig.router.ControlKeySet().test(36));
    EXPECT_FALSE(rig.router.ControlKeySet().test(37));

    rig.router.StopMidiInput();
    EXPECT_EQ(rig.router.MidiInputTarget(), 0);
    EXPECT_TRUE(rig.midiIn.Started());

    rig.system.Input()->failStart = true;
    rig.router.RouteMidiInput(4);
    EXPECT_FALSE(rig.midiIn.Started()) << "started is the result of starting";
    EXPECT_EQ(rig.router.MidiInputTarget(), 4);
}

TEST(MidiInputRouting, AKeyboardPluggedInWhileRunningIsFoundWhenInputIsRoutedAgain) {
    InRig rig;
    rig.system.inputNames = {};
    rig.midiIn.ListDevices();
    rig.midiIn.AddNoneEntry();
    rig.settings.midiInputDevice = "USB keyboard";
    rig.router.RouteMidiInput(2);
    EXPECT_FALSE(rig.midiIn.Opened()) << "not there yet";

    rig.system.inputNames = {"USB keyboard"};
    rig.router.RouteMidiInput(2);
    ASSERT_TRUE(rig.midiIn.Opened());
    EXPECT_TRUE(rig.midiIn.Started());
    EXPECT_EQ(rig.midiIn.Devices().size(), 2u) << "the keyboard, then the none entry, once";
    EXPECT_TRUE(rig.midiIn.Devices().back().placeholder);
}

TEST(MidiInputRouting, DispatchToAnExerciseWindow) {
    struct Case {
        const char* what;
        std::uint32_t message;
        std::uint8_t target;
        bool damper;
        bool control;
        std::vector<std::string> calls;
    };
    const std::uint32_t pedalDown = PackShortMessage(0xB3, 64, 127);
    const std::uint32_t note = NoteOnMessage(0, 60, 90);
    const Case cases[] = {
        {"active sensing", kActiveSensing, 1, true, true, {}},
        {"timing clock", kTimingClock, 1, true, true, {}},
        {"pedal down presses the focused button", pedalDown, 1, true, false, {"press 1", "up"}},
        {"pedal with another value", PackShortMessage(0xB3, 64, 100), 1, true, false, {}},
        {"pedal while the setting is off", pedalDown, 1, false, false, {}},
        {"other controller goes to the window",
         PackShortMessage(0xB0, 7, 100),
         1,
         true,
         false,
         {"midi " + std::to_string(PackShortMessage(0xB0, 7, 100))}},
        {"control key pressed", NoteOnMessage(5, 40, 70), 2, true, true, {"press 2"}},
        {"control key velocity 0 releases", NoteOnMessage(5, 40, 0), 2, true, true, {"up"}},
        {"control key note-off releases", NoteOffMessage(5, 40), 2, true, true, {"up"}},
        {"control keys off: the key is a note",
         NoteOnMessage(0, 40, 70),
         2,
         true,
         false,
         {"midi " + std::to_string(NoteOnMessage(0, 40, 70))}},
        {"other key", note, 2, true, true, {"midi " + std::to_string(note)}},
        {"nobody", note, 0, true, true, {}},
    };
    for (const Case& c : cases) {
        InRig rig;
        rig.settings.damperAsEnter = c.damper;
        rig.settings.controlByMidiTones = c.control;
        rig.router.RouteMidiInput(c.target);
        rig.router.Dispatch(c.message, rig.receivers);
        EXPECT_EQ(rig.receivers.exercise.calls, c.calls) << c.what;
    }
    // The pedal presses nothing without a focused control button, or with a focus beyond them.
    for (int focus : {-1, 5, 7}) {
        InRig rig;
        rig.router.RouteMidiInput(1);
        rig.receivers.exercise.focused = focus;
        rig.router.Dispatch(pedalDown, rig.receivers);
        EXPECT_TRUE(rig.receivers.exercise.calls.empty()) << "focus " << focus;
    }
}

TEST(MidiInputRouting, LastControlKeyOnADisabledButtonCompletesTheAnswerInExercises8And9) {
    for (std::uint8_t target : {7, 8, 9}) {
        InRig rig;
        rig.settings.controlByMidiTones = true;
        rig.router.RouteMidiInput(target);
        rig.receivers.exercise.enabled = {true, false, true, true, false};
        rig.router.Dispatch(NoteOnMessage(0, 43, 90), rig.receivers);
        rig.router.Dispatch(NoteOnMessage(0, 38, 90), rig.receivers);  // a disabled button is not pressed
        const std::vector<std::string> expected =
            target == 7 ? std::vector<std::string>{} : std::vector<std::string>{"complete"};
        EXPECT_EQ(rig.receivers.exercise.calls, expected) << "exercise " << int(target);
    }
}

TEST(MidiInputRouting, DialogAndEditorReceiveOnlyWhileShown) {
    InRig rig;
    const std::uint32_t note = NoteOnMessage(0, 60, 90);
    rig.router.RouteMidiInput(kTargetSettingsDialog);
    rig.router.Dispatch(note, rig.receivers);
    rig.receivers.dialogShown = true;
    rig.router.Dispatch(note, rig.receivers);
    rig.router.RouteMidiInput(kTargetChordEditor);
    rig.router.Dispatch(note, rig.receivers);
    rig.receivers.editorActive = true;
    rig.router.Dispatch(note, rig.receivers);
    EXPECT_EQ(rig.receivers.dialog, std::vector<std::uint32_t>{note});
    EXPECT_EQ(rig.receivers.editor, std::vector<std::uint32_t>{note});
    EXPECT_TRUE(rig.receivers.exercise.calls.empty());
}
