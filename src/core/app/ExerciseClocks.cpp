// Booking rules of the exercise clocks.
#include "app/ExerciseClocks.h"

namespace kalvintor::app {

int ScorePercent(std::int32_t correct, std::int32_t questions) {
    if (questions <= 0) return 100;
    const std::int64_t scaled = static_cast<std::int64_t>(correct) * 200 / questions;  // twice the percentage
    return static_cast<int>((scaled + 1) / 2);
}

void ExerciseClocks::StartActiveClock(records::DateTime now) {
    if (SessionStart < 1.0) SessionStart = now;
    ActivatedAt = now;
}

void ExerciseClocks::StopActiveClock(records::DateTime now) {
    const records::Duration d = now - ActivatedAt;
    if (ActivatedAt != 0 && records::isBookableDuration(d)) ActiveTime += d;
    ActivatedAt = 0;
}

void ExerciseClocks::BookAnswerTime(records::DateTime now) {
    const records::Duration d = now - QuestionStart;
    if (QuestionStart != 0 && records::isBookableDuration(d)) ExerciseTime += d;
    QuestionStart = 0;
}

void ExerciseClocks::RestartSession() {
    SessionStart = 0;
    ActiveTime = 0;
    ExerciseTime = 0;
}

records::Duration ExerciseClocks::OpenTime(records::DateTime now) const {
    const records::Duration running = ActivatedAt != 0 && records::isBookableDuration(now - ActivatedAt)
                                          ? now - ActivatedAt
                                          : 0.0;
    return ActiveTime + running;
}

}  // namespace kalvintor::app
