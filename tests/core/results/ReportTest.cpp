// The content of results reports: who is in it, the period's edge, counted and scored exercises.
#include "ResultsFixture.h"
#include "results/Report.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvintor;
using namespace kalvintor::results;
using namespace kalvintor::results::testing_support;

namespace {

ReportTexts englishTexts() {
    ReportTexts t;
    t.exerciseName = [](int e) { return "Exercise " + std::to_string(e); };
    return t;
}

}  // namespace

TEST(Report, DaysBoxTakesANumberOrOneDay) {
    const std::pair<const char*, int> cases[] = {{"5", 5}, {" 14 ", 14}, {"abc", 1},
                                                 {"0", 1}, {"", 1},      {"3x", 1}};
    for (const auto& [typed, days] : cases) EXPECT_EQ(ReportDays(typed), days) << typed;
}

TEST(Report, APeriodStartsAtMidnightAndRhythmLinesShowTheirScore) {
    DataStore store(freshDir(), {}, quickCallbacks());
    MakeSchool(store);
    const double tenOClock = 10.0 / 24.0;
    // Exactly five days ago at 10:00 is inside "5 days"; six days ago is not.
    ASSERT_TRUE(store.AppendResult(result(2, 1, std::floor(kToday) - 5 + tenOClock, 8, 10)));
    ASSERT_TRUE(store.AppendResult(result(2, 1, std::floor(kToday) - 6 + tenOClock, 1, 10)));
    ASSERT_TRUE(store.AppendResult(result(2, 1, kToday - 1, 4, 6)));
    ASSERT_TRUE(store.AppendResult(result(2, 5, kToday - 1, 85, 10)));
    ASSERT_TRUE(store.AppendResult(result(2, 5, kToday - 2, 65, 10)));
    for (const auto& u : store.UserList())
        if (u->record.userId == 2) store.setSelectedUser(u.get());

    const auto report = BuildReport(store, {ReportUsers::SingleUser, 0, {1, 5}, "5"}, kToday, englishTexts());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->countLine, "Users: 1");
    EXPECT_EQ(report->periodLine, "Results from past 5 day(s)");
    EXPECT_TRUE(report->selectionLine.empty());
    ASSERT_EQ(report->users.size(), 1u);
    const ReportUser& ada = report->users[0];
    EXPECT_EQ(ada.classLine, "Class: 3b");
    ASSERT_EQ(ada.exercises.size(), 2u);

    const ReportExercise& chords = ada.exercises[0];
    EXPECT_EQ(chords.heading, "Exercise 1");
    ASSERT_EQ(chords.lines.size(), 2u);
    EXPECT_EQ(chords.lines[0].correct, "8 /");
    EXPECT_EQ(chords.lines[0].percent, "80%");
    EXPECT_EQ(chords.lines[0].time, "10:00");
    ASSERT_TRUE(chords.totals);
    EXPECT_EQ(chords.totals->correct, "12 /");
    EXPECT_EQ(chords.totals->questions, "16");
    EXPECT_EQ(chords.totals->percent, "75%");

    const ReportExercise& reading = ada.exercises[1];
    ASSERT_EQ(reading.lines.size(), 2u);
    EXPECT_EQ(reading.lines[0].correct, "") << "no correct column for the rhythm exercises";
    EXPECT_EQ(reading.lines[0].percent, "85%");
    EXPECT_EQ(reading.totals->percent, "75%") << "the mean of the scores";
}

TEST(Report, AClassWithoutResultsStillListsEveryStudent) {
    DataStore store(freshDir(), {}, quickCallbacks());
    MakeSchool(store);
    ASSERT_TRUE(store.AppendResult(result(4, 3, kToday - 1)));
    const auto report = BuildReport(store, {ReportUsers::Class, 1, {3}, "7"}, kToday, englishTexts());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->selectionLine, "Class: 3b");
    EXPECT_EQ(report->countLine, "Users: 2");
    EXPECT_EQ(report->exerciseName, "Exercise 3");
    ASSERT_EQ(report->users.size(), 2u);
    for (const ReportUser& u : report->users) {
        EXPECT_TRUE(u.classLine.empty()) << "the class is in the selection line";
        ASSERT_EQ(u.exercises.size(), 1u);
        EXPECT_TRUE(u.exercises[0].lines.empty());
        EXPECT_TRUE(u.exercises[0].heading.empty());
        EXPECT_FALSE(u.exercises[0].totals);
    }
    EXPECT_FALSE(BuildReport(store, {ReportUsers::Class, 9, {3}, "7"}, kToday, englishTexts()))
        << "no such class";

    const auto students = BuildReport(store, {ReportUsers::AllStudents, 0, {}, "7"}, kToday, englishTexts());
    ASSERT_TRUE(students);
    EXPECT_EQ(students->users.size(), 2u);
    EXPECT_FALSE(students->columnHeads);
    const auto everyone = BuildReport(store, {ReportUsers::AllUsers, 0, {3}, "7"}, kToday, englishTexts());
    ASSERT_EQ(everyone->users.size(), 3u);
}
