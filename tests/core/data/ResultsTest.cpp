// Result files: names, loading, appending, purging, rewriting, and the statistics built from them.
#include "DataFixture.h"

#include "tutor/TutorHeader.h"

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

namespace {

constexpr double kToday = 45000.75;  // 18:00 on the day the tests pretend it is

DataStore storeAt(const fs::path& dir) {
    StoreEnvironment env;
    env.now = [] { return kToday; };
    return DataStore(dir, env, quickCallbacks());
}

std::vector<double> starts(const DataStore& store) {
    std::vector<double> v;
    for (const auto& r : store.ResultList()) v.push_back(r->record.sessionStart);
    return v;
}

}  // namespace

TEST(Results, ResultFileNamesPadTheUserIdToThreeDigits) {
    const auto dir = freshDir();
    DataStore store(dir);
    for (const auto& [id, name] : std::vector<std::pair<std::int16_t, std::string>>{
             {5, "User005.dat"}, {42, "User042.dat"}, {120, "User120.dat"}, {1234, "User1234.dat"}})
        EXPECT_EQ(store.ResultFileName(id), dir / "Result" / name);
    EXPECT_TRUE(fs::is_directory(dir / "Result"));
    EXPECT_EQ(store.ResultFileName(0), fs::path());  // no selected user
}

TEST(Results, AppendedResultsLoadInFileOrderAndFilter) {
    const auto dir = freshDir();
    DataStore store = storeAt(dir);
    ASSERT_TRUE(store.AppendResult(result(7, 1, 45000.1)));
    ASSERT_TRUE(store.AppendResult(result(7, 3, 44990.0)));
    ASSERT_TRUE(store.AppendResult(result(7, 1, 44999.0)));
    EXPECT_FALSE(store.AppendResult(result(0, 1, 45000.0)));
    // A record cut short by a crash is dropped on reading, and the next append takes its place.
    const auto file = dir / "Result" / "User007.dat";
    writeBytes(file, readBytes(file) + std::string(200, '\x01'));
    store.LoadResults(7);
    EXPECT_EQ(starts(store), (std::vector<double>{45000.1, 44990.0, 44999.0}));
    ASSERT_TRUE(store.AppendResult(result(7, 2, 45000.2)));
    EXPECT_EQ(readBytes(file).size(), 4 * kResultRecordSize);

    store.LoadResults(7);
    EXPECT_EQ(store.ResultList()[3]->key(), ResultKey(result(7, 2, 45000.2)));
    store.FilterResults(1, -1);
    EXPECT_EQ(store.FilteredResults().size(), 2u);
    store.FilterResults(-1, 44999.0);
    EXPECT_EQ(store.FilteredResults().size(), 3u);
    store.FilterResults(1, 45000.0);
    ASSERT_EQ(store.FilteredResults().size(), 1u);
    EXPECT_EQ(store.FilteredResults()[0]->record.sessionStart, 45000.1);

    store.LoadResults(8);  // no file: an empty list
    EXPECT_TRUE(store.ResultList().empty());
}

TEST(Results, PurgeKeepsLiveResultsFromTheCutOffOnByteForByte) {
    const auto dir = freshDir();
    DataStore store = storeAt(dir);
    const auto file = store.ResultFileName(7);
    const std::string keptA = asString(encodeResultRecord(result(7, 1, 45000.0)));
    const std::string keptB = asString(encodeResultRecord(result(7, 2, 45001.0)));
    writeBytes(file, asString(encodeResultRecord(result(7, 1, 44000.0))) + keptA +
                         asString(encodeResultRecord(result(0, 1, 45500.0))) + keptB);
    ASSERT_TRUE(store.PurgeResults(7, 45000.0));
    EXPECT_EQ(readBytes(file), keptA + keptB);

    ASSERT_TRUE(store.PurgeResults(7, 46000.0));
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(readBytes(file), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Result"), fs::directory_iterator()), 1);
}

TEST(Results, RewriteResultsReplacesTheSelectedUsersFile) {
    const auto dir = freshDir();
    DataStore store = storeAt(dir);
    store.SaveUser(user(7, "a", "A", "A"));
    store.LoadUsers();
    for (double start : {45000.0, 45001.0, 45002.0}) store.AppendResult(result(7, 1, start));
    store.LoadResults(7);
    writeBytes(store.ResultFileName(7), asString(encodeResultRecord(result(7, 1, 45000.0))));
    ASSERT_TRUE(store.RewriteResults());
    store.LoadResults(7);
    EXPECT_EQ(starts(store), (std::vector<double>{45000.0, 45001.0, 45002.0}));
}

TEST(Statistics, PeriodSumsLastValuesAndAveragesPerExercise) {
    const auto dir = freshDir();
    DataStore store = storeAt(dir);
    ASSERT_TRUE(store.SaveUser(user(7, "a", "Anna", "Berg")));
    // Exercise 1: two sessions today, one yesterday; answer times 0.01 over 10 and 0.09 over 30 questions.
    ResultRecord r1 = result(7, 1, 45000.5, 8, 10);
    ResultRecord r2 = result(7, 1, 45000.25, 20, 30);
    r2.answerTime = 0.09;
    r2.setupName = "Older today";
    ResultRecord r3 = result(7, 1, 44999.9, 5, 5);
    // Exercise 5 (rhythm): Correct holds the average score of a session.
    ResultRecord r4 = result(7, 5, 45000.1, 80, 4);
    ResultRecord r5 = result(7, 5, 45000.2, 90, 4);
    ResultRecord r6 = result(7, 5, 45000.3, 100, 4);
    ResultRecord stray = result(7, 11, 45000.4);  // no such exercise
    for (const auto& r : {r1, r2, r3, r4, r5, r6, stray}) ASSERT_TRUE(store.AppendResult(r));

    store.LoadUsers();
    TUserInfo& anna = *store.UserList()[0];
    store.StatisticsPeriod = 0;
    store.ComputeStatistics(anna);
    ASSERT_TRUE(anna.statisticsValid);
    const ExerciseStatistics& s1 = anna.statistics[0];
    EXPECT_EQ(s1.periodSessions, 2);
    EXPECT_EQ(s1.periodQuestions, 40u);
    EXPECT_EQ(s1.periodCorrect, 28u);
    EXPECT_DOUBLE_EQ(s1.periodDuration, 0.02);
    EXPECT_DOUBLE_EQ(s1.averageAnswerTime, 0.1 / 40);
    EXPECT_EQ(s1.lastDate, 45000.5);
    EXPECT_EQ(s1.lastCorrect, 8);
    EXPECT_EQ(anna.statistics[4].periodCorrect, 90u);
    EXPECT_EQ(anna.statistics[4].lastCorrect, 100);
    EXPECT_EQ(anna.statistics[2], ExerciseStatistics{});
    EXPECT_EQ(anna.displayName, "Anna Berg");

    // A period of two days reaches yesterday; the last values stay the newest result's.
    store.StatisticsPeriod = 2;
    store.ComputeStatistics(anna);
    EXPECT_EQ(anna.statistics[0].periodSessions, 3);
    EXPECT_EQ(anna.statistics[0].lastSetupName, "Basic");
}

TEST(Statistics, ComputeAllReadsEveryUserFreshAndNamesClassAndTutor) {
    const auto dir = freshDir();
    DataStore store = storeAt(dir);
    store.Common.commonDirectory = (dir / "common" / "").string();
    fs::create_directories(dir / "common");
    kalvintor::tutor::TutorHeader header;
    header.tutorName = "Ear basics";
    writeBytes(dir / "common" / "Basics.tut", asString(kalvintor::tutor::encodeTutorHeader(header)));

    UserRecord a = user(2, "a", "A", "A");
    a.tutorFile = "Basics.tut";
    a.classId = 3;
    UserRecord b = user(3, "b", "B", "B");
    b.tutorFile = (dir / "nowhere.tut").string();
    for (const auto& u : {a, b}) ASSERT_TRUE(store.SaveUser(u));
    ASSERT_TRUE(store.SaveClass(ClassRecord{"3C", 3, 0, "\\"}));
    ASSERT_TRUE(store.AppendResult(result(2, 1, 45000.5, 1, 2)));
    ASSERT_TRUE(store.AppendResult(result(3, 1, 45000.5, 3, 4)));

    std::vector<std::pair<int, bool>> progress;
    bool done = false;
    store.callbacks().progress = [&](int index, int count, bool computing) {
        EXPECT_EQ(count, 2);
        progress.emplace_back(index, computing);
    };
    store.callbacks().progressDone = [&] { done = true; };
    store.LoadUsers();
    store.ComputeAllStatistics(false);
    EXPECT_EQ(progress, (std::vector<std::pair<int, bool>>{{0, true}, {1, true}}));
    EXPECT_TRUE(done);
    const TUserInfo& ua = *store.UserList()[0];
    const TUserInfo& ub = *store.UserList()[1];
    EXPECT_EQ(ua.statistics[0].periodQuestions, 2u);
    EXPECT_EQ(ub.statistics[0].periodQuestions, 4u);
    EXPECT_EQ(ua.tutorTitle, "Ear basics");
    EXPECT_EQ(ub.tutorTitle, "");
    EXPECT_EQ(ua.className, "3C");

    // Results saved elsewhere meanwhile are counted by a forced refresh.
    ASSERT_TRUE(store.AppendResult(result(2, 1, 45000.6, 1, 5)));
    progress.clear();
    store.ComputeAllStatistics(false);
    EXPECT_EQ(progress, (std::vector<std::pair<int, bool>>{{0, false}, {1, false}}));
    store.ComputeAllStatistics(true);
    EXPECT_EQ(store.UserList()[0]->statistics[0].periodQuestions, 7u);
}
