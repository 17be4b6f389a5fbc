// The microphone component's threads: fed or captured samples come back as posted messages of the
// current detection only, an input that cannot be opened fails cleanly, and one that goes away
// mid-stream is reported and opened again.
#include "Signals.h"

#include "sound/Microphone.h"
#include "sound/SoundEvents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace kalvintor::sound;
namespace sig = kalvintor::sound::testsignals;

namespace {

struct Posted {
    int message;
    std::uint32_t wParam;
    std::int64_t lParam;
    std::uint64_t generation;
};

struct Collector {
    std::mutex mutex;
    std::vector<Posted> posted;
    Microphone::Post Post() {
        return [this](int m, std::uint32_t w, std::int64_t l, std::uint64_t g) {
            std::lock_guard lock(mutex);
            posted.push_back({m, w, l, g});
        };
    }
    std::vector<Posted> Take() {
        std::lock_guard lock(mutex);
        return std::exchange(posted, {});
    }
};

// A capture device the test drives: it opens or not, delivers what the test gives it, and can be
// pulled out.
class TestCapture final : public MicCapture {
public:
    struct State {
        std::atomic<bool> opens{true};
        std::atomic<bool> running{false};
        std::atomic<int> starts{0};
        Deliver deliver = nullptr;
        void* user = nullptr;
    };
    explicit TestCapture(State& state) : state_(state) {}
    bool Start(Deliver deliver, void* user) override {
        ++state_.starts;
        if (!state_.opens) return false;
        state_.deliver = deliver;
        state_.user = user;
        state_.running = true;
        return true;
    }
    void Stop() override { state_.running = false; }
    bool Running() const override { return state_.running; }
    double Rate() const override { return 44100.0; }
    double LatencyMs() const override { return 0.0; }

private:
    State& state_;
};

template <typename Done>
bool WaitFor(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void FeedInChunks(Microphone& mic, const std::vector<float>& x, double clockMs) {
    for (std::size_t i = 0; i < x.size(); i += 512) {
        mic.Feed(x.data() + i, std::min<std::size_t>(512, x.size() - i),
                 clockMs + static_cast<double>(i) / 44.1);
        mic.Drain();
    }
}

}  // namespace

TEST(Microphone, FedSamplesArePostedAsNotesAndClaps) {
    Collector collector;
    Microphone mic(collector.Post());
    mic.MicConfigure(11, 0, 1572864.0);

    mic.MicStartTone();
    FeedInChunks(mic, sig::Tone(sig::Voice::Sine, 67, 100, 400), 1000);
    auto posted = collector.Take();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, kMicNoteMessage);
    std::uint8_t unread = 0;
    EXPECT_EQ(mic.MicGetNote(static_cast<std::uint8_t>(posted[0].wParam), unread), 67);
    EXPECT_TRUE(mic.IsCurrent(posted[0].generation));

    mic.MicStartRhythm();
    FeedInChunks(mic, sig::Claps({200, 500}, 800, 3), 50000);
    posted = collector.Take();
    ASSERT_EQ(posted.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(posted[i].message, kMicEventMessage);
        EXPECT_GE(posted[i].wParam, 999u);
        EXPECT_NEAR(static_cast<double>(posted[i].lParam), 50000 + (i == 0 ? 200 : 500), 5);
    }

    // After MicStop nothing more comes, and what was posted before is no longer current.
    mic.MicStop();
    EXPECT_FALSE(mic.IsCurrent(posted[0].generation));
    FeedInChunks(mic, sig::Claps({100}, 400, 4), 60000);
    EXPECT_TRUE(collector.Take().empty());
}

TEST(Microphone, NotesOutsideTheExercisesRangeAreNoAnswer) {
    Collector collector;
    Microphone mic(collector.Post());
    mic.SetPitchRange(48, 72);
    mic.MicStartTone();
    for (int note : {45, 60, 76}) FeedInChunks(mic, sig::Tone(sig::Voice::Sawtooth, note, 100, 400), 0);
    std::vector<Posted> posted = collector.Take();
    ASSERT_EQ(posted.size(), 2u) << "the note in range, and its end";
    EXPECT_EQ(posted[0].wParam, 60u);
    EXPECT_EQ(posted[1].wParam, 0u);
    // Any note a voice sings again once the range is given up, from the next start on.
    mic.SetPitchRange(1, 0);
    mic.MicStartTone();
    FeedInChunks(mic, sig::Tone(sig::Voice::Sawtooth, 45, 100, 400), 0);
    posted = collector.Take();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted[0].wParam, 45u);
}

TEST(Microphone, UnacknowledgedNotesAreNotPiledUp) {
    Collector collector;
    Microphone mic(collector.Post());
    mic.MicStartTone();
    // Twenty different notes, none acknowledged.
    for (int note = 50; note < 70; ++note) FeedInChunks(mic, sig::Tone(sig::Voice::Sine, note, 100, 200), 0);
    EXPECT_EQ(collector.Take().size(), static_cast<std::size_t>(kMaxUnacknowledgedNotes));
    for (int i = 0; i < kMaxUnacknowledgedNotes; ++i) mic.MicAcknowledge();
    FeedInChunks(mic, sig::Tone(sig::Voice::Sine, 72, 100, 200), 0);
    // The last note's end, heard in the silence before the new one, and the new note.
    const std::vector<Posted> posted = collector.Take();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_EQ(posted[1].wParam, 72u);
}

TEST(Microphone, AnInputThatCannotBeOpenedFailsCleanlyAndIsTriedAgain) {
    Collector collector;
    TestCapture::State device;
    device.opens = false;
    Microphone mic(collector.Post(), std::make_unique<TestCapture>(device));
    EXPECT_EQ(mic.MicOpen(), 0);
    EXPECT_FALSE(mic.Open());
    // Detection without an input runs on what is fed, and says nothing of a lost device.
    mic.MicStartTone();
    EXPECT_EQ(mic.Reading().state, MicReading::State::Listening);
    FeedInChunks(mic, sig::Tone(sig::Voice::Sine, 64, 100, 400), 1000);
    ASSERT_EQ(collector.Take().size(), 1u);
    mic.MicStop();
    EXPECT_EQ(mic.Reading().state, MicReading::State::Off);
    // Switching on again tries the device again, and takes it once it is there.
    device.opens = true;
    EXPECT_EQ(mic.MicOpen(), 1);
    EXPECT_TRUE(mic.Open());
    EXPECT_EQ(device.starts, 2);
    EXPECT_EQ(mic.MicOpen(), 1) << "an open input is not opened twice";
    EXPECT_EQ(device.starts, 2);
}

TEST(Microphone, CapturedSoundIsHeardAndALostDeviceIsReportedAndReopened) {
    Collector collector;
    TestCapture::State device;
    Microphone mic(collector.Post(), std::make_unique<TestCapture>(device));
    ASSERT_EQ(mic.MicOpen(), 1);
    mic.MicStartTone();
    const std::uint64_t generation = mic.Generation();
    // The device delivers a sung note in buffers of 256 frames, as a capture thread does.
    const std::vector<float> tone = sig::Tone(sig::Voice::Sine, 69, 200, 400);
    for (std::size_t i = 0; i < tone.size(); i += 256) {
        device.deliver(tone.data() + i, std::min<std::size_t>(256, tone.size() - i), device.user);
        mic.Drain();
    }
    std::vector<Posted> posted = collector.Take();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, kMicNoteMessage);
    EXPECT_EQ(posted[0].wParam, 69u);
    const MicReading hearing = mic.Reading();
    EXPECT_EQ(hearing.state, MicReading::State::Listening);
    EXPECT_GT(hearing.levelDb, -30.0) << "the level of the note just heard";

    // Pulled out: the stream stops. The component says so once, and the window can show it.
    device.running = false;
    ASSERT_TRUE(WaitFor([&] {
        posted = collector.Take();
        return !posted.empty();
    }));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, kMicEventMessage);
    EXPECT_EQ(posted[0].wParam, kMicStreamLost);
    EXPECT_EQ(posted[0].generation, generation);
    EXPECT_EQ(mic.Reading().state, MicReading::State::Lost);
    mic.MicHandleMessage(kMicStreamLost);
    EXPECT_FALSE(mic.Open());
    EXPECT_EQ(mic.Reading().state, MicReading::State::Lost);

    // Plugged in again: switching on reopens it and detection goes on.
    ASSERT_EQ(mic.MicOpen(), 1);
    EXPECT_EQ(device.starts, 2);
    mic.MicStartTone();
    EXPECT_EQ(mic.Reading().state, MicReading::State::Listening);
    for (std::size_t i = 0; i < tone.size(); i += 256) {
        device.deliver(tone.data() + i, std::min<std::size_t>(256, tone.size() - i), device.user);
        mic.Drain();
    }
    posted = collector.Take();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 69u);
    mic.MicClose();
    EXPECT_FALSE(device.running);
}
