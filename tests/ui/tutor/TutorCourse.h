// A small course for the tests: three interval comparison steps of a few questions each, and a
// school whose student works on it.
#pragma once

#include "setup/SetupRecord.h"
#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"
#include "ui/users/StartupFixture.h"

#include <string>

namespace kalvintor::ui::testing {

inline constexpr int kCourseQuestions = 5;

// The block of interval comparison with one more interval selected for each step after the
// first, so that the step in force can be told from the setup.
inline setup::SetupRecord courseSetup(int step) {
    setup::SetupRecord record = setup::DefaultSetup();
    auto block = record.block(3);
    int added = 0;
    for (std::size_t i = 0; i < 25 && added < step - 1; ++i) {
        if (block[i] == 0) {
            block[i] = 1;
            ++added;
        }
    }
    return record;
}

// Writes the course and returns its path.
inline std::string writeCourse(const QString& folder) {
    theory::ChordCatalogue working = theory::BuiltInCatalogue();
    tutor::CatalogueBackup backup;
    tutor::TutorModel model(working, backup);
    model.header.tutorName = "Hearing intervals";
    model.header.author = "Ada Lind";
    for (int s = 1; s <= 3; ++s) {
        tutor::TTutorObject step;
        step.record.stepName = "Comparison " + std::to_string(s);
        step.setHint("Listen to both intervals, then choose the larger one (step " + std::to_string(s) +
                     ").");
        step.record.stepQuestions = kCourseQuestions;
        step.record.upgradePercent = 80;
        step.record.downgradePercent = 40;
        const setup::SetupRecord record = courseSetup(s);
        const auto block = record.block(3);
        std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
        model.addStep(3, std::move(step));
    }
    const std::string file = (folder + "/Hearing.tut").toStdString();
    model.SaveTutorFile(file);
    return file;
}

// Gives the student SAM a tutor file, from its first steps.
inline void giveTutor(const School& school, const std::string& tutorFile) {
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    store.FindUser(0, "SAM", true);
    data::UserRecord r = store.CurrentUser()->record;
    r.tutorFile = tutorFile;
    r.tutorStep.fill(1);
    store.SaveUser(r);
}

inline data::UserRecord storedUser(const School& school, const std::string& login) {
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    store.FindUser(0, login, true);
    return store.CurrentUser()->record;
}

}  // namespace kalvintor::ui::testing
