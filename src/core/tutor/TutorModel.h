// The loaded tutor: header, ten step lists, its file, and the catalogue its material may replace.
#pragma once

#include "theory/ChordCatalogue.h"
#include "tutor/StepRecord.h"
#include "tutor/TutorHeader.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvintor::tutor {

inline constexpr int kExerciseCount = 10;

// The working catalogue's tables as they were before a tutor's material replaced them. Shared
// with the main window, which puts them back before anything is stored in Chord.dat.
struct CatalogueBackup {
    theory::ChordCatalogue tables;
    bool catalogueReplaced = false;
};

class TutorModel {
public:
    // `working` is the program's catalogue; `backup` the copy shared with the main window.
    TutorModel(theory::ChordCatalogue& working, CatalogueBackup& backup);

    // Asked before unsaved changes are dropped; false = the user cancelled. Without it changes
    // are dropped.
    std::function<bool()> confirmClose;

    // Replaces the loaded tutor by the file's. `name` is resolved against `commonDirectory`.
    bool LoadTutor(const std::string& name, const std::filesystem::path& commonDirectory);
    bool CloseTutor();
    // Writes the tutor whole; false when the file could not be written.
    bool SaveTutorFile(const std::filesystem::path& file);
    // Appends the steps of exercise e of another current-layout tutor file to list e.
    bool ImportSteps(const std::filesystem::path& file, int exercise);

    int StepCount(int exercise) const;
    // Step 1..StepCount(exercise) of the exercise, or nothing.
    TTutorObject* StepOf(int exercise, int step) const;
    // Appends a step (the editor's "new step"); marks the tutor modified.
    TTutorObject& addStep(int exercise, TTutorObject step);
    // The editor's list changes, by 0-based index; each marks the tutor modified. The open step
    // (editorStep) stays on the same step object wherever it moves; a removed open step leaves
    // none open.
    TTutorObject& insertStep(int exercise, int index, TTutorObject step);
    bool removeStep(int exercise, int index);
    bool moveStep(int exercise, int from, int to);

    TutorHeader header;
    std::array<int, kExerciseCount> editorStep{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::string fileName;
    bool modified = false;

private:
    using StepList = std::vector<std::unique_ptr<TTutorObject>>;
    StepList& list(int exercise) { return steps_[static_cast<std::size_t>(exercise - 1)]; }
    // Reads the steps of one exercise from `at`; advances `at` past what was read.
    void readSteps(std::string_view file, std::size_t& at, int exercise, int count, bool currentLayout);
    bool usesUserMaterial() const;

    theory::ChordCatalogue& working_;
    CatalogueBackup& backup_;
    std::array<StepList, kExerciseCount> steps_;
};

}  // namespace kalvintor::tutor
