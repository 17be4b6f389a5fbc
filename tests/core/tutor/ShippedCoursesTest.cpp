// The courses the program ships: written by the build tool, read back by the tutor model, and
// every step able to ask a question under its setup.
#include "Courses.h"
#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/Generation.h"
#include "exercises/pitch/IntervalComparison.h"
#include "exercises/rhythm/Rytme.h"
#include "setup/SetupRecord.h"
#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace kalvintor;
namespace fs = std::filesystem;

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

// Whether a question can be made from the step's setup, as the exercise window would make it.
bool asksSomething(int exercise, const tutor::TTutorObject& step) {
    setup::SetupRecord record = setup::DefaultSetup();
    auto block = record.block(exercise);
    std::copy_n(step.record.stepSetup.begin(), block.size(), block.begin());
    const auto& catalogue = theory::BuiltInCatalogue();
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
    pitch::PitchExerciseState state;
    state.mode = modeOf(exercise);
    pitch::ApplySetup(state, record.pitchBlock(exercise), catalogue, true, false);
    return pitch::GenerateQuestion(state, catalogue) == pitch::GenerateResult::Generated;
}

}  // namespace

TEST(ShippedCourses, LoadBackWithEveryStepAndEveryStepAsks) {
    const fs::path dir = fs::path(::testing::TempDir()) / "shipped-courses";
    fs::create_directories(dir);
    const auto courses = tutorgen::ShippedCourses();
    ASSERT_EQ(courses.size(), 2u);
    for (const auto& course : courses) {
        SCOPED_TRACE(course.fileName);
        theory::ChordCatalogue working = theory::BuiltInCatalogue();
        tutor::CatalogueBackup backup;
        {
            tutor::TutorModel writer(working, backup);
            writer.header = course.header;
            for (const auto& [exercise, step] : course.steps) writer.addStep(exercise, step);
            ASSERT_TRUE(writer.SaveTutorFile(dir / course.fileName));
        }
        tutor::TutorModel model(working, backup);
        ASSERT_TRUE(model.LoadTutor((dir / course.fileName).string(), dir));
        EXPECT_EQ(model.header.tutorName, course.header.tutorName);
        EXPECT_FALSE(backup.catalogueReplaced) << "the courses use built-in material only";

        std::map<int, int> expected;
        for (const auto& s : course.steps) ++expected[s.exercise];
        for (int e = 1; e <= tutor::kExerciseCount; ++e) {
            SCOPED_TRACE(e);
            ASSERT_EQ(model.StepCount(e), expected[e]);
            for (int n = 1; n <= model.StepCount(e); ++n) {
                const tutor::TTutorObject* step = model.StepOf(e, n);
                SCOPED_TRACE(step->record.stepName);
                EXPECT_TRUE(asksSomething(e, *step));
                EXPECT_FALSE(step->fullHint().empty());
                EXPECT_GT(step->record.upgradePercent, step->record.downgradePercent);
                EXPECT_GT(step->record.stepQuestions, 0);
            }
        }
    }
}
