// Fuzz target: received MIDI input, a byte stream cut into messages as a port delivers them and
// dispatched to every kind of target.
#include "settings/SettingRecord.h"
#include "sound/MidiInputRouting.h"
#include "sound/RecordingMidi.h"
#include "sound/RtMidiPorts.h"

#include <cstdint>
#include <vector>

namespace {

using namespace kalvintor;
using namespace kalvintor::sound;

struct Sink final : MidiInputSink {
    void MidiData(std::uint32_t) override {}
};

struct Window final : ExerciseControls {
    int FocusedButton() const override { return focus; }
    bool ButtonEnabled(int index) const override {
        if (index < 0 || index > 4) __builtin_trap();
        return (enabled >> index) & 1;
    }
    void PressButton(int index) override {
        if (index < 0 || index > 4) __builtin_trap();
    }
    void ControlButtonUpAction() override {}
    void CompleteAnswer() override {}
    void MidiInput(std::uint32_t) override {}
    int focus = -1;
    unsigned enabled = 0;
};

struct Receivers final : MidiInputReceivers {
    ExerciseControls* Exercise(std::uint8_t) override { return &window; }
    bool SettingsDialogShown() const override { return true; }
    void SettingsDialogMidiInput(std::uint32_t) override {}
    bool ChordEditorActive() const override { return true; }
    void ChordEditorMidiInput(std::uint32_t) override {}
    Window window;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    settings::Settings settings = settings::defaultSettings();
    settings.controlByMidiTones = data[0] & 1;
    settings.damperAsEnter = data[0] & 2;
    for (std::size_t i = 0; i < settings.controlKeys.size(); ++i) settings.controlKeys[i] = data[1 + i % 3];
    language::Language language;
    RecordingMidiSystem system;
    Sink sink;
    TMidiIn midiIn(system, sink, language, [](const std::string&) {});
    MidiInputRouter router(midiIn, settings);
    router.RouteMidiInput(data[3] % 20);
    Receivers receivers;
    receivers.window.focus = static_cast<int>(data[2] % 7) - 1;
    receivers.window.enabled = data[2] >> 3;

    // Messages of one to four bytes, their lengths taken from the stream itself.
    for (std::size_t pos = 4; pos < size;) {
        const std::size_t length = std::min<std::size_t>(1 + data[pos] % 4, size - pos - 1);
        if (pos + 1 + length > size) break;
        const std::vector<unsigned char> bytes(data + pos + 1, data + pos + 1 + length);
        if (auto message = PackReceived(bytes)) router.Dispatch(*message, receivers);
        pos += 1 + length;
    }
    return 0;
}
