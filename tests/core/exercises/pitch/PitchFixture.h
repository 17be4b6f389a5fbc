// A pitch exercise set up from a block, and a clock that gives every question its own seed.
#pragma once

#include "app/Random.h"
#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/Generation.h"
#include "theory/ChordCatalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

namespace kalvintor::pitch::testing {

inline SetupBlock blockWith(PitchExercise exercise, std::initializer_list<int> entries, int lower, int upper,
                            int movement = root_movement::kRandom) {
    SetupBlock block = defaultSetupBlock(exercise);
    block.entryEnabled.fill(0);
    for (int e : entries) block.entryEnabled[static_cast<std::size_t>(e - 1)] = 1;
    block.lowerLimit = static_cast<std::uint8_t>(lower);
    block.upperLimit = static_cast<std::uint8_t>(upper);
    block.rootMovement = static_cast<std::uint8_t>(movement);
    return block;
}

inline PitchExerciseState stateFor(ExerciseMode mode, const SetupBlock& block,
                                   const theory::ChordCatalogue& catalogue = theory::BuiltInCatalogue()) {
    PitchExerciseState state;
    state.mode = mode;
    ApplySetup(state, block, catalogue, true, true);
    return state;
}

// Randomize reads a counter, so every question draws from its own seed and runs repeat.
class SeededClock : public ::testing::Test {
protected:
    void SetUp() override {
        app::SetRandomizeClock([this] { return seed_++; });
    }
    void TearDown() override { app::SetRandomizeClock(nullptr); }
    void reseed(std::uint64_t seed) { seed_ = seed; }

private:
    std::uint64_t seed_ = 1;
};

}  // namespace kalvintor::pitch::testing
