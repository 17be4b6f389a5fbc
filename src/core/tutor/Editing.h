// The tutor editor's rules: the file name offered for a new tutor, the plain-text listing of
// every step, and the two step percentages that must stay apart.
#pragma once

#include "tutor/TutorModel.h"

#include <array>
#include <string>
#include <string_view>

namespace kalvintor::tutor {

// The name offered when a tutor is first saved: the first 8 characters of its title that may
// stand in a file name, or, when none remain, `tutorLabel` ("Tutor:") without its last character,
// "_" and the counter (which then goes up by one); ".tut" is appended.
std::string DefaultTutorFileName(std::string_view title, std::string_view tutorLabel, int& counter);

// The listing written with a Ctrl-click on "Save": for exercises 1..10, an asterisk block with the
// exercise's caption in upper case, then each step's number and name and its hint.
std::string TutorLines(const TutorModel& model, const std::array<std::string, kExerciseCount>& captions);

// The step dialog's two percentages: the upgrade level 2..100 stays above the downgrade level
// 1..99. The one just changed keeps its value and pushes the other past it.
struct StepLevels {
    int upgrade = 90;
    int downgrade = 55;
    friend bool operator==(const StepLevels&, const StepLevels&) = default;
};
StepLevels PushLevels(StepLevels levels, bool upgradeChanged);

}  // namespace kalvintor::tutor
