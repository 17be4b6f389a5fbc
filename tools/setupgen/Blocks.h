// Writing one exercise's block of a setup record from a few musical choices: the shipped levels
// and the shipped courses are built with these.
#pragma once

#include "setup/SetupRecord.h"

#include <cstdint>
#include <initializer_list>

namespace kalvintor::setupgen {

struct Styles {
    bool together;
    bool up;
    bool down;
};

// Entries offered (1-based numbers of the exercise's material), how they are played, the range.
struct PitchLevel {
    std::initializer_list<int> entries;
    Styles styles;
    int lower;
    int upper;
};

void setPitch(setup::SetupRecord& record, pitch::PitchExercise exercise, const PitchLevel& level);

// Meter table entries (2 is 2/4, 3 is 3/4, 4 is 4/4, 6 is 6/8) and note values (1 whole ..
// 5 sixteenth) offered, with the rest of a rhythm block.
struct RhythmLevel {
    std::initializer_list<int> meters;
    std::initializer_list<int> values;
    int tempo;
    int bars;
    bool rests;
    bool dotted;
    bool ties;
    std::uint8_t triplets;
    int errors;
    rhythm::Strictness strictness;
};

void setRhythm(setup::SetupRecord& record, rhythm::RhythmExercise exercise, const RhythmLevel& level);

}  // namespace kalvintor::setupgen
