// Whether a tutor step can ask anything: its setup is tried as the exercise window would try it.
#pragma once

#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

#include <string>
#include <vector>

namespace kalvintor::tutor {

// True when a question can be made from the step's setup with `catalogue` (the working one, with
// any tutor material in force).
bool StepAsksSomething(int exercise, const TTutorObject& step, const theory::ChordCatalogue& catalogue);

// The steps of the tutor that cannot ask anything, as "exercise, step number" pairs.
struct SilentStep {
    int exercise;
    int step;
};
std::vector<SilentStep> SilentSteps(const TutorModel& model, const theory::ChordCatalogue& catalogue);

}  // namespace kalvintor::tutor
