// Session result records.
#include "data/SessionResult.h"

#include "data/DataStore.h"
#include "data/Statistics.h"
#include "records/DateTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalvintor::data {

namespace {

std::uint16_t Count16(std::int64_t value) {
    return static_cast<std::uint16_t>(
        std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace

ResultRecord MakeSessionResult(const SessionSource& source) {
    ResultRecord r;
    const app::ExerciseClocks& c = *source.clocks;
    r.userId = source.userId;
    r.exercise = static_cast<std::uint16_t>(source.exercise);
    r.sessionStart = c.SessionStart;
    r.duration = c.ActiveTime;
    r.answerTime = c.ExerciseTime;
    if (source.tutor) {
        r.tutorName = source.tutorTitle;
        r.setupName = source.stepName;
        r.tutorStep = source.step;
    } else {
        r.setupName = source.setupName;
    }
    r.questions = Count16(c.QuestionCount);
    if (isRhythmExercise(source.exercise)) {
        r.correct = c.QuestionCount > 0 ? Count16(c.CorrectCount / c.QuestionCount) : 0;
    } else {
        r.correct = Count16(c.CorrectCount);
    }
    const std::size_t n = std::min(source.items.size(), r.itemStats.size());
    std::copy_n(source.items.begin(), n, r.itemStats.begin());
    return r;
}

ResultRecord SessionOnlyResult(ResultRecord record) {
    record.sessionStart -= std::floor(record.sessionStart);
    return record;
}

std::uint16_t ExercisesWithQuestions(std::uint16_t mask, int minimum,
                                     std::span<const std::int32_t, 10> questionCounts) {
    std::uint16_t result = 0;
    for (int e = 1; e <= 10; ++e) {
        const auto bit = static_cast<std::uint16_t>(1u << (e - 1));
        if ((mask & bit) != 0 && questionCounts[static_cast<std::size_t>(e - 1)] >= minimum) result |= bit;
    }
    return result;
}

bool AppendKeptResults(DataStore& store, std::vector<ResultRecord>& unsaved) {
    const auto written =
        std::ranges::find_if(unsaved, [&](const ResultRecord& r) { return !store.AppendResult(r); });
    unsaved.erase(unsaved.begin(), written);
    return unsaved.empty();
}

}  // namespace kalvintor::data
