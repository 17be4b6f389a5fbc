// The result record of an exercise's running session, as the main window saves it.
#pragma once

#include "app/ExerciseClocks.h"
#include "data/ResultRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kalvintor::data {

class DataStore;

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

// Appends the results in `unsaved` (those of earlier sessions that could not be written first,
// then the new one) in order. Those written leave the list; the rest stay for the next save,
// since a result is not gone until it is written. True when the list is empty afterwards; the
// store's LastError says why it is not.
bool AppendKeptResults(DataStore& store, std::vector<ResultRecord>& unsaved);

// The exercises of `mask` (bit n−1 = exercise n) whose question count is at least `minimum`.
std::uint16_t ExercisesWithQuestions(std::uint16_t mask, int minimum,
                                     std::span<const std::int32_t, 10> questionCounts);

}  // namespace kalvintor::data
