// The fourteen meters a rhythm can be written in, with their beat groups.
#pragma once

#include "exercises/rhythm/NoteValues.h"

#include <array>

namespace kalvintor::rhythm {

struct BeatGroup {
    int length = 0;  // in denominator units
    int beats = 0;
};

struct Meter {
    int numerator = 0;
    int denominator = 0;
    int groupCount = 1;
    std::array<BeatGroup, 2> groups{};

    // Ticks of one denominator note, of a bar, and of beat group 1.
    constexpr int unit() const { return kTicksPerWhole / denominator; }
    constexpr int barLength() const { return numerator * unit(); }
    constexpr int groupLength() const { return groups[0].length * unit(); }
    constexpr int beatLength(int group) const {
        const auto& g = groups[static_cast<std::size_t>(group)];
        return unit() * g.length / g.beats;
    }
};

inline constexpr int kMeterTwoTwo = 1;
inline constexpr int kMeterFourFour = 4;

// Entries 1..14 (index 0 is unused so that meter numbers index it directly). With one group the
// group repeats through the bar: in 4/4 every quarter is a group of one beat, in 6/8 each dotted
// quarter is one.
inline constexpr std::array<Meter, 15> MeterTable{{
    {},
    {2, 2, 1, {{{1, 2}, {}}}},
    {2, 4, 1, {{{1, 1}, {}}}},
    {3, 4, 1, {{{1, 1}, {}}}},
    {4, 4, 1, {{{1, 1}, {}}}},
    {3, 8, 1, {{{3, 3}, {}}}},
    {6, 8, 1, {{{3, 1}, {}}}},
    {3, 2, 1, {{{1, 2}, {}}}},
    {4, 2, 1, {{{1, 2}, {}}}},
    {7, 8, 2, {{{4, 2}, {3, 3}}}},
    {9, 8, 1, {{{3, 1}, {}}}},
    {12, 8, 1, {{{3, 1}, {}}}},
    {5, 4, 2, {{{3, 3}, {2, 2}}}},
    {4, 8, 1, {{{2, 1}, {}}}},
    {5, 8, 1, {{{3, 3}, {}}}},
}};

}  // namespace kalvintor::rhythm
