// Accounts made before the workstations run: init of a new data directory, one account added, a
// class roster imported with its faulty rows, beside a workstation that saves results.
#include "AdminFixture.h"

#include "../core/data/SmallDisk.h"
#include "../core/data/Workstation.h"
#include "admin/Roster.h"
#include "data/RecordScan.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <iterator>
#include <set>

extern char** environ;

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;
using kalvintor::testing_support::SmallDisk;
namespace ws = kalvintor::data::workstation;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// The users of the directory by login, read through the store.
std::map<std::string, data::UserRecord> usersOf(const fs::path& dir) {
    data::DataStore store(dir);
    store.LoadUsers();
    std::map<std::string, data::UserRecord> users;
    for (const auto& u : store.UserList()) users[u->record.loginName] = u->record;
    return users;
}

std::map<std::int16_t, std::string> classesOf(const fs::path& dir) {
    data::DataStore store(dir);
    store.LoadClasses();
    std::map<std::int16_t, std::string> classes;
    for (const auto& c : store.ClassList()) classes[c->record.classId] = c->record.className;
    return classes;
}

// The password column of a printed table row of `login` (the last field of its line).
std::string passwordOf(const std::string& table, const std::string& login) {
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> w{std::istream_iterator<std::string>(words), {}};
        if (w.size() > 2 && w[1] == login) return w.back();
    }
    return {};
}

bool logsIn(const fs::path& dir, const std::string& login, const std::string& password) {
    data::DataStore store(dir);
    return store.CheckLogin(login, password);
}

fs::path rosterFile(const fs::path& dir, const std::string& bytes, const std::string& name = "roster.csv") {
    writeBytes(dir / name, bytes);
    return dir / name;
}

pid_t spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(RosterFile, ReadsEncodingsDelimitersQuotesAndLineEnds) {
    struct Case {
        const char* what;
        std::string bytes;
        char delimiter;
        std::vector<std::vector<std::string>> rows;  // first, last, login, class, level
    };
    const Case cases[] = {
        {"UTF-8, commas, LF",
         "First name,Last name,Login,Class,Level\nZo\xC3\xAB,Berg,zoe,3a,\n",
         ',',
         {{"Zo\xC3\xAB", "Berg", "zoe", "3a", ""}}},
        {"BOM, semicolons, CRLF, columns in another order",
         "\xEF\xBB\xBFLogin;Level;Surname;First Name;Class\r\nbo;Teacher; Lind ;Bo;3a\r\n",
         ';',
         {{"Bo", "Lind", "bo", "3a", "Teacher"}}},
        {"code page 1252 export",
         "First name;Last name;Login\r\nJos\xE9;M\xFCller;jose\r\n",
         ';',
         {{"Jos\xC3\xA9", "M\xC3\xBCller", "jose", "", ""}}},
        {"quoted delimiters, quotes and an empty spreadsheet row",
         "first_name,last_name,login,class\n\"Ann, \"\"A\"\"\",Lee,ann,\"4;b\"\n,,,\n\nCy,Dahl,cy,4b",
         ',',
         {{"Ann, \"A\"", "Lee", "ann", "4;b", ""}, {"Cy", "Dahl", "cy", "4b", ""}}},
        {"a lone CR ends lines",
         "First name,Last name,Login\rEva,Ek,eva\r",
         ',',
         {{"Eva", "Ek", "eva", "", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = parseRoster(c.bytes);
        ASSERT_TRUE(parsed.roster) << parsed.error;
        EXPECT_EQ(parsed.roster->delimiter, c.delimiter);
        ASSERT_EQ(parsed.roster->rows.size(), c.rows.size());
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            const auto& r = parsed.roster->rows[i];
            EXPECT_EQ((std::vector<std::string>{r.firstName, r.lastName, r.login, r.className, r.level}),
                      c.rows[i]);
        }
    }
    // Row numbers are the lines of the file, also after a quoted line break.
    const auto parsed = parseRoster("First name,Last name,Login\n\"A\nB\",C,d\n\nE,F,g\n");
    ASSERT_TRUE(parsed.roster);
    EXPECT_EQ(parsed.roster->rows[0].line, 2);
    EXPECT_EQ(parsed.roster->rows[1].line, 5);
}

TEST(RosterFile, PasswordsAreReadableAndDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const auto password = generatePassword();
        EXPECT_EQ(password.size(), 10u);
        EXPECT_EQ(password.find_first_of("0Oo1lIi5Ss2Zz8BuvV"), std::string::npos) << password;
        seen.insert(password);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(RosterImport, MakesAccountsFillsClassesAndRefusesEachFaultyRowByNumber) {
    const auto root = freshDir();
    School school(root);
    const auto existingClass = school.addClass("3a");
    school.addUser("anna", "Anna", "Berg", existingClass.classId);
    const std::string roster =
        "First name;Last name;Login;Class;Level\r\n"
        "Bo;Lind;bo;3A;\r\n"                               // 2: into the existing class
        "Cy;Dahl;cy;4b;teacher\r\n"                        // 3: a new class
        "Anna;Other;ANNA;4b;\r\n"                          // 4: login of an existing user
        "Zo\xC3\xAB;\xC5\x81ukasz;zoe;4b;Student\r\n"      // 5: \xC5\x81 is not in the code page
        ";Empty;;4b;\r\n"                                  // 6: no login
        "Dan;Berg;dan;4b;pupil\r\n"                        // 7: unknown level
        "Bob;Again;BO;4b;\r\n"                             // 8: twice in the file
        "Maximiliane-Josephine;Wittelsbacher;max;4b;\r\n"  // 9: 36 characters of name
        "Eva;Ek\r\n";                                      // 10: a column missing
    const auto file = rosterFile(root, roster);

    const auto r = runAdmin(school.data, {"users", "import", file.string()});
    EXPECT_EQ(r.code, kExitFailed) << r.err;
    EXPECT_TRUE(
        contains(r.err, "roster.csv: row 4: login \"ANNA\" belongs to an existing user (Anna Berg, id 2)"))
        << r.err;
    EXPECT_TRUE(contains(r.err, "row 5: warning: last name"));
    EXPECT_TRUE(contains(r.err, "row 6: has no login"));
    EXPECT_TRUE(contains(r.err, "row 7: has the unknown level \"pupil\""));
    EXPECT_TRUE(contains(r.err, "row 8: login \"BO\" is given twice in the file (first on row 2)"));
    EXPECT_TRUE(contains(r.err, "row 9: name \"Maximiliane-Josephine Wittelsbacher\" is longer than 30"));
    EXPECT_TRUE(contains(r.err, "row 10: has fewer fields than the header names columns"));
    EXPECT_EQ(countOf(r.err, "; not created\n"), 6u);
    EXPECT_TRUE(contains(r.err, "created 3 accounts and 1 class; 6 rows not created"));

    const auto users = usersOf(school.data);
    ASSERT_EQ(users.size(), 4u);
    const auto classes = classesOf(school.data);
    ASSERT_EQ(classes.size(), 2u);
    EXPECT_EQ(users.at("bo").classId, existingClass.classId);
    EXPECT_EQ(classes.at(users.at("cy").classId), "4b");
    EXPECT_EQ(users.at("zoe").classId, users.at("cy").classId);
    EXPECT_EQ(users.at("cy").accessLevel, data::kTeacher);
    EXPECT_TRUE(users.at("cy").allowEditChords);
    EXPECT_EQ(users.at("bo").accessLevel, data::kStudent);
    EXPECT_FALSE(users.at("bo").allowExerciseSetup);
    // The name is stored in the records' code page: ë as one byte, the unknown letter as '?'.
    const std::string bytes = readBytes(school.data / "User.dat");
    EXPECT_TRUE(contains(bytes, std::string("\x0AZo\xEB\xA7?ukasz", 11)));
    EXPECT_EQ(users.at("anna").fullName, data::joinFullName("Anna", "Berg"));
    // Each printed password logs its account in.
    for (const char* login : {"bo", "cy", "zoe"}) {
        const auto password = passwordOf(r.out, login);
        EXPECT_EQ(password.size(), 10u) << r.out;
        EXPECT_TRUE(logsIn(school.data, login, password)) << login;
    }
    EXPECT_FALSE(contains(r.out, "dan"));
}

TEST(RosterImport, FilesThatAreNoRosterAreRefusedWholeAndCreateNothing) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    std::string garbage(3000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919) % 251);
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"tabs", "First name\tLast name\tLogin\nBo\tLind\tbo\n", "must name the columns"},
        {"no header", "Bo,Lind,bo,3a,student\nCy,Dahl,cy,3a,student\n", "no column is named"},
        {"a column missing", "First name;Last name;Class\nBo;Lind;3a\n", "missing: login"},
        {"a column twice", "First name,Last name,Login,Login\nBo,Lind,bo,b\n",
         "names the column login twice"},
        {"binary", garbage, "is not a text file"},
        {"text that is no roster", "Dear parents,\nthe school year starts on Monday.\n",
         "must name the columns"},
        {"a quote never closed", "First name,Last name,Login\n\"Bo,Lind,bo\nCy,Dahl,cy\n", "never closed"},
        {"empty", "\xEF\xBB\xBF\r\n", "is empty"},
        {"a header only", "First name,Last name,Login\r\n", "no rows"},
    };
    const auto before = snapshot(school.data);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto file = rosterFile(root, c.bytes);
        const auto r = runAdmin(school.data, {"users", "import", file.string()});
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_TRUE(contains(r.err, c.message)) << r.err;
        EXPECT_TRUE(contains(r.err, "nothing was created")) << r.err;
        EXPECT_EQ(countOf(r.err, "\n"), 1u) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(snapshot(school.data), before);
    }
    const auto r = runAdmin(school.data, {"users", "import", (root / "absent.csv").string()});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(contains(r.err, "does not exist"));
}

TEST(RosterImport, DryRunChangesNothingAndThePasswordFileIsNewAndPrivate) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    const auto file = rosterFile(root, "First name,Last name,Login,Class\nBo,Lind,bo,3a\nCy,Dahl,cy,3a\n");
    const auto before = snapshot(school.data);

    const auto dry = runAdmin(school.data, {"users", "import", file.string(), "--dry-run"});
    EXPECT_EQ(dry.code, kExitOk) << dry.err;
    EXPECT_TRUE(contains(dry.err, "would create 2 accounts and 1 class")) << dry.err;
    EXPECT_TRUE(contains(dry.out, "bo")) << dry.out;
    EXPECT_EQ(snapshot(school.data), before);

    const auto passwords = root / "passwords.csv";
    const auto r =
        runAdmin(school.data, {"users", "import", file.string(), "--passwords", passwords.string()});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    struct stat info {};
    ASSERT_EQ(::stat(passwords.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const std::string list = readBytes(passwords);
    EXPECT_TRUE(list.starts_with("login,name,class,level,password\r\n")) << list;
    // The passwords are in the file only, and they log in.
    const auto line = list.substr(list.find("bo,"), list.find("\r\n", list.find("bo,")) - list.find("bo,"));
    const auto password = line.substr(line.rfind(',') + 1);
    EXPECT_TRUE(logsIn(school.data, "bo", password)) << line;
    EXPECT_FALSE(contains(r.out, password));
    EXPECT_TRUE(contains(r.out, "Cy Dahl"));

    // An existing file is never overwritten, and nothing is made then.
    const auto again = rosterFile(root, "First name,Last name,Login\nDan,Berg,dan\n", "more.csv");
    const auto afterFirst = snapshot(school.data);
    const auto refused =
        runAdmin(school.data, {"users", "import", again.string(), "--passwords", passwords.string()});
    EXPECT_EQ(refused.code, kExitFailed);
    EXPECT_TRUE(contains(refused.err, "exists already")) << refused.err;
    EXPECT_EQ(readBytes(passwords), list);
    EXPECT_EQ(snapshot(school.data), afterFirst);
    // A dry run says so beforehand.
    const auto dryAgain = runAdmin(
        school.data, {"users", "import", again.string(), "--dry-run", "--passwords", passwords.string()});
    EXPECT_EQ(dryAgain.code, kExitFailed);
    EXPECT_TRUE(contains(dryAgain.err, "exists already")) << dryAgain.err;
}

TEST(RosterImport, TenThousandRowsWithProgress) {
    const auto root = freshDir();
    School school(root);
    school.addUser("head", "School", "Head", 0, data::kAdministrator);
    std::string roster = "First name;Last name;Login;Class;Level\n";
    for (int i = 0; i < 10000; ++i)
        roster += "Student;Number" + std::to_string(i) + ";s" + std::to_string(i) + ";Class " +
                  std::to_string(i % 40) + ";student\n";
    const auto file = rosterFile(root, roster);
    const auto r = runAdmin(school.data, {"users", "import", file.string(), "--csv"});
    ASSERT_EQ(r.code, kExitOk) << r.err.substr(0, 2000);
    EXPECT_TRUE(contains(r.err, "checked 5000 of 10000 rows"));
    EXPECT_TRUE(contains(r.err, "created 10000 accounts and 40 classes"));
    EXPECT_EQ(countOf(r.out, "\n"), 10001u);
    const auto users = usersOf(school.data);
    EXPECT_EQ(users.size(), 10001u);
    EXPECT_EQ(classesOf(school.data).size(), 40u);
    EXPECT_EQ(users.at("s9999").fullName, data::joinFullName("Student", "Number9999"));
    // The next account takes the id after the block.
    data::DataStore store(school.data);
    EXPECT_EQ(store.NextId(data::IdKind::User), 10003);
}

TEST(RosterImport, BesideAWorkstationSavingResultsEveryResultAndAccountSurvives) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    constexpr int kResults = 2000;
    constexpr int kWorkstationUsers = 150;
    const pid_t appender = spawn(
        {KALVINTOR_DATA_WORKSTATION, "append", school.data.string(), "2", std::to_string(kResults), "5"});
    const pid_t adder =
        spawn({KALVINTOR_DATA_WORKSTATION, "users", school.data.string(), std::to_string(kWorkstationUsers)});
    constexpr int kRosters = 6;
    constexpr int kRows = 300;
    for (int n = 0; n < kRosters; ++n) {
        std::string roster = "First name,Last name,Login,Class\n";
        for (int i = 0; i < kRows; ++i)
            roster += "A,B" + std::to_string(i) + ",r" + std::to_string(n) + "x" + std::to_string(i) + ",c" +
                      std::to_string(n) + "\n";
        const auto file = rosterFile(root, roster);
        const auto r = runAdmin(school.data, {"users", "import", file.string()}, Waits::Real);
        EXPECT_EQ(r.code, kExitOk) << r.err;
    }
    EXPECT_EQ(finish(appender), 0);
    EXPECT_EQ(finish(adder), 0);

    const auto users = usersOf(school.data);
    EXPECT_EQ(users.size(), static_cast<std::size_t>(1 + kWorkstationUsers + kRosters * kRows));
    std::set<std::int16_t> ids;
    for (const auto& [login, u] : users) ids.insert(u.userId);
    EXPECT_EQ(ids.size(), users.size());
    EXPECT_EQ(readBytes(school.data / "User.dat").size() % data::kUserRecordSize, 0u);
    const std::string results = readBytes(school.data / "Result" / "User002.dat");
    ASSERT_EQ(results.size(), kResults * data::kResultRecordSize);
    for (std::size_t i = 0; i < kResults; ++i)
        EXPECT_TRUE(
            ws::isWhole(*data::decodeResultRecord(data::recordAt(results, data::kResultRecordSize, i))));
}

TEST(RosterImport, AReadOnlyDataDirectorySaysSoAndMakesNothing) {
    const auto root = freshDir();
    SmallDisk disk(root / "disk", 512);
    KALVINTOR_NEED_SMALL_DISK(disk);
    ASSERT_EQ(runAdmin(disk.root(), {"init", "--admin", "head"}).code, kExitOk);
    const auto file = rosterFile(root, "First name,Last name,Login,Class\nBo,Lind,bo,3a\nCy,Dahl,cy,4b\n");
    const auto before = snapshot(disk.root());
    ASSERT_TRUE(disk.setReadOnly(true));
    const auto r = runAdmin(disk.root(), {"users", "import", file.string()});
    const auto add = runAdmin(disk.root(), {"users", "add", "dan", "Dan", "Berg"});
    EXPECT_TRUE(disk.setReadOnly(false));
    for (const auto& run : {r, add}) {
        EXPECT_EQ(run.code, kExitFailed);
        EXPECT_TRUE(contains(run.err, "read-only")) << run.err;
        EXPECT_TRUE(contains(run.err, "nothing was created")) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(snapshot(disk.root()), before);
}

TEST(Init, PreparesAnEmptyFolderSoThatAccountsCanBeMadeAndListed) {
    const auto root = freshDir();
    const auto data = root / "School" / "Data";
    EXPECT_TRUE(contains(runAdmin(data, {"users"}).err, "kalvintor-admin --data DIR init"));

    const auto init = runAdmin(data, {"init", "--admin", "head", "--password", "s3cret"});
    ASSERT_EQ(init.code, kExitOk) << init.err;
    EXPECT_TRUE(contains(init.out, "head"));
    // As the program's first start leaves it: the default options, counters past the administrator.
    data::CommonRecord expected;
    expected.nextUserId = 3;
    const auto common = readBytes(data / "Common.dat");
    ASSERT_EQ(common.size(), data::kCommonRecordSize);
    EXPECT_EQ(*data::decodeCommonRecord(data::asBytes(common)), expected);
    EXPECT_EQ(readBytes(data / "Setting.dat").size(), 816u);
    EXPECT_EQ(readBytes(data / "User.dat").size(), data::kUserRecordSize);
    EXPECT_TRUE(logsIn(data, "HEAD", "s3cret"));
    data::DataStore store(data);
    EXPECT_EQ(store.CountAdministrators(), 1);

    const auto roster =
        rosterFile(root, "First name,Last name,Login,Class,Level\nBo,Lind,bo,3a,\nCy,Dahl,cy,3a,teacher\n");
    ASSERT_EQ(runAdmin(data, {"users", "import", roster.string()}).code, kExitOk);
    const auto added =
        runAdmin(data, {"users", "add", "dan", "Dan", "Berg", "--class", "3A", "--password", "pw"});
    ASSERT_EQ(added.code, kExitOk) << added.err;
    EXPECT_TRUE(logsIn(data, "dan", "pw"));
    const auto listed = runAdmin(data, {"users", "--csv"});
    ASSERT_EQ(listed.code, kExitOk) << listed.err;
    EXPECT_TRUE(contains(listed.out, "3,bo,Bo Lind,student,1,3a,,"));
    EXPECT_TRUE(contains(listed.out, "4,cy,Cy Dahl,teacher,1,3a,,"));
    EXPECT_TRUE(contains(listed.out, "5,dan,Dan Berg,student,1,3a,,"));
    EXPECT_TRUE(contains(listed.out, "2,head,School Administrator,administrator,0,"));
    const auto twice = runAdmin(data, {"users", "add", "DAN", "Dan", "Other"});
    EXPECT_EQ(twice.code, kExitFailed);
    EXPECT_TRUE(contains(twice.err, "login \"DAN\" belongs to an existing user (Dan Berg, id 5)"))
        << twice.err;

    // A folder with data is refused as it is, whether it holds the files or their Data folder.
    for (const auto& dir : {data, data.parent_path()}) {
        const auto before = snapshot(data);
        const auto again = runAdmin(dir, {"init"});
        EXPECT_EQ(again.code, kExitFailed);
        EXPECT_TRUE(contains(again.err, "holds data already")) << again.err;
        EXPECT_EQ(snapshot(data), before);
    }
}

TEST(Init, CommandLineAndHelpOfTheAccountCommands) {
    const auto root = freshDir();
    const std::pair<std::vector<std::string>, std::string> helps[] = {
        {{"help", "users", "import"}, "users import ROSTER"},
        {{"users", "add", "--help"}, "users add LOGIN FIRST LAST"},
        {{"init", "--help"}, "init [--admin"},
        {{"help", "import"}, "import FOLDER USER"},
    };
    for (const auto& [args, usage] : helps) {
        const auto r = runAdmin(root / "Data", args);
        EXPECT_EQ(r.code, kExitOk);
        EXPECT_TRUE(contains(r.out, "Usage: kalvintor-admin [--data DIR] " + usage)) << r.out;
    }
    EXPECT_TRUE(contains(runAdmin(root / "Data", {"--help"}).out, "users import ROSTER"));
    EXPECT_EQ(runAdmin(root / "Data", {"users", "add", "bo", "Bo"}).code, kExitUsage);
    EXPECT_EQ(runAdmin(root / "Data", {"users", "import"}).code, kExitUsage);
    EXPECT_EQ(runAdmin(root / "Data", {"init", "--password", "sixteen-letters!"}).code, kExitUsage);
}
