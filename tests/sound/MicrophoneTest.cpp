// The microphone component's threads: fed samples come back as posted messages of the current
// detection only, and a machine without a microphone fails to open cleanly.
#include "Signals.h"

#include "sound/Microphone.h"
#include "sound/SoundEvents.h"

#include <gtest/gtest.h>

#include <mutex>

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

TEST(Microphone, UnacknowledgedNotesAreNotPiledUp) {
    Collector collector;
    Microphone mic(collector.Post());
    mic.MicStartTone();
    // Twenty different notes, none acknowledged.
    for (int note = 50; note < 70; ++note) FeedInChunks(mic, sig::Tone(sig::Voice::Sine, note, 100, 200), 0);
    EXPECT_EQ(collector.Take().size(), static_cast<std::size_t>(kMaxUnacknowledgedNotes));
    for (int i = 0; i < kMaxUnacknowledgedNotes; ++i) mic.MicAcknowledge();
    FeedInChunks(mic, sig::Tone(sig::Voice::Sine, 72, 100, 200), 0);
    EXPECT_EQ(collector.Take().size(), 1u);
}

TEST(Microphone, WithoutAMicrophoneOpenFailsCleanly) {
    Collector collector;
    Microphone mic(collector.Post());
    // This machine has no sound card: no capture device. Where one exists, opening succeeds.
    const int opened = mic.MicOpen();
    EXPECT_EQ(opened > 0, mic.Open());
    mic.MicStartTone();
    mic.MicStop();
    mic.MicClose();
    EXPECT_FALSE(mic.Open());
    EXPECT_EQ(mic.MicOpen() > 0, opened > 0) << "opening again after closing behaves the same";
}
