// Random rhythms over many seeds: every bar adds up and every placement rule holds.
#include "RhythmTestSupport.h"
#include "app/Random.h"
#include "exercises/rhythm/Rytme.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;
using kalvintor::app::SeedRandom;
using kalvintor::app::SetRandomizeClock;

namespace {

struct Mix {
    const char* name;
    std::initializer_list<int> values;
    std::uint8_t triplets;
    bool alwaysCompletes;  // an eighth or shorter is always placeable
};

const Mix kMixes[] = {
    {"half and quarter", {2, 3}, 0, false},
    {"quarter and eighth", {3, 4}, 0, true},
    {"eighth and sixteenth", {4, 5}, 0, true},
    {"every value", {1, 2, 3, 4, 5, 6}, 0, true},
    {"quarters, eighths and their triplets", {3, 4}, tripletBit(3) | tripletBit(4), true},
    {"short values and sixteenth triplets", {5, 6}, tripletBit(5), true},
    {"long values and eighth triplets", {1, 2}, tripletBit(4), false},
    {"every triplet", {4}, tripletBit(2) | tripletBit(3) | tripletBit(4) | tripletBit(5), true},
};

class SeededRandom : public ::testing::Test {
protected:
    void TearDown() override { SetRandomizeClock(nullptr); }
    static void seed(std::uint64_t s) {
        SeedRandom(s);
        SetRandomizeClock([s] { return s * 7919 + 1; });
    }
};

// Every rule a generated voice keeps, checked note by note.
void checkVoice(const TRytme& r, const RhythmSetup& setup, GenerateOutcome outcome,
                const std::string& where) {
    SCOPED_TRACE(where);
    const Voice& v = r.voice(0);
    const Meter& m = r.CurrentMeter();
    const int bar = m.barLength(), unit = m.unit(), group = m.groupLength();
    ASSERT_FALSE(v.empty());
    int smallest = r.SmallestFit();

    int p = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto& n = v[i];
        SCOPED_TRACE("note " + std::to_string(i));
        std::int32_t d = n.duration;
        const bool tripletStart =
            n.triplet() && !n.tripletMiddle && i + 1 < v.size() && v[i + 1].tripletMiddle;
        if (n.triplet()) {
            ASSERT_TRUE(tripletStart || n.tripletMiddle || (i >= 2 && v[i - 1].tripletMiddle));
            EXPECT_EQ(n.duration, NoteDurations[static_cast<std::size_t>(n.value)] * 2 / 3);
            EXPECT_FALSE(n.rest);
            EXPECT_FALSE(n.tied);
            if (!tripletStart) {
                p += n.duration;
                EXPECT_EQ(n.endsBar, p % bar == 0);
                continue;
            }
            d = n.duration * 3;
            EXPECT_TRUE(setup.tripletChosen(n.value));
            ASSERT_TRUE(v[i + 2].triplet() && !v[i + 2].tripletMiddle);
            EXPECT_TRUE(v[i + 2].onBeat) << "the third note of a triplet ends on a beat";
            if (i > 0) {
                EXPECT_TRUE(v[i - 1].onBeat) << "the note before a triplet ends on a beat";
            }
        } else {
            EXPECT_TRUE(setup.valueChosen(n.value));
            if (n.dotted()) {
                EXPECT_TRUE(setup.dotted);
                EXPECT_LE(n.value, kEighth);
                EXPECT_EQ(n.duration, NoteDurations[static_cast<std::size_t>(n.value)] * 3 / 2);
            } else {
                EXPECT_EQ(n.duration, NoteDurations[static_cast<std::size_t>(n.value)]);
            }
            int a = (p + d) % bar, beat = m.beatLength(0);
            if (m.groupCount == 2 && a > group) a -= group, beat = m.beatLength(1);
            EXPECT_EQ(n.onBeat,
                      a % beat == 0 || (i + 1 < v.size() && v[i + 1].triplet() && !v[i + 1].tripletMiddle));
        }
        // Eighth rule.
        if (n.value == kEighth && i > 0) {
            EXPECT_EQ(p % 168, 0) << "eighth at " << p;
        }
        // Fit rule.
        if (p % unit + d > unit) {
            EXPECT_TRUE(p % unit == 0 || (p + d) % unit == 0) << "at " << p << " lasting " << d;
            EXPECT_EQ((p + d - 1) / bar, p / bar) << "crosses a bar line at " << p;
            EXPECT_LE(valueDenominator(n.value), m.denominator);
        }
        // Fill rule.
        const int left = bar - (p + d) % bar;
        EXPECT_TRUE(left == bar || left % smallest == 0 || (setup.dotted && left % (smallest * 3 / 2) == 0))
            << left << " ticks left in the bar";
        if (n.rest) {
            EXPECT_TRUE(setup.rests);
            EXPECT_FALSE(n.tied);
            if (i > 0) {
                EXPECT_FALSE(v[i - 1].rest) << "two rests in a row";
            }
        }
        if (n.tied) {
            EXPECT_TRUE(setup.ties);
            EXPECT_GE(n.value, kHalf);
            EXPECT_EQ((p + d) % bar % group, 0) << "a tie starts at a group boundary";
            ASSERT_LT(i + 1, v.size()) << "the last note is tied";
            EXPECT_FALSE(v[i + 1].rest) << "tied into a rest";
            if (n.value <= kQuarter && v[i + 1].value <= kQuarter) {
                EXPECT_FALSE(v[i + 1].endsBar) << "long notes tied into a bar's last note";
                EXPECT_NE(i, 0u) << "long notes tied from the first note";
                if (i > 0) {
                    EXPECT_FALSE(v[i - 1].endsBar) << "long notes tied from a bar's first note";
                }
            }
        }
        p += d;
        if (n.triplet()) {
            EXPECT_EQ(v[i + 2].endsBar, p % bar == 0);
            EXPECT_FALSE(v[i].endsBar || v[i + 1].endsBar);
            i += 2;
        } else {
            EXPECT_EQ(n.endsBar, p % bar == 0);
        }
    }
    if (outcome == GenerateOutcome::Complete) {
        EXPECT_EQ(p, r.BarCount() * bar) << "the bars add up";
    }
    EXPECT_LE(p, r.BarCount() * bar);
    if (v.size() == 1) {
        EXPECT_FALSE(v[0].rest);
    }
    EXPECT_EQ(r.StartsWithBarRest(), v[0].rest && v[0].duration == bar);

    // Beams join two or more eighths or shorter within one beat group of one bar.
    std::map<int, std::vector<int>> groupStarts;
    p = 0;
    for (const auto& n : v) {
        if (n.beamGroup != 0) {
            EXPECT_GE(n.value, kEighth);
            EXPECT_FALSE(n.rest);
            groupStarts[n.beamGroup].push_back(p);
        }
        p += n.duration;
    }
    for (const auto& [g, starts] : groupStarts) {
        EXPECT_GE(starts.size(), 2u) << "beam group " << g;
        EXPECT_EQ(starts.front() / bar, starts.back() / bar) << "beam group " << g << " crosses a bar line";
    }
}

}  // namespace

TEST_F(SeededRandom, EveryMeterAndMixKeepsTheRules) {
    int generated = 0;
    for (int meter = 1; meter <= kMeterCount; ++meter) {
        for (const auto& mix : kMixes) {
            for (std::uint64_t s = 0; s < 24; ++s) {
                const bool dottedNotes = s & 1, rests = s & 2, ties = s & 4;
                const auto setup = makeSetup({{meter},
                                              mix.values,
                                              mix.triplets,
                                              dottedNotes,
                                              rests,
                                              ties,
                                              static_cast<int>(1 + s % 4)});
                TRytme r;
                r.Setup(setup);
                seed(s);
                const auto outcome = r.Generate();
                const std::string where = std::to_string(MeterTable[meter].numerator) + "/" +
                                          std::to_string(MeterTable[meter].denominator) + ", " + mix.name +
                                          ", seed " + std::to_string(s);
                ASSERT_NE(outcome, GenerateOutcome::NothingToChoose) << where;
                if (mix.alwaysCompletes && !dottedNotes) {
                    EXPECT_EQ(outcome, GenerateOutcome::Complete) << where;
                }
                if (r.voice(0).empty()) continue;
                checkVoice(r, setup, outcome, where);
                ++generated;
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
    EXPECT_GT(generated, 2000);
}

TEST_F(SeededRandom, MeterIsChosenAmongTheChosenOnes) {
    TRytme r;
    r.Setup(makeSetup({{2, 6, 9}, {3, 4}}));
    std::map<int, int> seen;
    for (std::uint64_t s = 0; s < 60; ++s) {
        seed(s);
        r.Generate();
        ++seen[r.MeterIndex()];
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen.count(2) && seen.count(6) && seen.count(9));
}

TEST_F(SeededRandom, QuartersInFourFourAreAllOnTheBeatAndUnbeamed) {
    TRytme r;
    r.Setup(makeSetup({{4}, {3}, 0, false, false, false, 3}));
    seed(5);
    ASSERT_EQ(r.Generate(), GenerateOutcome::Complete);
    ASSERT_EQ(r.voice(0).size(), 12u);
    for (const auto& n : r.voice(0)) {
        EXPECT_TRUE(n.onBeat);
        EXPECT_EQ(n.beamGroup, 0);
    }
}

TEST_F(SeededRandom, TripletsStartOnAGroupBoundaryExceptInTwoTwo) {
    // Sixteenths and sixteenth triplets: a triplet on the second sixteenth of a beat neither starts
    // nor ends on a group boundary; 4/4 (groups of a quarter) refuses it, 2/2 lets it start anywhere.
    std::map<int, int> offBoundary;
    for (int meter : {4, 1}) {
        for (std::uint64_t s = 0; s < 200; ++s) {
            TRytme r;
            r.Setup(makeSetup({{meter}, {5}, tripletBit(5), false, false, false, 2}));
            seed(s);
            r.Generate();
            int p = 0;
            const auto& v = r.voice(0);
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (v[i].triplet() && !v[i].tripletMiddle && i + 1 < v.size() && v[i + 1].tripletMiddle &&
                    p % r.GroupLength() != 0 && (p + 3 * v[i].duration) % r.GroupLength() != 0)
                    ++offBoundary[meter];
                p += v[i].duration;
            }
        }
    }
    EXPECT_EQ(offBoundary[4], 0);
    EXPECT_GT(offBoundary[1], 0);
}

TEST_F(SeededRandom, AStuckRhythmStopsAfterAThousandTriesAndSaysSo) {
    // Quarters cannot fill a bar of 3/8: nothing can be placed at all.
    std::vector<std::string> shown;
    TRytme r(TRytme::Services{nullptr, nullptr, nullptr, [&](const std::string& t) { shown.push_back(t); }});
    r.Setup(makeSetup({{5}, {3}}));
    seed(1);
    EXPECT_EQ(r.Generate(), GenerateOutcome::Incomplete);
    EXPECT_TRUE(r.voice(0).empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], kCannotGenerateEnglish);
}

TEST_F(SeededRandom, ASetupWithNothingToChooseMakesNothing) {
    RhythmSetup noMeter = makeSetup({});
    noMeter.meters = {};
    RhythmSetup noValue = makeSetup({});
    noValue.noteValues = {};
    for (const auto& setup : {noMeter, noValue}) {
        std::vector<std::string> shown;
        TRytme r(
            TRytme::Services{nullptr, nullptr, nullptr, [&](const std::string& t) { shown.push_back(t); }});
        r.Setup(setup);
        seed(3);
        EXPECT_EQ(r.Generate(), GenerateOutcome::NothingToChoose);
        EXPECT_TRUE(r.voice(0).empty());
        const bool noValues = setup.noteValues == std::array<std::uint8_t, 6>{};
        EXPECT_EQ(r.SmallestFit(), noValues ? 65535 : 672);
    }
}

TEST_F(SeededRandom, BytesOutOfRangeAreBroughtIntoRange) {
    RhythmSetup s = makeSetup({{4}, {3, 4}});
    s.tempo = 0;
    s.bars = 255;
    s.errors = 0;
    s.strictness = 7;
    s.triplets = 0xE1;  // only bits 1..4 name triplets
    TRytme r;
    r.Setup(s);
    EXPECT_EQ(r.Tempo(), 20);
    EXPECT_EQ(r.BarCount(), kMaxBars);
    EXPECT_EQ(r.ErrorsWanted(), 1);
    EXPECT_EQ(r.GetStrictness(), Strictness::Normal);
    EXPECT_EQ(r.Choices().size(), 2u);
    seed(2);
    EXPECT_EQ(r.Generate(), GenerateOutcome::Complete);
    s.bars = 0;
    r.Setup(s);
    EXPECT_EQ(r.BarCount(), 1);
}

TEST(RhythmSetupChoices, ChoiceListAndSmallestFittingDuration) {
    TRytme r;
    r.Setup(makeSetup({{4, 6}, {2, 4}, static_cast<std::uint8_t>(tripletBit(3) | tripletBit(5))}));
    EXPECT_EQ(r.Choices(), (std::vector<Choice>{{2, false}, {4, false}, {3, true}, {5, true}}));
    EXPECT_EQ(r.PlainCount(), 2);
    EXPECT_EQ(r.SmallestFit(), 336) << "the eighth and the sixteenth triplet group both take 336 ticks";
    EXPECT_EQ(r.ChosenMeters(), (std::vector<int>{4, 6}));
    EXPECT_EQ(r.MeterIndex(), 4);
    EXPECT_EQ(r.Unit(), 672);
}
