// Per-exercise statistics of one user over the chosen period, and the period choices.
#pragma once

#include "records/DateTime.h"

#include <cstdint>
#include <string>

namespace kalvintor::data {

struct ExerciseStatistics {
    records::DateTime lastDate = 0;
    std::string lastSetupName;
    std::string lastTutorName;
    std::uint16_t lastCorrect = 0;
    std::uint16_t lastQuestions = 0;
    // Sums over the period, wide enough for any number of sessions.
    std::uint32_t periodCorrect = 0;
    std::uint32_t periodQuestions = 0;
    records::Duration periodDuration = 0;
    records::Duration averageAnswerTime = 0;  // days per question
    std::int32_t periodSessions = 0;

    friend bool operator==(const ExerciseStatistics&, const ExerciseStatistics&) = default;
};

// Days counted back from today's midnight for the period values.
inline constexpr std::uint8_t kDefaultStatisticsPeriod = 6;

// Exercises whose Correct holds an average score rather than a count.
inline bool isRhythmExercise(int exercise) {
    return exercise >= 4 && exercise <= 6;
}

}  // namespace kalvintor::data
