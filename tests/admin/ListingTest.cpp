// Listings: users and classes, results as table, CSV and JSON, and the overview's statistics.
#include "AdminFixture.h"

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;

namespace {

// anna (2) in class 3a, bo (3) its teacher, "Zoé" (4) with a quote in her name and no class.
struct Listed : ::testing::Test {
    fs::path root = freshDir();
    School school{root};
    data::ClassRecord klass;
    void SetUp() override {
        school.addUser("anna", "Anna", "Berg", 1);
        school.addUser("bo", "Bo", "Alm", 0, data::kTeacher);
        auto zoe = school.addUser("zoe", "Zo\xC3\xA9", "O\"Neil");
        zoe.tutorFile = "\\";
        zoe.setupFile = "/srv/setups/Basic, level 1.lvs";
        school.store->SaveUser(zoe);
        klass = school.addClass("3a", 3);
    }
};

}  // namespace

TEST_F(Listed, UsersAndClassesAsJsonCarryEveryColumnInUtf8) {
    const auto users = runAdmin(school.data, {"users", "--json"});
    ASSERT_EQ(users.code, kExitOk) << users.err;
    // Sorted as the program's user list: by last name.
    EXPECT_EQ(
        users.out,
        "[{\"id\":3,\"login\":\"bo\",\"name\":\"Bo Alm\",\"level\":\"teacher\",\"class_id\":0,\"class\":\"\","
        "\"tutor\":\"\",\"setup\":\"\"},"
        "{\"id\":2,\"login\":\"anna\",\"name\":\"Anna Berg\",\"level\":\"student\",\"class_id\":1,"
        "\"class\":\"3a\",\"tutor\":\"\",\"setup\":\"\"},"
        "{\"id\":4,\"login\":\"zoe\",\"name\":\"Zo\xC3\xA9 O\\\"Neil\",\"level\":\"student\",\"class_id\":0,"
        "\"class\":\"\",\"tutor\":\"\",\"setup\":\"/srv/setups/Basic, level 1.lvs\"}]\n");

    const auto classes = runAdmin(school.data, {"classes", "--json"});
    ASSERT_EQ(classes.code, kExitOk);
    EXPECT_EQ(
        classes.out,
        "[{\"id\":1,\"name\":\"3a\",\"teacher_id\":3,\"teacher\":\"bo\",\"tutor\":\"\",\"members\":1}]\n");

    // The table lines up its columns by characters, not bytes.
    const auto table = runAdmin(school.data, {"users"});
    std::istringstream lines(table.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_EQ(header.find("login"), 4u);
    while (std::getline(lines, line)) EXPECT_EQ(line.find_first_not_of("0123456789 "), 4u) << line;
}

TEST_F(Listed, ResultsAsCsvQuoteFieldsAndCarryTheResultsWindowFigures) {
    school.add(result(2, 1, at(2024, 3, 1, 9, 30), 8, 10, "Triads, \"easy\""));
    school.add(result(2, 4, at(2024, 3, 2, 14), 85, 10));  // rhythm: Correct is the average score
    school.add(result(2, 2, at(2024, 3, 5, 8), 0, 0));
    auto stepped = result(4, 8, at(2024, 3, 6, 10), 3, 4, "Step A");
    stepped.tutorName = "Scales course";
    stepped.tutorStep = 2;
    school.add(stepped);

    const auto csv = runAdmin(school.data, {"results", "--csv"});
    ASSERT_EQ(csv.code, kExitOk) << csv.err;
    EXPECT_EQ(
        csv.out,
        "user_id,login,date,time,exercise,exercise_name,tutor,step,setup,correct,questions,percent,duration,"
        "answer_time\r\n"
        "2,anna,2024-03-01,09:30:00,1,Chord identification,,0,\"Triads, "
        "\"\"easy\"\"\",8,10,80,0:01:35,0:00:30\r\n"
        "2,anna,2024-03-02,14:00:00,4,Rhythm imitation,,0,Basic,85,10,85,0:01:35,0:00:30\r\n"
        "2,anna,2024-03-05,08:00:00,2,Interval identification,,0,Basic,0,0,,0:01:35,0:00:30\r\n"
        "4,zoe,2024-03-06,10:00:00,8,Scales,Scales course,2,Step A,3,4,75,0:01:35,0:00:30\r\n");

    const auto json = runAdmin(school.data, {"results", "--json", "--user", "ZOE"});
    ASSERT_EQ(json.code, kExitOk);
    EXPECT_EQ(
        json.out,
        "[{\"user_id\":4,\"login\":\"zoe\",\"date\":\"2024-03-06\",\"time\":\"10:00:00\",\"exercise\":8,"
        "\"exercise_name\":\"Scales\",\"tutor\":\"Scales course\",\"step\":2,\"setup\":\"Step A\","
        "\"correct\":3,\"questions\":4,\"percent\":75,\"duration\":95,\"answer_time\":30}]\n");

    struct Filter {
        std::vector<std::string> args;
        std::size_t rows;
    };
    const Filter filters[] = {
        {{"--user", "2"}, 3},           {{"--user", "anna", "--exercise", "4"}, 1},
        {{"--since", "2024-03-02"}, 3}, {{"--since", "2024-03-02T14:01"}, 2},
        {{"--user", "bo"}, 0},
    };
    for (const auto& f : filters) {
        std::vector<std::string> args{"results", "--csv"};
        args.insert(args.end(), f.args.begin(), f.args.end());
        const auto r = runAdmin(school.data, args);
        EXPECT_EQ(r.code, kExitOk);
        EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')), f.rows + 1)
            << ::testing::PrintToString(f.args);
    }
    const auto unknown = runAdmin(school.data, {"results", "--user", "nobody"});
    EXPECT_EQ(unknown.code, kExitFailed);
    EXPECT_NE(unknown.err.find("no user \"nobody\""), std::string::npos);
}

TEST_F(Listed, StatisticsSumThePeriodAsTheUserOverviewDoes) {
    // Today is 2024-03-20; a week back is 2024-03-13 00:00.
    school.add(result(2, 4, at(2024, 3, 14), 80, 10));
    school.add(result(2, 4, at(2024, 3, 18), 90, 10));
    school.add(result(2, 4, at(2024, 3, 19), 100, 10));
    school.add(result(2, 1, at(2024, 3, 1), 5, 10, "Old"));
    school.add(result(2, 1, at(2024, 3, 20, 9), 6, 8, "Today"));
    school.add(result(4, 2, at(2024, 3, 20, 10), 1, 2));

    const auto week = runAdmin(school.data, {"stats", "--csv", "--class", "3a"});
    ASSERT_EQ(week.code, kExitOk) << week.err;
    EXPECT_EQ(
        week.out,
        "user_id,login,name,class,exercise,exercise_name,last_date,last_setup,last_tutor,last_correct,"
        "last_questions,last_percent,sessions,period_correct,period_questions,period_percent,period_duration,"
        "average_answer_time\r\n"
        "2,anna,Anna Berg,3a,1,Chord identification,2024-03-20,Today,,6,8,75,1,6,8,75,0:01:35,0:00:04\r\n"
        "2,anna,Anna Berg,3a,4,Rhythm imitation,2024-03-19,Basic,,100,10,100,3,90,30,90,0:04:45,0:00:03\r\n");

    // A period of 0 days counts only today's sessions; the last values stay the newest.
    const auto today = runAdmin(school.data, {"stats", "--json", "--period", "0", "--user", "anna"});
    ASSERT_EQ(today.code, kExitOk);
    EXPECT_NE(
        today.out.find("\"exercise\":4,\"exercise_name\":\"Rhythm imitation\",\"last_date\":\"2024-03-19\""),
        std::string::npos);
    EXPECT_NE(
        today.out.find("\"sessions\":0,\"period_correct\":0,\"period_questions\":0,\"period_percent\":null"),
        std::string::npos);

    EXPECT_EQ(runAdmin(school.data, {"stats", "--class", "4b"}).code, kExitFailed);
}

TEST_F(Listed, ControlCharactersInNamesNeverReachTheTerminal) {
    // A damaged or hostile record: an escape sequence that would retitle the terminal, a line
    // break, and a C1 control that code page 1252 leaves undefined.
    auto eve = school.addUser("eve\x1b]0;owned\x07", "Eve\r\nX", "Ma\x9D");
    school.store->SaveUser(eve);
    const auto table = runAdmin(school.data, {"users"});
    ASSERT_EQ(table.code, kExitOk) << table.err;
    EXPECT_NE(table.out.find("eve ]0;owned "), std::string::npos) << table.out;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5) << "a header and four users";
    EXPECT_EQ(table.out.find_first_of(std::string("\x1b\x07\r\t", 4)), std::string::npos);
    EXPECT_EQ(table.out.find("\xC2\x9D"), std::string::npos);

    // JSON and CSV keep the text as it is, escaped or quoted as their formats ask.
    const auto json = runAdmin(school.data, {"users", "--json"});
    EXPECT_NE(json.out.find("\"login\":\"eve\\u001b]0;owned\\u0007\""), std::string::npos) << json.out;
    const auto csv = runAdmin(school.data, {"users", "--csv"});
    EXPECT_NE(csv.out.find("\"Eve\r\nX Ma\xC2\x9D\""), std::string::npos) << csv.out;
}
