// Playback on the built-in synthesizer in real time (on its silent clock here): notifications come
// at their place plus the sync delay, and none of a stopped playback ever comes.
#include "settings/SettingRecord.h"
#include "sound/SoundSystem.h"
#include "sound/SoundTexts.h"
#include "sound/TMidiOut.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace kalvintor;
using namespace kalvintor::sound;
using Clock = std::chrono::steady_clock;

namespace {

struct TimedInbox final : NotificationSink {
    void Notify(const Notification& n) override {
        std::lock_guard lock(mutex);
        arrived.push_back({n, Clock::now()});
        changed.notify_all();
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return arrived.size() >= count; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<Notification, Clock::time_point>> arrived;
};

}  // namespace

TEST(SynthPlayback, NotificationsComeAtTheirTimePlusSyncDelayAndNeverAfterStop) {
    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    SoundSystem system(SoundSystemOptions{SynthOptions{true, kDefaultSoundFont, {}}, false});
    ASSERT_NE(system.Synth(), nullptr);
    EXPECT_EQ(AudioOutputMessage(language, system.Synth()->Output()),
              "No audio output was found: the built-in synthesizer plays silently.");
    TSequencer sequencer;
    TimedInbox inbox;
    sequencer.SetNotificationSink(&inbox);
    TMidiOut midiOut(system, sequencer, settings, language, [](const std::string&) {});
    std::string name;
    ASSERT_TRUE(midiOut.SelectDeviceByName(name));

    // Tempo 180: 600 ticks last 300 ms; with 100 ms of sync delay the notice comes at 400 ms.
    sequencer.SeqSetTempo(180);
    sequencer.SeqSetSyncDelay(100);
    midiOut.QueueSound(600, 0, 0, 107, settings.metronomeClick, false);
    const Clock::time_point start = Clock::now();
    midiOut.Play();
    ASSERT_TRUE(inbox.WaitFor(1, std::chrono::seconds(10)));
    const double ms = std::chrono::duration<double, std::milli>(inbox.arrived[0].second - start).count();
    EXPECT_EQ(inbox.arrived[0].first.code, 7);
    EXPECT_TRUE(sequencer.IsCurrent(inbox.arrived[0].first.generation));
    EXPECT_GE(ms, 380.0) << "the silent clock renders a block (12 ms) ahead";
    EXPECT_LE(ms, 700.0) << "generous for a loaded machine";

    // A longer sound played and stopped early on: its notice, due 1300 ms after the start, never
    // comes. The stop leaves more than a second to spare on a busy machine, and the wait goes on
    // until well past the notice's time.
    sequencer.SeqClear();
    midiOut.QueueSound(2400, 0, 0, 108, settings.metronomeClick, false);
    const Clock::time_point again = Clock::now();
    midiOut.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    midiOut.Stop();
    const double stoppedAt = std::chrono::duration<double, std::milli>(Clock::now() - again).count();
    EXPECT_FALSE(inbox.WaitFor(2, std::chrono::milliseconds(1800)));
    EXPECT_LT(stoppedAt, 1300.0) << "the stop came after the notice's time: nothing was tested";
}

TEST(SoundTexts, SynthProblemsAreToldWithTheFileAndInTheLoadedLanguage) {
    language::Language language;
    EXPECT_FALSE(SynthErrorMessage(language, SynthError::None, "x.sf2"));
    EXPECT_EQ(
        SynthErrorMessage(language, SynthError::SoundFontMissing, "/fonts/big.sf2"),
        "The SoundFont \"/fonts/big.sf2\" does not exist. The built-in synthesizer keeps the sounds it has.");
    language.apply({{5181, "Kein SoundFont: %s"}}, language::kLoadFull);
    EXPECT_EQ(SynthErrorMessage(language, SynthError::SoundFontBroken, "a.sf2"), "Kein SoundFont: \"a.sf2\"");
    EXPECT_FALSE(AudioOutputMessage(language, AudioOutput::Driver));
}
