// The sequencer's timeline and its playback on a virtual clock: tempo, sync delay, clearing and
// the metronome.
#include "SoundRig.h"

#include "app/Clock.h"
#include "sound/MidiMessage.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::sound;
using kalvintor::sound::testing::SoundRig;

namespace {

const settings::TSoundRec kClick{9, 0, 110, 37};
const settings::TSoundRec kFirstBeat{9, 0, 125, 56};

std::vector<double> OnsetTimes(const std::vector<SentMessage>& sent, int key) {
    std::vector<double> times;
    for (const SentMessage& m : sent) {
        if (IsNoteOn(m.message) && Data1Of(m.message) == key) times.push_back(m.timeMs);
    }
    return times;
}

}  // namespace

TEST(SequencerTimeline, TicksBecomeMillisecondsAtTheTempoAndNotificationsShiftBySyncDelay) {
    struct Case {
        std::int32_t tempo;
        std::uint16_t syncDelay;
    };
    for (const Case c : {Case{90, 0}, Case{60, 120}, Case{150, 600}, Case{250, 35}}) {
        SoundRig rig;
        rig.Create();
        rig.sequencer.SeqSetTempo(c.tempo);
        rig.sequencer.SeqSetSyncDelay(c.syncDelay);
        const std::vector<QueuedNote> melody = {{60, 3, 2}, {62, 4, 2}, {64, 2, 2}};
        rig.midiOut->QueueNotes(melody, 3, NoteMode::Melody, false);
        rig.midiOut->QueueNotify(52);
        rig.midiOut->QueueSound(672, 0, 0, 0, kClick, false);
        rig.midiOut->SetNotifyContext({false, 1});
        rig.midiOut->QueueNotify(52);
        rig.Port().Advance(1000);  // playback starts later than the clock's zero
        rig.midiOut->Play();
        rig.Port().Advance(20000);

        const double tick = 90.0 / c.tempo;
        const std::vector<double> expectedOnsets = {1000, 1000 + 672 * tick, 1000 + 1008 * tick};
        const auto onsets = OnsetTimes(rig.Port().Sent(), 60);
        ASSERT_EQ(onsets.size(), 1u);
        EXPECT_DOUBLE_EQ(onsets[0], expectedOnsets[0]);
        EXPECT_DOUBLE_EQ(OnsetTimes(rig.Port().Sent(), 62)[0], expectedOnsets[1]);
        EXPECT_DOUBLE_EQ(OnsetTimes(rig.Port().Sent(), 64)[0], expectedOnsets[2]);
        EXPECT_DOUBLE_EQ(OnsetTimes(rig.Port().Sent(), 37)[0], 1000) << "both tracks start together";

        // The first 52 was queued while no pitch exercise was current: only the second arrives,
        // at the end of the melody plus the sync delay.
        ASSERT_EQ(rig.notifications.received.size(), 1u);
        EXPECT_EQ(rig.notifications.received[0].code, 52);
        EXPECT_EQ(rig.notifications.received[0].window, 1);
        const Timeline timeline = rig.sequencer.BuildCurrentTimeline();
        EXPECT_DOUBLE_EQ(timeline.endMs, 2352 * tick);
        EXPECT_DOUBLE_EQ(timeline.events.back().timeMs, 2352 * tick + c.syncDelay);
    }
}

TEST(SequencerTimeline, TempoAndSyncDelayAreKeptInRange) {
    TSequencer sequencer;
    sequencer.SeqSetTempo(5);
    EXPECT_EQ(sequencer.Tempo(), 20);
    sequencer.SeqSetTempo(1000);
    EXPECT_EQ(sequencer.Tempo(), 250);
    sequencer.SeqSetSyncDelay(5000);
    EXPECT_EQ(sequencer.SyncDelay(), 600);
    sequencer.SeqAddEvent(3, 1, SeqEventKind::Delay);  // no such track
    EXPECT_TRUE(sequencer.Queued().empty());
    sequencer.SeqStart();  // no output: nothing happens
}

TEST(SequencerPlayback, NothingOfAClearedPlaybackArrivesAfterStop) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->QueueSound(672, 0, 0, 105, kClick, false);
    rig.midiOut->QueueSound(672, 0, 0, 106, kClick, false);
    rig.midiOut->Play();
    const std::uint64_t generation = rig.sequencer.Generation();
    rig.Port().Advance(700);
    ASSERT_EQ(rig.notifications.received.size(), 1u);
    EXPECT_TRUE(rig.sequencer.IsCurrent(rig.notifications.received[0].generation));

    rig.midiOut->Stop();
    EXPECT_FALSE(rig.sequencer.IsCurrent(generation)) << "one already posted is dropped on arrival";
    const std::size_t sent = rig.Port().Sent().size();
    rig.Port().Advance(5000);
    EXPECT_EQ(rig.notifications.received.size(), 1u);
    EXPECT_EQ(rig.Port().Sent().size(), sent);
}

TEST(SequencerPlayback, PlayingAgainContinuesThePlaybackWithWhatWasQueuedSince) {
    SoundRig rig;
    rig.Create();
    // A bar of two clicks (672 ms each at tempo 90) with a notice at its end (codes 105.. reach the
    // main window as 5..).
    const auto queueBar = [&rig](std::uint16_t code) {
        rig.midiOut->QueueSound(672, 0, 0, 0, kClick, false);
        rig.midiOut->QueueSound(672, 0, 0, code, kClick, false);
    };
    queueBar(105);
    rig.midiOut->Play();
    const std::uint64_t generation = rig.sequencer.Generation();

    // While the first bar sounds the next two are queued, each with its own Play, as a caller
    // that queues bar after bar in one go does: each bar follows directly and sounds once.
    rig.Port().Advance(1000);
    queueBar(106);
    rig.midiOut->Play();
    queueBar(107);
    rig.midiOut->Play();
    rig.Port().Advance(5000);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37), (std::vector<double>{0, 672, 1344, 2016, 2688, 3360}));
    std::vector<std::uint16_t> codes;
    for (const Notification& n : rig.notifications.received) {
        codes.push_back(n.code);
        EXPECT_TRUE(rig.sequencer.IsCurrent(n.generation)) << "the playback keeps its generation";
    }
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{5, 6, 7}));
    EXPECT_EQ(rig.sequencer.Generation(), generation);
    EXPECT_EQ(rig.Port().Starts().size(), 1u);

    // A bar queued after the playback ran dry (a late notice) sounds at once, its spacing kept.
    queueBar(108);
    rig.midiOut->Play();
    rig.Port().Advance(7000);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37).back(), 5000 + 672);
    EXPECT_EQ(rig.notifications.received.back().code, 8);

    // After Stop, Play starts the new tracks from their beginning in a new generation.
    rig.midiOut->Stop();
    queueBar(109);
    rig.midiOut->Play();
    EXPECT_NE(rig.sequencer.Generation(), generation);
    rig.Port().Advance(9000);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37).back(), 7000 + 672);
    EXPECT_EQ(rig.Port().Starts().size(), 2u);
}

TEST(Metronome, ClicksEveryBeatAtTheTempoAndFollowsTempoChanges) {
    SoundRig rig;
    rig.Create();
    rig.sequencer.SeqSetMetronomeSound(kClick, kFirstBeat);
    rig.sequencer.SeqSetTempo(120);  // a beat lasts 504 ms
    rig.sequencer.SeqSetMetronome(true);
    rig.Port().Advance(1600);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37), (std::vector<double>{0, 504, 1008, 1512}));
    rig.sequencer.SeqSetTempo(60);  // from the next beat on, 1008 ms apart
    rig.Port().Advance(4100);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37), (std::vector<double>{0, 504, 1008, 1512, 2016, 3024, 4032}));
    rig.sequencer.SeqSetMetronome(false);
    const std::size_t sent = rig.Port().Sent().size();
    rig.Port().Advance(9000);
    EXPECT_LE(rig.Port().Sent().size(), sent + 1) << "at most the last click's note-off follows";
}

TEST(Metronome, FallsInStepWithPlaybackAndNeverDoublesQueuedClicks) {
    SoundRig rig;
    rig.Create();
    rig.sequencer.SeqSetMetronomeSound(kClick, kFirstBeat);
    rig.sequencer.SeqSetMetronome(true);  // tempo 90: a beat lasts 672 ms
    rig.Port().Advance(1000);             // clicks at 0 and 672
    // A count-in of two queued clicks (other key), then a rhythm on track 1 for two more beats.
    const settings::TSoundRec countIn{9, 0, 110, 42};
    rig.midiOut->QueueSound(672, 0, 0, 0, countIn, false);
    rig.midiOut->QueueSound(672, 0, 0, 0, countIn, false);
    rig.sequencer.SeqAddEvent(1, 1344, SeqEventKind::Delay);
    rig.midiOut->QueueNotes(std::vector<QueuedNote>{{72, 3, 2}, {72, 3, 2}}, 2, NoteMode::Melody, false);
    rig.midiOut->Play();
    rig.Port().Advance(4000);
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 42), (std::vector<double>{1000, 1672}));
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 72), (std::vector<double>{2344, 3016}));
    // The metronome is silent over the count-in and clicks with the rhythm's beats after it.
    EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 37), (std::vector<double>{0, 672, 2344, 3016, 3688}));
}

TEST(Metronome, ClicksOnTheBeatsAPlaybackMarksAccentingEachBar) {
    // Two bars of 3/4 in eighths (336 ticks a beat) marked with beat notices: the first silent, the
    // second with clicks of the caller's own. At tempo 90 a beat lasts 336 ms.
    for (bool metronomeOn : {true, false}) {
        SoundRig rig;
        rig.Create();
        rig.sequencer.SeqSetMetronomeSound(kClick, kFirstBeat);
        rig.sequencer.SeqSetMetronome(metronomeOn);
        const settings::TSoundRec own{9, 0, 100, 75};
        for (bool audible : {false, true}) {
            for (std::uint16_t beat = 1; beat <= 3; ++beat) {
                rig.midiOut->QueueSound(336, 0, static_cast<std::uint16_t>(3 * 256 + beat), 0, own, !audible);
            }
        }
        rig.Port().Advance(100);
        rig.midiOut->Play();
        rig.Port().Advance(100 + 2016 + 1000);
        const std::vector<double> first = OnsetTimes(rig.Port().Sent(), 56);
        const std::vector<double> others = OnsetTimes(rig.Port().Sent(), 37);
        EXPECT_EQ(OnsetTimes(rig.Port().Sent(), 75), (std::vector<double>{1108, 1444, 1780}));
        if (!metronomeOn) {
            EXPECT_TRUE(first.empty());
            EXPECT_TRUE(others.empty());
            continue;
        }
        EXPECT_EQ(first, (std::vector<double>{100})) << "the silent bar's first beat, accented";
        // The silent bar's other beats; none over the caller's clicks; then the grid of quarter
        // notes (672 ms) resumes in step with the start, after the last marked beat.
        ASSERT_GE(others.size(), 3u);
        EXPECT_EQ(std::vector<double>(others.begin(), others.begin() + 3),
                  (std::vector<double>{0, 436, 772}));
        EXPECT_EQ(others[3], 100 + 4 * 672.0);
    }
}

TEST(SequencerPlayback, TellsWhatItSoundsOnceWithTheClockOfItsStart) {
    struct Told {
        std::vector<ProgramSound> sounds;
        std::vector<double> starts;
    };
    struct Sink final : ProgramSoundSink {
        Told told;
        void Sounding(const std::vector<ProgramSound>& sounds, double startClockMs) override {
            told.sounds.insert(told.sounds.end(), sounds.begin(), sounds.end());
            told.starts.push_back(startClockMs);
        }
    } sink;
    std::int64_t now = 50000;
    app::SetMillisecondClock([&now] { return now; });
    SoundRig rig;
    rig.Create();
    rig.sequencer.SetProgramSoundSink(&sink);
    rig.sequencer.SeqSetMetronomeSound(kClick, kFirstBeat);
    // At tempo 90 a quarter (672 ticks) lasts 672 ms: a note of the question, then a click.
    const settings::TSoundRec piano{0, 0, 100, 64};
    rig.midiOut->QueueSound(672, 0, 0, 0, piano, false);
    rig.midiOut->QueueSound(672, 0, 0, 0, kClick, false);
    rig.midiOut->Play();
    ASSERT_EQ(sink.told.sounds.size(), 2u);
    EXPECT_EQ(sink.told.sounds[0].kind, ProgramSound::Kind::Note);
    EXPECT_EQ(sink.told.sounds[0].note, 64);
    EXPECT_EQ(sink.told.sounds[0].fromMs, 0.0);
    EXPECT_GT(sink.told.sounds[0].toMs, 0.0);
    EXPECT_LE(sink.told.sounds[0].toMs, 672.0);
    EXPECT_EQ(sink.told.sounds[1], (ProgramSound{ProgramSound::Kind::Click, 37, 672, 672}));
    EXPECT_EQ(sink.told.starts, (std::vector<double>{50000}));

    // Grown while it plays: only what was queued since is told, on the same start.
    now += 300;
    rig.midiOut->QueueSound(672, 0, 0, 0, piano, false);
    rig.midiOut->Play();
    ASSERT_EQ(sink.told.sounds.size(), 3u);
    EXPECT_EQ(sink.told.sounds[2].fromMs, 1344.0);
    EXPECT_EQ(sink.told.starts.back(), 50000.0);

    // A new playback after Stop counts from its own start.
    rig.midiOut->Stop();
    now += 5000;
    rig.midiOut->QueueSound(672, 0, 0, 0, piano, false);
    rig.midiOut->Play();
    ASSERT_EQ(sink.told.sounds.size(), 4u);
    EXPECT_EQ(sink.told.sounds[3].fromMs, 0.0);
    EXPECT_EQ(sink.told.starts.back(), 55300.0);
    app::SetMillisecondClock(nullptr);
}
