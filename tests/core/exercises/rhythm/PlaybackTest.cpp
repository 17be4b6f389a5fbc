// What the engine queues on the sequencer: click bars with their beat notices and codes, the
// rhythm with accents, tied chains and rests, and recorded taps played back.
#include "RhythmTestSupport.h"
#include "exercises/rhythm/Rytme.h"
#include "language/Language.h"
#include "settings/SettingRecord.h"
#include "sound/MidiMessage.h"
#include "sound/RecordingMidi.h"
#include "sound/TMidiOut.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;
using sound::QueuedEvent;
using sound::SeqEventKind;

namespace {

constexpr std::uint16_t kMain = sound::kWindowMain;
constexpr std::uint16_t kImitation = sound::kWindowRhythmImitation;
// Default sounds: rhythm key 39 velocity 110, click key 37 velocity 110, first beat key 56 velocity 125,
// all on channel 9.
constexpr std::uint8_t kDrums = 9;

QueuedEvent on(std::uint8_t track, std::int64_t tick, std::uint8_t key, std::uint8_t velocity) {
    return {track, tick, SeqEventKind::Message, sound::NoteOnMessage(kDrums, key, velocity), 0, 0};
}
QueuedEvent off(std::uint8_t track, std::int64_t tick, std::uint8_t key) {
    return {track, tick, SeqEventKind::Message, sound::NoteOffMessage(kDrums, key), 0, 0};
}
QueuedEvent notify(std::uint8_t track, std::int64_t tick, std::uint16_t code, std::uint16_t window) {
    return {track, tick, SeqEventKind::Notify, 0, code, window};
}

class Playback : public ::testing::Test {
protected:
    Playback()
        : midiOut(system, sequencer, settings, language, [](const std::string&) {}),
          engine(TRytme::Services{&midiOut, &settings, &language, {}}) {
        std::string name;
        midiOut.SelectDeviceByName(name);
        engine.Setup(makeSetup({{4}, {3, 4}}));
        engine.SetMeter(4);
    }

    std::vector<QueuedEvent> track(std::uint8_t t) const {
        std::vector<QueuedEvent> out;
        for (const auto& e : sequencer.Queued())
            if (e.track == t) out.push_back(e);
        return out;
    }
    std::vector<std::uint16_t> codesFor(std::uint16_t window) const {
        std::vector<std::uint16_t> codes;
        for (const auto& e : sequencer.Queued())
            if (e.kind == SeqEventKind::Notify && e.window == window) codes.push_back(e.code);
        return codes;
    }

    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    sound::RecordingMidiSystem system;
    sound::TSequencer sequencer;
    sound::TMidiOut midiOut;
    TRytme engine;
};

}  // namespace

TEST_F(Playback, AMetronomeBarClicksEveryBeatWithItsNoticeAndCodes) {
    engine.PlayMetronomeBar(false, 17, 19, true, true);
    const std::vector<QueuedEvent> expected{
        notify(2, 0, 4 * 256 + 1, kMain),
        on(2, 0, 56, 125),
        off(2, 672, 56),
        notify(2, 672, 4 * 256 + 2, kMain),
        on(2, 672, 37, 90),
        off(2, 1344, 37),
        notify(2, 1344, 4 * 256 + 3, kMain),
        on(2, 1344, 37, 90),
        off(2, 2016, 37),
        notify(2, 2016, 19, kImitation),
        notify(2, 2016, 4 * 257, kMain),
        on(2, 2016, 37, 90),
        off(2, 2688, 37),
        notify(2, 2688, 17, kImitation),
    };
    EXPECT_EQ(track(2), expected);
    EXPECT_EQ(sound::TrackLengthTicks(sequencer.Track(1)), 2688) << "track 1 waits one bar";
    EXPECT_EQ(system.Output()->Starts().size(), 1u) << "the bar is started";
}

TEST_F(Playback, InTwoFourThePenultimateCodeFollowsTheFirstBeat) {
    engine.SetMeter(2);
    engine.PlayMetronomeBar(true, 17, 19, false, false);
    EXPECT_EQ(codesFor(kImitation), (std::vector<std::uint16_t>{19, 17}));
    EXPECT_EQ(codesFor(kMain), (std::vector<std::uint16_t>{2 * 256 + 1, 2 * 257}));
    for (const auto& e : track(2)) EXPECT_EQ(e.kind, SeqEventKind::Notify) << "a silent bar only waits";
    EXPECT_EQ(sound::TrackLengthTicks(sequencer.Track(2)), 1344);
    EXPECT_FALSE(engine.voice(0).empty()) << "the next rhythm is made while the bar plays";
}

TEST_F(Playback, ClickBarsEndWithTheirOwnCode) {
    RhythmSetup s = makeSetup({{4}, {3}});
    s.bars = 2;
    engine.Setup(s);
    engine.PlayMetronomeBars(10, -1);
    EXPECT_EQ(codesFor(kImitation), (std::vector<std::uint16_t>{16, 16, 18}));
    EXPECT_EQ(sound::TrackLengthTicks(sequencer.Track(1)), 2 * 2688);
}

TEST_F(Playback, TheRhythmSoundsWithAccentsTiedChainsAndRests) {
    // quarter, eighth rest, eighth, quarter tied to quarter: after a count-in bar.
    engine.voice(0) = Voice{note(3), rest(4), note(4), tied(note(3)), note(3, true)};
    engine.PlayRhythm(10, 0, true);
    const std::vector<QueuedEvent> expected{
        on(1, 2688, 39, 110), off(1, 3360, 39),  // bar start: full velocity
        on(1, 3696, 39, 90),  off(1, 4032, 39),  // off the beat: two steps down
        on(1, 4032, 39, 100), off(1, 5376, 39),  // on the beat, sounding as a half
    };
    EXPECT_EQ(track(1), expected);
    EXPECT_EQ(codesFor(kImitation), (std::vector<std::uint16_t>{11, 12}));
    bool clicksInRhythmBar = false;
    for (const auto& e : track(2))
        if (sound::IsNoteOn(e.message) && e.tick >= 2688) clicksInRhythmBar = true;
    EXPECT_FALSE(clicksInRhythmBar) << "without \"Rhythm with metronome\" the rhythm bars are silent";

    sequencer.SeqClear();
    settings.rhythmWithMetronome = true;
    engine.PlayRhythm(10, 0, false);
    EXPECT_EQ(track(2)[1], on(2, 0, 56, 125)) << "with the option the rhythm bars click";
}

TEST_F(Playback, ATripletsFirstNoteIsAccentedLikeABeat) {
    engine.voice(0) = join({{note(4), note(4)}, triplet(4), {note(2, true)}});
    engine.PlayRhythm(30, 0, false);
    const auto t1 = track(1);
    ASSERT_EQ(t1.size(), 12u);
    EXPECT_EQ(t1[2], on(1, 336, 39, 90));
    EXPECT_EQ(t1[4], on(1, 672, 39, 100)) << "the first note of the triplet";
    EXPECT_EQ(t1[6], on(1, 896, 39, 90));
}

TEST_F(Playback, RecordedTapsPlayBackAfterACountIn) {
    engine.voice(0) = Voice{note(3), note(3), note(2, true)};
    engine.StartTaps();
    const auto zero = engine.TapZero();
    for (std::int64_t t : {0, 672, 1344}) engine.AddTap(zero + t + 1);
    const std::vector<QueuedEvent> expected{
        on(1, 2689, 39, 110), off(1, 3361, 39),     on(1, 3361, 39, 110),
        off(1, 4033, 39),     on(1, 4033, 39, 110), off(1, 5376, 39),
    };
    std::string message;
    engine.Evaluate(90, message);
    engine.PlayTaps(20);
    EXPECT_EQ(track(1), expected);
    EXPECT_EQ(codesFor(sound::kWindowRhythmReading), (std::vector<std::uint16_t>{21, 22}));

    // Playing them back again, or before judging, queues the same and judges nothing.
    for (auto& n : engine.voice(0)) n.mark = Mark::Unmatched;
    sequencer.SeqClear();
    engine.PlayTaps(20);
    EXPECT_EQ(track(1), expected);
    EXPECT_EQ(engine.voice(0)[0].mark, Mark::Unmatched);
}

TEST_F(Playback, RecordedTapsKeepTheirTimesAtATempoWhereATickIsNotAMillisecond) {
    // At tempo 70 a tick lasts 9/7 ms: seventeen taps 200 ms apart fill the bar. Each played tap
    // sounds within a tick of where it was tapped, however many taps come before it.
    engine.SetTempo(70);
    engine.voice(0) = Voice{note(1, true)};
    engine.StartTaps();
    const auto zero = engine.TapZero();
    constexpr int kTaps = 17;
    for (int k = 0; k < kTaps; ++k) engine.AddTap(zero + 200 * k);
    engine.PlayTaps(20);
    std::vector<std::int64_t> onsets;
    for (const auto& e : track(1))
        if (e == on(1, e.tick, 39, 110)) onsets.push_back(e.tick);
    ASSERT_EQ(onsets.size(), static_cast<std::size_t>(kTaps));
    for (int k = 0; k < kTaps; ++k) {
        const double tapped = 2688 + 200.0 * k * 70 / 90;  // after the count-in bar
        EXPECT_NEAR(static_cast<double>(onsets[static_cast<std::size_t>(k)]), tapped, 1.0) << "tap " << k;
    }
}

TEST_F(Playback, WithoutTapsOrDeviceNothingIsQueued) {
    engine.voice(0) = Voice{note(1, true)};
    engine.PlayTaps(10);
    EXPECT_TRUE(sequencer.Queued().empty());
    midiOut.Close();
    engine.PlayRhythm(10, 0, true);
    EXPECT_TRUE(sequencer.Queued().empty());
}
