// The result record of an exercise's running session, as the main window saves it.
#pragma once

#include "app/ExerciseClocks.h"
#include "data/ResultRecord.h"

#include <cstdint>
#include <span>
#include <string>

namespace kalvintor::data {

struct SessionSource {
    std::int16_t userId = 0;
    int exercise = 0;
    const app::ExerciseClocks* clocks = nullptr;
    // With a tutor: its title, the step's name and number; without: the setup's name, step 0.
    bool tutor = false;
    std::string tutorTitle;
    std::string stepName;
    std::uint16_t step = 0;
    std::string setupName;
    // The pitch exercises' per-item counts (60 items; interval identification fills 30).
    std::span<const ItemStat> items;
};

// Correct holds the count of right answers, for the rhythm exercises the average score
// (CorrectCount div QuestionCount, 0 without questions).
ResultRecord MakeSessionResult(const SessionSource& source);

// The record as the results window shows the running session: SessionStart as a time of day.
ResultRecord SessionOnlyResult(ResultRecord record);

// The exercises of `mask` (bit n−1 = exercise n) whose question count is at least `minimum`.
std::uint16_t ExercisesWithQuestions(std::uint16_t mask, int minimum,
                                     std::span<const std::int32_t, 10> questionCounts);

}  // namespace kalvintor::data
