// The counters and clocks every exercise keeps for its session, and the rules that book time.
#pragma once

#include "records/DateTime.h"

#include <cstdint>

namespace kalvintor::app {

// Score percentage of the status panel: round(correct × 100 / questions) with halves rounded up;
// 100 before any question.
int ScorePercent(std::int32_t correct, std::int32_t questions);

struct ExerciseClocks {
    std::int32_t QuestionCount = 0;
    std::int32_t CorrectCount = 0;
    bool Answered = true;
    bool LastAnswerCorrect = false;
    records::DateTime SessionStart = 0;  // below 1.0: not set
    records::Duration ActiveTime = 0;
    records::DateTime ActivatedAt = 0;   // 0 while the exercise view is not open
    records::Duration ExerciseTime = 0;
    records::DateTime QuestionStart = 0; // 0 while no question runs

    // The exercise view opens: the session starts at the first opening.
    void StartActiveClock(records::DateTime now);
    // The exercise view closes: the open time is booked when 0 < d < 1 day.
    void StopActiveClock(records::DateTime now);
    // A question starts.
    void StartQuestion(records::DateTime now) { QuestionStart = now; }
    // An answer was evaluated: the answer time is booked when 0 < d < 1 day; the question ends.
    void BookAnswerTime(records::DateTime now);
    // The session starts over: start, open time and answer time are cleared.
    void RestartSession();
    // The time the exercise view has been open in this session, at `now`.
    records::Duration OpenTime(records::DateTime now) const;
};

}  // namespace kalvintor::app
