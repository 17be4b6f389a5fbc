// The tutor courses the program ships: ear training for the pitch exercises step by step, and
// rhythm from quarter notes to syncopation.
#pragma once

#include "tutor/StepRecord.h"
#include "tutor/TutorHeader.h"

#include <string>
#include <vector>

namespace kalvintor::tutorgen {

struct CourseStep {
    int exercise;  // 1..10
    tutor::TTutorObject step;
};

struct ShippedCourse {
    std::string fileName;  // in the program's language folder
    tutor::TutorHeader header;
    std::vector<CourseStep> steps;  // in each exercise's order
};

std::vector<ShippedCourse> ShippedCourses();

}  // namespace kalvintor::tutorgen
