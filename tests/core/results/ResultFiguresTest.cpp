// Durations, result bars, class tables and progress as the results window shows them.
#include "ResultsFixture.h"
#include "results/Figures.h"
#include "results/ResultColumns.h"
#include "results/ResultFormat.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::results;
using namespace kalvintor::results::testing_support;

TEST(ResultFormat, DurationsShowTheTimeOfDayOnly) {
    const double second = 1.0 / 86400.0;
    EXPECT_EQ(FormatDuration(1.0 + 2.0 / 24.0, true), "2:00:00") << "whole days are not shown";
    EXPECT_EQ(FormatDuration(95 * second, true), "0:01:35");
    EXPECT_EQ(FormatDuration(95 * second, false), "0:01");
    EXPECT_EQ(FormatDuration(13 * 3600 * second + 5 * 60 * second, false, "."), "13.05");
    EXPECT_EQ(FormatDuration(-0.5, true), "0:00:00");
}

TEST(ResultFormat, ResultBarsOfCountedAndScoredExercises) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 7; };
    // A rhythm result holds its average score: the number shown is the questions, the bar 85 %.
    const ResultBarLayout rhythm = LayOutResultBar(5, 85, 10, 150, true, width);
    EXPECT_EQ(rhythm.numbers, "10");
    EXPECT_EQ(rhythm.numbersX, 31);
    EXPECT_EQ(rhythm.percent, 85);
    EXPECT_TRUE(rhythm.filled);
    EXPECT_EQ(rhythm.barLeft, 60);
    // "12/" ends at 31 pixels; nothing asked leaves the frame empty but keeps "0/0".
    EXPECT_EQ(LayOutResultBar(1, 12, 16, 150, true, width).numbersX, 31 - 21);
    const ResultBarLayout none = LayOutResultBar(2, 0, 0, 150, true, width);
    EXPECT_EQ(none.numbers, "0/0");
    EXPECT_FALSE(none.filled);
    // Without numbers the bar starts at 3 and needs 30 pixels.
    EXPECT_EQ(LayOutResultBar(1, 1, 2, 40, false, width).barLeft, 3);
    EXPECT_TRUE(LayOutResultBar(1, 1, 2, 33, false, width).drawBar);
    EXPECT_FALSE(LayOutResultBar(1, 1, 2, 89, true, width).drawBar);
}

TEST(ResultFormat, CsvFieldsAreQuotedOnlyWhenNeeded) {
    EXPECT_EQ(CsvField("Ada Lind"), "Ada Lind");
    EXPECT_EQ(CsvField("Lind, Ada"), "\"Lind, Ada\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
}

TEST(ClassTable, EntriesTheClassGetsWrongComeFirst) {
    DataStore store(freshDir(), {}, quickCallbacks());
    MakeSchool(store);
    // Major thirds (5) are right 9 of 10, minor thirds (4) 3 of 10, fifths (8) 5 of 10 — and an
    // old session before the period would have made minor thirds look good.
    ASSERT_TRUE(store.AppendResult(withEntry(withEntry(result(2, 2, kToday - 1), 5, 5, 5), 4, 1, 5)));
    ASSERT_TRUE(store.AppendResult(withEntry(withEntry(result(3, 2, kToday - 2), 5, 4, 5), 4, 2, 5)));
    ASSERT_TRUE(store.AppendResult(withEntry(result(3, 2, kToday - 2.5), 8, 5, 10)));
    ASSERT_TRUE(store.AppendResult(withEntry(result(2, 2, kToday - 40), 4, 50, 50)));
    ASSERT_TRUE(store.AppendResult(withEntry(result(2, 1, kToday - 1), 4, 0, 9))) << "another exercise";
    ASSERT_TRUE(store.AppendResult(withEntry(result(4, 2, kToday - 1), 4, 0, 9))) << "not in the class";

    const auto table = ClassEntryTable(store, 1, 2, kToday - 7);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].entry, 4);
    EXPECT_EQ(table[0].percent(), 30);
    EXPECT_EQ(table[1].entry, 8);
    EXPECT_EQ(table[1].percent(), 50);
    EXPECT_EQ(table[2].entry, 5);
    EXPECT_EQ(table[2].asked, 10u);
    EXPECT_EQ(table[2].correct, 9u);
}

TEST(Progress, SessionsInTimeOrderWithThePeriodAverage) {
    DataStore store(freshDir(), {}, quickCallbacks());
    ASSERT_TRUE(store.AppendResult(result(2, 1, kToday - 1, 9, 10)));
    ASSERT_TRUE(store.AppendResult(result(2, 1, kToday - 3, 3, 10)));
    ASSERT_TRUE(store.AppendResult(result(2, 1, kToday - 2, 0, 0))) << "nothing asked: no point";
    ASSERT_TRUE(store.AppendResult(result(2, 4, kToday - 2, 70, 8)));
    ASSERT_TRUE(store.AppendResult(result(2, 4, kToday - 1, 90, 8)));
    store.LoadResults(2);
    store.FilterResults(-1, -1);

    const Progress chords = ProgressOf(store.FilteredResults(), 1);
    ASSERT_EQ(chords.sessions.size(), 2u);
    EXPECT_EQ(chords.sessions[0].percent, 30);
    EXPECT_EQ(chords.sessions[1].percent, 90);
    EXPECT_EQ(chords.average, 60);
    const Progress rhythm = ProgressOf(store.FilteredResults(), 4);
    EXPECT_EQ(rhythm.average, 80) << "the mean of the sessions' scores";
}

TEST(ResultColumns, TogglesAndEntriesAskedInTheListedRows) {
    using data::ResultRecord;
    std::vector<ResultRecord> rows(2);
    rows[0].itemStats[4] = {1, 2};   // entry 5
    rows[1].itemStats[29] = {0, 1};  // entry 30
    const std::array<bool, kBaseColumns> all{true, true, true, true, true, true};
    EXPECT_EQ(ShownColumns(all, false, 2, rows), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(ShownColumns(all, true, 2, rows), (std::vector<int>{0, 1, 2, 3, 4, 5, 15, 40}));
    EXPECT_EQ(ShownColumns(all, true, 3, rows), (std::vector<int>{0, 1, 2, 3, 4, 5})) << "no details for 3";
    const std::array<bool, kBaseColumns> none{};
    EXPECT_EQ(ShownColumns(none, true, 1, {}), (std::vector<int>{0, 5})) << "date and total stay";
}
