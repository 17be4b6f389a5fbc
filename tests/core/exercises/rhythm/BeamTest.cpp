// Beaming hand-made voices: groups per beat, partial-beam sides, rests inside beams, broken ties.
#include "RhythmTestSupport.h"
#include "exercises/rhythm/Beam.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;

namespace {

std::vector<int> groupsOf(const Voice& v) {
    std::vector<int> g;
    for (const auto& n : v) g.push_back(n.beamGroup);
    return g;
}

// Group numbers renamed 1, 2, ... in order of appearance, so tests do not depend on skipped numbers.
std::vector<int> normalised(const Voice& v) {
    std::vector<int> out;
    std::vector<int> seen;
    for (int g : groupsOf(v)) {
        if (g == 0) {
            out.push_back(0);
            continue;
        }
        auto it = std::find(seen.begin(), seen.end(), g);
        if (it == seen.end()) seen.push_back(g), it = seen.end() - 1;
        out.push_back(static_cast<int>(it - seen.begin()) + 1);
    }
    return out;
}

constexpr const Meter& kFourFour = MeterTable[4];
constexpr const Meter& kSixEight = MeterTable[6];
constexpr const Meter& kTwoTwo = MeterTable[1];
constexpr const Meter& kSevenEight = MeterTable[9];

}  // namespace

TEST(Beam, GroupsFollowTheBeatGroupsOfTheMeter) {
    struct Case {
        const char* name;
        const Meter& meter;
        Voice voice;
        std::vector<int> groups;
    };
    const Case cases[] = {
        {"eighths pair up per quarter in 4/4",
         kFourFour,
         {note(4), note(4), note(4), note(4), note(2, true)},
         {1, 1, 2, 2, 0}},
        {"eighths go in threes in 6/8",
         kSixEight,
         {note(4), note(4), note(4), note(4), note(4), note(4, true)},
         {1, 1, 1, 2, 2, 2}},
        {"four eighths share a beam in 2/2",
         kTwoTwo,
         {note(4), note(4), note(4), note(4), note(2, true)},
         {1, 1, 1, 1, 0}},
        {"7/8 beams four and three",
         kSevenEight,
         {note(4), note(4), note(4), note(4), note(4), note(4), note(4, true)},
         {1, 1, 1, 1, 2, 2, 2}},
        {"an eighth alone in its beat stays flagged",
         kFourFour,
         {note(4), note(3), note(4), note(4), note(4), note(3, true)},
         {0, 0, 0, 1, 1, 0}},
        {"a rest inside a beat keeps the beam",
         kTwoTwo,
         {note(4), rest(4), note(4), note(4), note(2, true)},
         {1, 0, 1, 1, 0}},
        {"quarters are never beamed", kFourFour, {note(3), note(3), note(3), note(3, true)}, {0, 0, 0, 0}},
        {"sixteenths share a beam per quarter",
         kFourFour,
         {note(5), note(5), note(5), note(5), note(5), note(5), note(5), note(5), note(2, true)},
         {1, 1, 1, 1, 2, 2, 2, 2, 0}},
    };
    for (const auto& c : cases) {
        Voice v = c.voice;
        Beam(v, c.meter);
        EXPECT_EQ(normalised(v), c.groups) << c.name;
    }
}

TEST(Beam, PartialBeamsPointToTheBeatTheyBelongTo) {
    // Dotted eighth + sixteenth: the sixteenth's stub points left; sixteenth + dotted eighth: right.
    Voice v{dotted(4), note(5), note(5), dotted(4), note(2, true)};
    Beam(v, kFourFour);
    EXPECT_EQ(normalised(v), (std::vector<int>{1, 1, 2, 2, 0}));
    EXPECT_EQ(v[0].beamSide, BeamSide::Right);
    EXPECT_EQ(v[1].beamSide, BeamSide::Left);
    EXPECT_EQ(v[2].beamSide, BeamSide::Right);
    EXPECT_EQ(v[3].beamSide, BeamSide::Left);
}

TEST(Beam, RestsAndLongNotesTurnTheNeighboursPartialBeamsAway) {
    Voice v{note(5), note(5), rest(4), note(3), note(5), note(5), note(5), note(5, true)};
    Beam(v, MeterTable[3]);  // 3/4
    EXPECT_EQ(v[1].beamSide, BeamSide::Left) << "before a rest that ends the group";
    EXPECT_EQ(v[4].beamSide, BeamSide::Right) << "after a quarter";
}

TEST(Beam, ATieIntoARestIsRemoved) {
    Voice v{tied(note(3)), rest(3), note(2, true)};
    Beam(v, kFourFour);
    EXPECT_FALSE(v[0].tied);
}
