// The courses the program ships: written by the build tool, read back by the tutor model, and
// every step able to ask a question under its setup.
#include "Courses.h"
#include "theory/ChordCatalogue.h"
#include "tutor/StepCheck.h"
#include "tutor/TutorModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace kalvintor;
namespace fs = std::filesystem;

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
                EXPECT_TRUE(tutor::StepAsksSomething(e, *step, theory::BuiltInCatalogue()));
                EXPECT_FALSE(step->fullHint().empty());
                EXPECT_GT(step->record.upgradePercent, step->record.downgradePercent);
                EXPECT_GT(step->record.stepQuestions, 0);
            }
        }
    }
}
