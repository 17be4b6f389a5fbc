// Judging taps: matching, the dead zone, missed and extra taps, the whole-bar rest and messages.
#include "RhythmTestSupport.h"
#include "app/Clock.h"
#include "exercises/rhythm/Evaluate.h"
#include "exercises/rhythm/Rytme.h"
#include "sound/Ticks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;

namespace {

constexpr std::int64_t kZero = 100000;  // tap time zero on the millisecond clock

const Voice kFourQuarters{note(3), note(3), note(3), note(3, true)};

// Taps at the given offsets (ms since the first note) after time zero, at tempo 90 (1 tick = 1 ms).
Evaluation judge(Voice& v, std::vector<std::int64_t> offsets, Strictness strictness = Strictness::Normal,
                 bool startsWithBarRest = false, int pass = 90) {
    for (auto& o : offsets) o += kZero;
    return EvaluateTaps(v, TapTimes{&offsets, kZero, 90}, strictness, startsWithBarRest, 2688, pass);
}

std::vector<Mark> marksOf(const Voice& v) {
    std::vector<Mark> m;
    for (const auto& n : v) m.push_back(n.mark);
    return m;
}

}  // namespace

TEST(Evaluate, QuartersTappedOnTimeScoreAHundred) {
    Voice v = kFourQuarters;
    const auto e = judge(v, {0, 672, 1344, 2016});
    EXPECT_EQ(e.score, 100);
    EXPECT_EQ(e.message, EvaluationMessage::Perfect);
    EXPECT_EQ(marksOf(v), std::vector<Mark>(4, Mark::Exact));
    EXPECT_EQ(e.extraTaps, 0);
}

TEST(Evaluate, TapsOnThePlayedNotesAreExactAtTemposWhereATickIsNotAMillisecond) {
    // Four bars of quarters, dotted quarters, eighths and eighth triplets: their onsets fall on
    // fractions of a millisecond, and a rounding that added up from note to note would drift
    // beyond the severe dead zone (12 ms) long before the end.
    const Voice bar = join({{note(3), dotted(3), note(4)}, triplet(4), {note(4), note(4, true)}});
    const Voice rhythm = join({bar, bar, bar, bar});
    for (const int tempo : {70, 120, 250}) {
        SCOPED_TRACE("tempo " + std::to_string(tempo));
        Voice v = rhythm;
        std::vector<std::int64_t> taps;
        std::int64_t ticks = 0;
        for (const auto& n : v) {
            // Tapped right on each note as it sounds, read off the millisecond clock.
            taps.push_back(kZero + std::llround(kalvintor::sound::TicksToMs(ticks, tempo)));
            ticks += n.duration;
        }
        const auto e = EvaluateTaps(v, TapTimes{&taps, kZero, tempo}, Strictness::Severe, false, 2688, 90);
        EXPECT_EQ(e.score, 100);
        EXPECT_EQ(marksOf(v), std::vector<Mark>(v.size(), Mark::Exact));
        EXPECT_EQ(e.extraTaps, 0);
    }
}

TEST(Evaluate, DeadZoneAndWindowByStrictness) {
    // One whole note: every point lost is the tap's alone. Normal: W 330, dead zone 41.
    struct Case {
        Strictness strictness;
        std::int64_t offset;  // tap minus the note: negative = early
        int score;
        Mark mark;
    };
    const Case cases[] = {
        {Strictness::Normal, 40, 100, Mark::Exact},
        {Strictness::Normal, -40, 100, Mark::Exact},
        {Strictness::Normal, 42, 99, Mark::Late},  // (42 - 41) * 10000 / 330 = 30
        {Strictness::Normal, -42, 99, Mark::Early},
        {Strictness::Normal, 371, 0, Mark::Late},    // W + W/8: penalty exactly W
        {Strictness::Normal, 372, 0, Mark::Missed},  // beyond W + W/8
        {Strictness::Kind, 124, 100, Mark::Exact},   // dead zone 125
        {Strictness::Kind, 225, 90, Mark::Late},     // (225 - 125) * 10000 / 1000 = 1000
        {Strictness::Severe, 11, 100, Mark::Exact},  // dead zone 12
        {Strictness::Severe, 62, 50, Mark::Late},    // (62 - 12) * 10000 / 100 = 5000
    };
    for (const auto& c : cases) {
        Voice v{note(1, true)};
        const auto e = judge(v, {c.offset}, c.strictness);
        EXPECT_EQ(e.score, c.score) << "offset " << c.offset;
        EXPECT_EQ(v[0].mark, c.mark) << "offset " << c.offset;
    }
    Voice v{note(1, true)};
    EXPECT_EQ(judge(v, {372}).missed, 1);
}

TEST(Evaluate, AnEarlierTapBeforeACloserOneIsAnExtraTap) {
    // Two taps before the second note, the second closer: 5000 / 4 notes = 1250 of 10000.
    Voice v = kFourQuarters;
    const auto e = judge(v, {0, 572, 662, 1344, 2016});
    EXPECT_EQ(e.extraTaps, 1);
    EXPECT_EQ(v[1].mark, Mark::Exact) << "the second tap is judged against the note";
    EXPECT_EQ(e.score, 87);
}

TEST(Evaluate, UntappedNotesAreMissedAndRestsAndTiedNotesAreNotJudged) {
    Voice v{note(3), rest(3), tied(note(3)), note(3, true)};
    const auto e = judge(v, {0, 1344});
    EXPECT_EQ(marksOf(v), (std::vector<Mark>{Mark::Exact, Mark::NotJudged, Mark::Exact, Mark::NotJudged}));
    EXPECT_EQ(e.score, 100);
    EXPECT_EQ(e.judged, 2);

    Voice w = kFourQuarters;
    const auto missedTwo = judge(w, {0, 672});
    EXPECT_EQ(missedTwo.missed, 2);
    EXPECT_EQ(missedTwo.score, 50);
    EXPECT_EQ(missedTwo.message, EvaluationMessage::SomeHit);
    EXPECT_EQ(EvaluationText(missedTwo, nullptr), "You hit 2 of 4 notes.");
}

TEST(Evaluate, AWholeBarRestMovesTimeZeroBackOneBar) {
    // The student stays silent through the rest bar; time zero was set at the second bar.
    Voice v{rest(1, true), note(3), note(3), note(3), note(3, true)};
    const auto e = judge(v, {0, 672, 1344, 2016}, Strictness::Normal, true);
    EXPECT_EQ(e.score, 100);
    EXPECT_EQ(e.relativeTaps.front(), 2688);
}

TEST(Evaluate, WithoutTapsEveryNoteIsMissed) {
    Voice v = kFourQuarters;
    const auto e = judge(v, {});
    EXPECT_EQ(e.score, 0);
    EXPECT_EQ(marksOf(v), std::vector<Mark>(4, Mark::Missed));
    EXPECT_EQ(EvaluationText(e, nullptr), "");
}

TEST(Evaluate, MessageByScoreAndMissedNotes) {
    struct Case {
        std::vector<std::int64_t> taps;
        int pass;
        EvaluationMessage message;
    };
    // Twenty eighths: one note is five percent.
    Voice base(20, note(4));
    const Case cases[] = {
        {{}, 90, EvaluationMessage::None},
        {{20000}, 90, EvaluationMessage::AllMissed},  // matched to the last note, far beyond the window
        {{0,    336,  672,  1008, 1344, 1680, 2016, 2352, 2688, 3024,
          3360, 3696, 4032, 4368, 4704, 5040, 5376, 5712, 6048, 6384 + 60},
         90,
         EvaluationMessage::Passed},  // one tap 19 ms beyond the dead zone
        {{0,    336,  672,  1008, 1344, 1680,       2016,       2352,       2688,       3024,
          3360, 3696, 4032, 4368, 4704, 5040 + 150, 5376 + 150, 5712 + 150, 6048 + 150, 6384},
         90,
         EvaluationMessage::MostlyHit},  // none missed, four late: 93
        {{0, 336, 672, 1008, 1344, 1680, 2016, 2352, 2688, 3024}, 90, EvaluationMessage::SomeHit},
    };
    for (const auto& c : cases) {
        Voice v = base;
        const auto e = judge(v, c.taps, Strictness::Normal, false, c.pass);
        EXPECT_EQ(e.message, c.message) << "score " << e.score;
    }
}

TEST(Taps, AtMost385AreKeptAndTimeZeroMeansNow) {
    std::int64_t now = 5000;
    kalvintor::app::SetMillisecondClock([&] { return now; });
    TRytme r;
    r.Setup(makeSetup({}));
    r.StartTaps();
    EXPECT_EQ(r.TapZero(), 5000);
    EXPECT_FALSE(r.Tapped());
    now = 5123;
    r.AddTap();
    r.AddTap(7000);
    EXPECT_TRUE(r.Tapped());
    EXPECT_EQ(r.Taps(), (std::vector<std::int64_t>{5123, 7000}));
    for (int i = 0; i < 400; ++i) r.AddTap(8000 + i);
    EXPECT_EQ(r.TapCount(), kMaxTaps);
    kalvintor::app::SetMillisecondClock(nullptr);
}

TEST(Taps, EvaluateUsesTheTempoInForceWhenTappingBegan) {
    std::int64_t now = 0;
    kalvintor::app::SetMillisecondClock([&] { return now; });
    TRytme r;
    RhythmSetup s = makeSetup({{4}, {3}});
    s.tempo = 180;  // a quarter lasts 336 ms
    r.Setup(s);
    r.voice(0) = kFourQuarters;
    r.StartTaps();
    r.SetTempo(60);  // changed after tapping began: no effect on judging
    for (int i = 0; i < 4; ++i) r.AddTap(336 * i + 1);
    std::string message;
    EXPECT_EQ(r.Evaluate(90, message), 100);
    EXPECT_EQ(message, "Perfect! Every note was right on time.");
    EXPECT_EQ(r.Evaluate(90, message), 100) << "judging twice gives the same result";
    kalvintor::app::SetMillisecondClock(nullptr);
}
