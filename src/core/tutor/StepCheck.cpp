// Trying a tutor step's setup.
#include "tutor/StepCheck.h"

#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/Generation.h"
#include "exercises/pitch/IntervalComparison.h"
#include "exercises/rhythm/Rytme.h"
#include "setup/SetupRecord.h"

#include <algorithm>

namespace kalvintor::tutor {

namespace {

pitch::ExerciseMode modeOf(int exercise) {
    switch (exercise) {
        case 1:
            return pitch::ExerciseMode::Chord;
        case 2:
            return pitch::ExerciseMode::Interval;
        case 7:
            return pitch::ExerciseMode::Inversion;
        case 8:
            return pitch::ExerciseMode::Scale;
        default:
            return pitch::ExerciseMode::Progression;
    }
}

}  // namespace

bool StepAsksSomething(int exercise, const TTutorObject& step, const theory::ChordCatalogue& catalogue) {
    if (exercise < 1 || exercise > kExerciseCount) return false;
    setup::SetupRecord record = setup::DefaultSetup();
    auto block = record.block(exercise);
    std::copy_n(step.record.stepSetup.begin(), block.size(), block.begin());
    if (exercise >= 4 && exercise <= 6) {
        rhythm::TRytme engine;
        engine.Setup(record.rhythmBlock(exercise));
        return engine.Generate() == rhythm::GenerateOutcome::Complete;
    }
    if (exercise == 3) {
        pitch::IntervalComparisonState state;
        pitch::ApplyComparisonSetup(state, record.pitchBlock(3), catalogue, true);
        return pitch::GenerateComparison(state);
    }
    // The melody exercise makes its own material from its block: nothing to select.
    if (exercise == 9) return true;
    pitch::PitchExerciseState state;
    state.mode = modeOf(exercise);
    pitch::ApplySetup(state, record.pitchBlock(exercise), catalogue, true, false);
    return pitch::GenerateQuestion(state, catalogue) == pitch::GenerateResult::Generated;
}

std::vector<SilentStep> SilentSteps(const TutorModel& model, const theory::ChordCatalogue& catalogue) {
    std::vector<SilentStep> silent;
    for (int e = 1; e <= kExerciseCount; ++e)
        for (int s = 1; s <= model.StepCount(e); ++s)
            if (!StepAsksSomething(e, *model.StepOf(e, s), catalogue)) silent.push_back({e, s});
    return silent;
}

}  // namespace kalvintor::tutor
