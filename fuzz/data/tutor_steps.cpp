// Fuzz target: a tutor's steps applied to the setup, as a user working through a course gets
// them. The input's first 20 bytes are the user's step numbers (ten 16-bit numbers, one per
// exercise), the rest is the tutor file. Each exercise's block becomes its current step's setup
// (or stays as it was without such a step), nothing else of the setup changes, and each block then
// drives its exercise: questions are made from it with the material the tutor brings.
#include "FuzzDir.h"
#include "app/Random.h"
#include "exercises/pitch/Generation.h"
#include "exercises/pitch/IntervalComparison.h"
#include "exercises/rhythm/Rytme.h"
#include "tutor/Course.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace kalvintor;

constexpr std::size_t kStepBytes = 2 * tutor::kExerciseCount;

// What the exercise window does with its block: apply it and make a question or two.
void drive(int exercise, const setup::SetupRecord& record, const theory::ChordCatalogue& catalogue) {
    using pitch::ExerciseMode;
    switch (exercise) {
        case 3: {
            pitch::IntervalComparisonState comparison;
            pitch::ApplyComparisonSetup(comparison, record.pitchBlock(3), catalogue, true);
            pitch::GenerateComparison(comparison);
            return;
        }
        case 4:
        case 5:
        case 6: {
            rhythm::TRytme engine;
            engine.Setup(record.rhythmBlock(exercise));
            engine.Generate();
            return;
        }
        default:
            break;
    }
    static constexpr ExerciseMode kModes[] = {
        ExerciseMode::Chord,    ExerciseMode::Chord,    ExerciseMode::Interval,   ExerciseMode::Interval,
        ExerciseMode::Interval, ExerciseMode::Interval, ExerciseMode::Interval,   ExerciseMode::Inversion,
        ExerciseMode::Scale,    ExerciseMode::Melody,   ExerciseMode::Progression};
    pitch::PitchExerciseState state;
    state.mode = kModes[exercise];
    if (state.mode == ExerciseMode::Melody)
        pitch::ApplyMelodySetup(state, record.melodyBlock(), true, true);
    else
        pitch::ApplySetup(state, record.pitchBlock(exercise), catalogue, true, true);
    for (int question = 0; question < 2; ++question)
        if (pitch::GenerateQuestion(state, catalogue) != pitch::GenerateResult::Generated) break;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kStepBytes) return 0;
    tutor::TutorSteps steps{};
    for (std::size_t e = 0; e < steps.size(); ++e)
        steps[e] = static_cast<std::int16_t>(data[2 * e] | data[2 * e + 1] << 8);
    const auto dir = fuzzing::scratchDir("fuzz-tutor-steps");
    fuzzing::put(dir / "input.tut", data + kStepBytes, size - kStepBytes);

    theory::ChordCatalogue working = theory::BuiltInCatalogue();
    tutor::CatalogueBackup backup;
    tutor::TutorModel model(working, backup);
    tutor::OpenUserTutor(model, "input.tut", dir, steps);

    const setup::SetupRecord& before = setup::DefaultSetup();
    setup::SetupRecord all = before;
    tutor::ApplyTutorSteps(model, steps, 0, all);
    for (int e = 1; e <= tutor::kExerciseCount; ++e) {
        const auto* step = model.StepOf(e, steps[static_cast<std::size_t>(e - 1)]);
        const auto block = all.block(e);
        const auto expected = step ? std::span<const std::uint8_t>(step->record.stepSetup).first(block.size())
                                   : before.block(e);
        if (!std::equal(block.begin(), block.end(), expected.begin(), expected.end())) std::abort();
        // One exercise at a time changes that exercise's block alone.
        setup::SetupRecord one = before;
        tutor::ApplyTutorSteps(model, steps, e, one);
        for (int other = 1; other <= tutor::kExerciseCount; ++other) {
            const auto want = other == e ? all.block(e) : before.block(other);
            if (!std::ranges::equal(one.block(other), want)) std::abort();
        }
    }
    // The header and the byte after the blocks are no step's to change.
    if (!std::equal(all.bytes.begin(), all.bytes.begin() + setup::kHeaderSize, before.bytes.begin()) ||
        all.bytes[setup::kUnusedByte] != before.bytes[setup::kUnusedByte])
        std::abort();

    app::SeedRandom(size);
    app::SetRandomizeClock([] { return std::uint64_t{7}; });
    for (int e = 1; e <= tutor::kExerciseCount; ++e) drive(e, all, working);
    app::SetRandomizeClock(nullptr);
    model.CloseTutor();
    return 0;
}
