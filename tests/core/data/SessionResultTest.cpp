// The record of a running session: which counts go where, with and without a tutor.
#include "data/SessionResult.h"

#include <gtest/gtest.h>

#include <array>

using namespace kalvintor;
using namespace kalvintor::data;

TEST(SessionResult, TakesTheClocksAndCountsOfTheSession) {
    app::ExerciseClocks clocks;
    clocks.SessionStart = 46000.75;  // a day at 18:00
    clocks.ActiveTime = 0.01;
    clocks.ExerciseTime = 0.004;
    clocks.QuestionCount = 8;
    clocks.CorrectCount = 6;
    const std::array<ItemStat, 2> items{ItemStat{3, 4}, ItemStat{1, 2}};

    SessionSource plain;
    plain.userId = 7;
    plain.exercise = 3;
    plain.clocks = &clocks;
    plain.setupName = "Beginner";
    plain.items = items;
    const ResultRecord r = MakeSessionResult(plain);
    EXPECT_EQ(r.userId, 7);
    EXPECT_EQ(r.exercise, 3);
    EXPECT_DOUBLE_EQ(r.sessionStart, 46000.75);
    EXPECT_DOUBLE_EQ(r.duration, 0.01);
    EXPECT_DOUBLE_EQ(r.answerTime, 0.004);
    EXPECT_EQ(r.setupName, "Beginner");
    EXPECT_TRUE(r.tutorName.empty());
    EXPECT_EQ(r.tutorStep, 0);
    EXPECT_EQ(r.questions, 8);
    EXPECT_EQ(r.correct, 6);
    EXPECT_EQ(r.itemStats[1], (ItemStat{1, 2}));
    EXPECT_EQ(r.itemStats[2], ItemStat{});
    EXPECT_DOUBLE_EQ(SessionOnlyResult(r).sessionStart, 0.75);

    // A tutor step names the tutor and the step instead of the setup.
    SessionSource tutor = plain;
    tutor.tutor = true;
    tutor.tutorTitle = "First steps";
    tutor.stepName = "Thirds";
    tutor.step = 4;
    const ResultRecord t = MakeSessionResult(tutor);
    EXPECT_EQ(t.tutorName, "First steps");
    EXPECT_EQ(t.setupName, "Thirds");
    EXPECT_EQ(t.tutorStep, 4);
}

TEST(SessionResult, RhythmExercisesStoreTheAverageScore) {
    app::ExerciseClocks clocks;
    clocks.QuestionCount = 3;
    clocks.CorrectCount = 250;  // scores 100, 80 and 70
    SessionSource rhythm;
    rhythm.exercise = 5;
    rhythm.clocks = &clocks;
    EXPECT_EQ(MakeSessionResult(rhythm).correct, 83);
    clocks.QuestionCount = 0;
    clocks.CorrectCount = 0;
    EXPECT_EQ(MakeSessionResult(rhythm).correct, 0) << "no division by zero";
}

TEST(SessionResult, ExercisesWithQuestionsKeepsTheMaskedOnesAtTheMinimum) {
    const std::array<std::int32_t, 10> counts{5, 4, 0, 9, 5, 0, 0, 0, 0, 12};
    EXPECT_EQ(ExercisesWithQuestions(0x3FF, 5, counts), 0b1000011001);
    EXPECT_EQ(ExercisesWithQuestions(0b10, 5, counts), 0);
    EXPECT_EQ(ExercisesWithQuestions(0x3FF, 1, counts), 0b1000011011);
}
