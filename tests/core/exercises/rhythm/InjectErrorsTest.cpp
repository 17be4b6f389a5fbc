// The correction exercise's changed rhythm: which errors a note allows, how each is applied, and
// how the picking gives up.
#include "RhythmTestSupport.h"
#include "app/Random.h"
#include "exercises/rhythm/InjectErrors.h"
#include "exercises/rhythm/Rytme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;

namespace {

constexpr const Meter& kFourFour = MeterTable[4];

std::int32_t totalTicks(const Voice& v) {
    return std::accumulate(v.begin(), v.end(), 0,
                           [](std::int32_t s, const TRhythmNote& n) { return s + n.duration; });
}

}  // namespace

TEST(InjectErrors, WhichErrorsANoteAllows) {
    // quarter, eighth, eighth | half tied to quarter, quarter-rest | triplet of quarters, 32nd ...
    const Voice v = join({{note(3), note(4), note(4), note(2, true)},
                          {tied(note(2)), note(3), rest(3, true)},
                          triplet(3),
                          {note(6)}});
    struct Case {
        std::size_t note;
        bool tied, split, swapped;
        const char* why;
    };
    const Case cases[] = {
        {0, true, true, true, "quarter before an eighth"},
        {1, true, true, false, "two eighths have the same value"},
        {3, false, true, false, "ends the bar; the next note is tied"},
        {4, false, false, false, "tied to the next note"},
        {5, false, false, false, "tied from the previous note; next is a rest"},
        {6, false, false, false, "a rest"},
        {7, true, false, false, "a triplet member is neither split nor swapped"},
        {10, false, false, false, "the shortest value, last note"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorApplies(v, c.note, ErrorKind::Tied), c.tied) << c.why;
        EXPECT_EQ(errorApplies(v, c.note, ErrorKind::Split), c.split) << c.why;
        EXPECT_EQ(errorApplies(v, c.note, ErrorKind::Swapped), c.swapped) << c.why;
    }
}

TEST(InjectErrors, EachKindChangesTheRhythmAndKeepsItsLength) {
    // quarter, eighth, eighth, half (end of bar)
    const Voice written{note(3), note(4), note(4), note(2, true)};
    {
        const Voice v = ApplyErrors(written, {{0, ErrorKind::Tied}}, kFourFour);
        ASSERT_EQ(v.size(), 4u);
        EXPECT_TRUE(v[0].tied);
        EXPECT_FALSE(v[1].tied);
    }
    {
        Voice source = written;
        source[0].onBeat = true;
        const Voice v = ApplyErrors(source, {{0, ErrorKind::Split}}, kFourFour);
        ASSERT_EQ(v.size(), 5u);
        EXPECT_EQ(v[0].value, kEighth);
        EXPECT_EQ(v[1].value, kEighth);
        EXPECT_EQ(v[0].duration, 336);
        EXPECT_FALSE(v[0].onBeat);
        EXPECT_TRUE(v[1].onBeat);
        EXPECT_EQ(totalTicks(v), totalTicks(written));
    }
    {
        const Voice v = ApplyErrors(written, {{2, ErrorKind::Swapped}}, kFourFour);
        ASSERT_EQ(v.size(), 4u);
        EXPECT_EQ(v[2].value, kHalf);
        EXPECT_FALSE(v[2].endsBar);
        EXPECT_EQ(v[3].value, kEighth);
        EXPECT_TRUE(v[3].endsBar) << "the second takes over the bar end";
        EXPECT_EQ(totalTicks(v), totalTicks(written));
    }
}

TEST(InjectErrors, ErrorsAreSortedAndNeverNeighbours) {
    const Voice v{note(3), note(4), note(4),       note(3), note(3, true), note(4), note(4),      note(3),
                  note(4), note(4), note(3, true), note(3), note(4),       note(4), note(2, true)};
    for (std::uint64_t s = 0; s < 200; ++s) {
        kalvintor::app::SeedRandom(s);
        std::vector<InjectedError> errors;
        ASSERT_TRUE(PickErrors(v, 5, errors));
        ASSERT_FALSE(errors.empty());
        for (std::size_t k = 0; k < errors.size(); ++k) {
            EXPECT_TRUE(errorApplies(v, static_cast<std::size_t>(errors[k].note), errors[k].kind));
            if (k > 0) {
                EXPECT_GT(errors[k].note, errors[k - 1].note + 1) << "seed " << s;
            }
        }
    }
}

TEST(InjectErrors, GivesUpWhenNoNoteAllowsAnError) {
    // A whole-bar rest and one thirty-second note: nothing can be tied, split or swapped.
    kalvintor::app::SeedRandom(1);
    std::vector<InjectedError> errors{{0, ErrorKind::Split}};
    EXPECT_FALSE(PickErrors(Voice{rest(1, true), note(6)}, 2, errors));
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(PickErrors(Voice{}, 1, errors));
}

TEST(InjectErrors, TheEngineBuildsVoiceOneOnlyWhenItCan) {
    kalvintor::app::SetRandomizeClock([] { return 11; });
    TRytme r;
    RhythmSetup setup = makeSetup({{4}, {3, 4}, 0, false, false, false, 2});
    setup.errors = 3;
    r.Setup(setup);
    ASSERT_EQ(r.Generate(), GenerateOutcome::Complete);
    ASSERT_TRUE(r.InjectErrors());
    EXPECT_FALSE(r.Errors().empty());
    EXPECT_LE(r.Errors().size(), 3u);
    EXPECT_EQ(totalTicks(r.voice(1)), totalTicks(r.voice(0)));
    const auto sameNote = [](const TRhythmNote& a, const TRhythmNote& b) {
        return a.value == b.value && a.tied == b.tied;
    };
    EXPECT_FALSE(
        std::equal(r.voice(0).begin(), r.voice(0).end(), r.voice(1).begin(), r.voice(1).end(), sameNote))
        << "the changed rhythm differs from the written one";
    kalvintor::app::SetRandomizeClock(nullptr);
}
