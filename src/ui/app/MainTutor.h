// What the main window keeps for tutors: the loaded tutor, the catalogue its material replaces,
// and the tutor windows, made on first use.
#pragma once

#include "tutor/TutorModel.h"

#include <memory>

namespace kalvintor::ui {

class TChooseTutor;
class TEndTutorStep;
class TTutorDefine;
class TTutorStepInfo;
class TTutorlist;

// The requests SelectView reads from the tutor and tutor-setup buttons.
struct TutorRequests {
    bool editor = false;
    bool editorStarting = false;
    bool tutor = false;
    bool tutorStarting = false;
};

struct MainTutor {
    explicit MainTutor(theory::ChordCatalogue& working) : model(working, backup) {}
    tutor::CatalogueBackup backup;
    tutor::TutorModel model;
    TTutorlist* list = nullptr;
    TChooseTutor* chooser = nullptr;
    TTutorStepInfo* info = nullptr;
    TEndTutorStep* end = nullptr;
    TTutorDefine* editor = nullptr;
};

}  // namespace kalvintor::ui
