// The port path end to end through a JACK dummy server: TMidiOut plays into a port, the messages
// come back through TMidiIn and reach the routed window; a vanishing port harms nothing.
#include "JackServer.h"

#include "settings/SettingRecord.h"
#include "sound/MidiInputRouting.h"
#include "sound/MidiMessage.h"
#include "sound/SoundSystem.h"
#include "sound/TMidiIn.h"
#include "sound/TMidiOut.h"

#include <rtmidi/RtMidi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace kalvintor;
using namespace kalvintor::sound;
using kalvintor::sound::testing::JackServer;
using Clock = std::chrono::steady_clock;

namespace {

// How late a note sent to the port may come back: a few JACK cycles and a loaded machine, well
// below the 198 ms from one note to the next.
constexpr double kLateMarginMs = 150.0;

// Collects what other threads hand over, and lets the test wait for it.
template <typename T>
class Inbox {
public:
    void Put(T value) {
        {
            std::lock_guard lock(mutex_);
            items_.push_back({value, Clock::now()});
        }
        changed_.notify_all();
    }
    // Waits (at most `limit`) until `count` items have come.
    std::vector<std::pair<T, Clock::time_point>> WaitFor(
        std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, limit, [&] { return items_.size() >= count; });
        return items_;
    }
    // Waits (at most `limit`) until some items have come and `done` holds for them.
    template <typename Done>
    bool WaitUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return !items_.empty() && done(items_); });
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        items_.clear();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<T, Clock::time_point>> items_;
};

struct InputInbox final : MidiInputSink {
    void MidiData(std::uint32_t m) override { inbox.Put(m); }
    Inbox<std::uint32_t> inbox;
};

struct NotificationInbox final : NotificationSink {
    void Notify(const Notification& n) override { inbox.Put(n.code); }
    Inbox<std::uint16_t> inbox;
};

struct Exercise final : ExerciseControls {
    int FocusedButton() const override { return -1; }
    bool ButtonEnabled(int) const override { return true; }
    void PressButton(int) override {}
    void ControlButtonUpAction() override {}
    void CompleteAnswer() override {}
    void MidiInput(std::uint32_t m) override { received.push_back(m); }
    std::vector<std::uint32_t> received;
};

struct Receivers final : MidiInputReceivers {
    ExerciseControls* Exercise(std::uint8_t n) override { return n == 3 ? &exercise : nullptr; }
    bool SettingsDialogShown() const override { return false; }
    void SettingsDialogMidiInput(std::uint32_t) override {}
    bool ChordEditorActive() const override { return false; }
    void ChordEditorMidiInput(std::uint32_t) override {}
    struct Exercise exercise;
};

// A stand-in for a sound module wired to a keyboard: what reaches its input comes back out of its
// output, as if someone played along.
struct Loopback {
    Loopback() : in(RtMidi::UNIX_JACK, "loop-synth"), out(RtMidi::UNIX_JACK, "loop-keys") {
        out.openVirtualPort("keys");
        in.setCallback(&Loopback::Forward, this);
        in.openVirtualPort("in");
    }
    static void Forward(double, std::vector<unsigned char>* bytes, void* self) {
        static_cast<Loopback*>(self)->out.sendMessage(bytes);
    }
    RtMidiIn in;
    RtMidiOut out;
};

std::uint16_t IndexOf(const std::vector<DeviceEntry>& devices, const std::string& part) {
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].name.find(part) != std::string::npos) return static_cast<std::uint16_t>(i + 1);
    }
    return 0;
}

}  // namespace

TEST(PortPath, OutputThroughJackComesBackToTheRoutedWindow) {
    if (!JackServer::Installed())
        GTEST_SKIP() << "jackd is not installed: the port path cannot be tested here";
    JackServer server;
    ASSERT_TRUE(server.Running()) << server.Error();

    auto loop = std::make_unique<Loopback>();
    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    std::vector<std::string> shown;
    auto show = [&shown](const std::string& t) { shown.push_back(t); };
    SoundSystem system(SoundSystemOptions{SynthOptions{false}, true, "kalvintor-port-test"});
    TSequencer sequencer;
    NotificationInbox notifications;
    sequencer.SetNotificationSink(&notifications);
    TMidiOut midiOut(system, sequencer, settings, language, show);
    InputInbox input;
    TMidiIn midiIn(system, input, language, show);
    midiIn.AddNoneEntry();

    const std::uint16_t outIndex = IndexOf(midiOut.Devices(), "loop-synth:in");
    const std::uint16_t inIndex = IndexOf(midiIn.Devices(), "loop-keys:keys");
    ASSERT_GT(outIndex, 1) << "entry 1 is the built-in synthesizer, the ports follow";
    ASSERT_GT(inIndex, 0);
    ASSERT_TRUE(midiOut.SelectDevice(outIndex));
    settings.midiInputDevice = midiIn.Devices()[inIndex - 1].name;
    MidiInputRouter router(midiIn, settings);
    router.RouteMidiInput(3);
    ASSERT_TRUE(midiIn.Started());
    // JACK makes new connections part of its graph a cycle or two later: wait until a message
    // gets through before timing anything.
    for (int attempt = 0; attempt < 100 && input.inbox.WaitFor(1, std::chrono::milliseconds(100)).empty();
         ++attempt) {
        midiOut.ProgramChange(0, 15);
    }
    ASSERT_FALSE(input.inbox.WaitFor(1, std::chrono::milliseconds(0)).empty())
        << "nothing gets through the loop";
    // The port keeps the order of its messages: once a last, different one is back, every one
    // sent before it has come too.
    midiOut.ProgramChange(1, 15);
    const std::uint32_t last = ProgramChangeMessage(15, 1);
    ASSERT_TRUE(input.inbox.WaitUntil([&](const auto& items) { return items.back().first == last; }))
        << "the last message of the warm-up did not come back";
    input.inbox.Clear();

    // Three notes one by one at tempo 250: a note every 550 ticks, 198 ms apart.
    sequencer.SeqSetTempo(250);
    const std::vector<QueuedNote> notes = {{60, 3, 2}, {64, 3, 2}, {67, 3, 2}};
    midiOut.QueueNotes(notes, 3, NoteMode::Upward, false);
    midiOut.QueueSound(10, 0, 0, 105, settings.rhythmSound, true);
    const Clock::time_point start = Clock::now();
    midiOut.Play();

    const auto received = input.inbox.WaitFor(6);
    ASSERT_EQ(received.size(), 6u);
    const std::vector<std::uint32_t> expected = {NoteOnMessage(0, 60, 110), NoteOffMessage(0, 60),
                                                 NoteOnMessage(0, 64, 110), NoteOffMessage(0, 64),
                                                 NoteOnMessage(0, 67, 110), NoteOffMessage(0, 67)};
    Receivers receivers;
    for (std::size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(received[i].first, expected[i]) << i;
        router.Dispatch(received[i].first, receivers);
    }
    EXPECT_EQ(receivers.exercise.received, expected);
    // A note never sounds before its time, and comes within a generous margin after it: enough to
    // tell the tempo apart from another, and to bear a busy machine.
    for (std::size_t i : {0u, 2u, 4u}) {
        const double at = std::chrono::duration<double, std::milli>(received[i].second - start).count();
        const double due = 198.0 * static_cast<double>(i / 2);
        EXPECT_GE(at, due - 1.0) << "note " << i / 2;
        EXPECT_LE(at, due + kLateMarginMs) << "note " << i / 2;
    }
    const auto posted = notifications.inbox.WaitFor(1);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].first, 5);

    // The port goes away while open: sounding on goes nowhere, quietly.
    loop.reset();
    midiOut.NoteOn(settings.pianoVoice);
    midiOut.Play();
    midiOut.Stop();
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(midiOut.SelectDevice(1)) << "the built-in synthesizer can be chosen instead";
}
