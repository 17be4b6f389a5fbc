// The sound side's threads reach the user-interface thread only as posted events: notifications
// of the playback in force, microphone messages, MIDI input and the tune's end.
#include "Signals.h"

#include "sound/Microphone.h"
#include "sound/MidiFile.h"
#include "sound/MidiMessage.h"
#include "sound/RecordingMidi.h"
#include "sound/SoundEvents.h"
#include "sound/SoundServices.h"
#include "sound/TSequencer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

using namespace kalvintor::sound;
namespace sig = kalvintor::sound::testsignals;

namespace {

// Stands in for the main window: keeps every sound event it receives, and on which thread.
class Receiver final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() < QEvent::User) return QObject::event(e);
        onUiThread = onUiThread && QThread::currentThread() == thread();
        if (auto* n = dynamic_cast<NotificationEvent*>(e)) notifications.push_back(n->notification);
        if (auto* m = dynamic_cast<MidiDataEvent*>(e)) midi.push_back(m->message);
        if (auto* m = dynamic_cast<MicEvent*>(e)) mic.push_back({m->type(), m->wParam, m->generation});
        if (dynamic_cast<MidiFileEndEvent*>(e) != nullptr) ++tunesEnded;
        return true;
    }
    struct Mic {
        QEvent::Type type;
        std::uint32_t wParam;
        std::uint64_t generation;
    };
    std::vector<Notification> notifications;
    std::vector<std::uint32_t> midi;
    std::vector<Mic> mic;
    int tunesEnded = 0;
    bool onUiThread = true;
};

// Processes posted events until `done` holds or ten seconds pass.
template <typename Done>
bool ProcessUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

}  // namespace

TEST(SoundEvents, NotificationsAndInputArriveOnTheUiThreadAndStaleOnesAreRecognised) {
    Receiver receiver;
    QtNotificationSink notifications(&receiver);
    QtMidiInputSink input(&receiver);
    TSequencer sequencer;
    // Posted from threads of their own, as the playback thread and the MIDI input thread do.
    std::thread([&] {
        notifications.Notify({100, 5, sequencer.Generation()});
        input.MidiData(NoteOnMessage(0, 60, 90));
    }).join();
    sequencer.SeqClear();  // a later Stop: the notification already posted is stale on arrival
    ASSERT_TRUE(
        ProcessUntil([&] { return receiver.notifications.size() == 1 && receiver.midi.size() == 1; }));
    EXPECT_TRUE(receiver.onUiThread);
    EXPECT_EQ(receiver.notifications[0].code, 5);
    EXPECT_FALSE(sequencer.IsCurrent(receiver.notifications[0].generation));
    EXPECT_EQ(receiver.midi[0], NoteOnMessage(0, 60, 90));
}

TEST(SoundEvents, MicrophoneMessagesAndTheTunesEndArePosted) {
    Receiver receiver;
    Microphone microphone(PostMicEvents(&receiver));
    microphone.MicStartRhythm();
    const std::vector<float> claps = sig::Claps({200}, 600, 1);
    microphone.Feed(claps.data(), claps.size(), 1000);
    ASSERT_TRUE(ProcessUntil([&] { return receiver.mic.size() == 1; }));
    EXPECT_EQ(receiver.mic[0].type, SoundEventType(kMicEventMessage));
    EXPECT_GE(receiver.mic[0].wParam, 999u);
    EXPECT_TRUE(microphone.IsCurrent(receiver.mic[0].generation));

    const auto dir = std::filesystem::temp_directory_path() / ("kalvintor-tune-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::vector<std::uint8_t> tune = WriteMidiFile(480, {{0, {0x90, 67, 90}}, {48, {0x80, 67, 0}}});
    std::ofstream(dir / "tune.mid", std::ios::binary)
        .write(reinterpret_cast<const char*>(tune.data()), static_cast<std::streamsize>(tune.size()));
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{true, kDefaultSoundFont, {}});
    SoundServices services(created.synth.get(), dir);
    ASSERT_EQ(services.PlayMidiFile(dir / "tune.mid", &receiver), MidiFilePlay::Playing);
    EXPECT_TRUE(ProcessUntil([&] { return receiver.tunesEnded == 1; }));
    EXPECT_TRUE(receiver.onUiThread);
    std::filesystem::remove_all(dir);
}
