// Helpers shared by the rhythm engine's tests: setups and hand-made voices.
#pragma once

#include "exercises/rhythm/RhythmNote.h"
#include "exercises/rhythm/RhythmSetup.h"

#include <initializer_list>

namespace kalvintor::rhythm::testing {

struct SetupSpec {
    std::initializer_list<int> meters = {4};
    std::initializer_list<int> values = {2, 3};
    std::uint8_t triplets = 0;  // tripletBit() per value
    bool dotted = false;
    bool rests = false;
    bool ties = false;
    int bars = 1;
};

inline RhythmSetup makeSetup(const SetupSpec& spec) {
    RhythmSetup s;
    for (int m : spec.meters) s.meters[static_cast<std::size_t>(m - 1)] = 1;
    for (int v : spec.values) s.noteValues[static_cast<std::size_t>(v - 1)] = 1;
    s.triplets = spec.triplets;
    s.dotted = spec.dotted;
    s.rests = spec.rests;
    s.ties = spec.ties;
    s.bars = static_cast<std::uint8_t>(spec.bars);
    return s;
}

// A plain note (or rest) of a value code, with its length and the endsBar flag left to the caller.
inline TRhythmNote note(int value, bool endsBar = false) {
    TRhythmNote n;
    n.value = value;
    n.duration = 2688 >> (value - 1);
    n.endsBar = endsBar;
    return n;
}
inline TRhythmNote rest(int value, bool endsBar = false) {
    auto n = note(value, endsBar);
    n.rest = true;
    return n;
}
inline TRhythmNote dotted(int value, bool endsBar = false) {
    auto n = note(value, endsBar);
    n.kind = NoteKind::Dotted;
    n.duration = n.duration * 3 / 2;
    return n;
}
inline TRhythmNote tied(TRhythmNote n) {
    n.tied = true;
    return n;
}
// The three notes of a triplet group of `value`.
inline Voice triplet(int value, bool endsBar = false) {
    Voice v;
    for (int k = 0; k < 3; ++k) {
        auto n = note(value);
        n.kind = NoteKind::Triplet;
        n.duration = n.duration * 2 / 3;
        n.tripletMiddle = k == 1;
        n.endsBar = k == 2 && endsBar;
        v.push_back(n);
    }
    return v;
}

inline Voice join(std::initializer_list<Voice> parts) {
    Voice v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

}  // namespace kalvintor::rhythm::testing
