// Users of User.dat: the list and its re-finding, lookups, login, saving, deleting, classes.
#include "DataFixture.h"

#include "data/RecordScan.h"
#include "records/Binary.h"

#include <algorithm>

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

namespace {

void writeUsers(const fs::path& dir, const std::vector<UserRecord>& users) {
    std::string bytes;
    for (const auto& u : users) bytes += asString(encodeUserRecord(u));
    writeBytes(dir / "User.dat", bytes);
}

std::vector<std::int16_t> listedIds(const DataStore& store) {
    std::vector<std::int16_t> ids;
    for (const auto& u : store.UserList()) ids.push_back(u->record.userId);
    return ids;
}

}  // namespace

TEST(Users, LoadUsersSortsByLastNameSkipsHolesAndIgnoresAPartialRecord) {
    const auto dir = freshDir();
    UserRecord hole = user(0, "", "Gone", "Away");
    writeUsers(dir,
               {user(2, "c", "Carl", "Zeta"), hole, user(3, "a", "anna", "berg"), user(4, "b", "Bo", "Alm")});
    // 1000 bytes: one more record cut short after 380 bytes is never used.
    auto bytes = readBytes(dir / "User.dat") + std::string(380, '\x05');
    writeBytes(dir / "User.dat", bytes);

    DataStore store(dir);
    store.LoadUsers();
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{4, 3, 2}));
    EXPECT_EQ(store.UserList()[1]->sortName, "berg, anna");
    EXPECT_EQ(store.SelectedUser(), store.UserList().front().get());

    writeBytes(dir / "User.dat",
               std::string(1000, '\0').replace(0, 620, asString(encodeUserRecord(user(9, "x", "X", "Y")))));
    store.LoadUsers();
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{9}));
}

TEST(Users, LoadUsersReusesObjectsAndKeepsCurrentAndSelectedOnTheirIds) {
    const auto dir = freshDir();
    writeUsers(dir, {user(2, "a", "A", "A"), user(3, "b", "B", "B"), user(4, "c", "C", "C")});
    DataStore store(dir);
    store.LoadUsers();
    ASSERT_TRUE(store.FindUser(4, "", true));
    store.setSelectedUser(store.UserList()[2].get());
    const TUserInfo* firstObject = store.UserList()[0].get();

    // GIVEN another workstation deleted user 2 and added user 5 ahead of the others
    writeUsers(dir, {user(5, "e", "E", "0"), user(3, "b", "B", "B"), user(4, "c", "C", "C")});
    store.LoadUsers();
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{5, 3, 4}));
    EXPECT_EQ(store.CurrentUser()->record.userId, 4);
    EXPECT_EQ(store.SelectedUser()->record.userId, 4);
    EXPECT_EQ(store.UserList()[0].get(), firstObject);  // the object at position 1 was reused
    EXPECT_FALSE(store.UserList()[0]->statisticsValid);

    // WHEN the list shrinks under the current and selected users, they fall back to the first user
    writeUsers(dir, {user(3, "b", "B", "B")});
    store.LoadUsers();
    EXPECT_EQ(store.CurrentUser()->record.userId, 3);
    EXPECT_EQ(store.SelectedUser()->record.userId, 3);

    writeUsers(dir, {});
    store.LoadUsers();
    EXPECT_EQ(store.SelectedUser(), nullptr);
}

TEST(Users, FindUserAndCheckLogin) {
    const auto dir = freshDir();
    UserRecord anna = user(2, "Anna", "Anna", "Berg");
    anna.password = ScramblePassword("Secret");
    UserRecord bo = user(3, "bo", "Bo", "Alm");
    writeUsers(dir, {anna, bo});
    DataStore store(dir);

    EXPECT_TRUE(store.FindUser(0, "ANNA", false));
    EXPECT_TRUE(store.FindUser(3, "", false));
    EXPECT_FALSE(store.FindUser(9, "", false));
    EXPECT_FALSE(store.FindUser(0, "nobody", false));

    struct Case {
        const char* login;
        const char* password;
        bool accepted;
    };
    for (const Case& c : {Case{"anna", "Secret", true}, Case{"ANNA", "secret", false}, Case{"Bo", "", true},
                          Case{"bo", "x", false}, Case{"carl", "", false}})
        EXPECT_EQ(store.CheckLogin(c.login, c.password), c.accepted) << c.login << "/" << c.password;

    ASSERT_TRUE(store.CheckLogin("anna", "Secret"));
    EXPECT_EQ(store.CurrentUser()->record.loginName, "ANNA");  // the current user's name upper-cased
}

TEST(Users, FindUserNeverOverwritesAnotherUsersListObject) {
    const auto dir = freshDir();
    writeUsers(dir, {user(2, "a", "A", "A")});
    DataStore store(dir);
    store.LoadUsers();
    ASSERT_TRUE(store.FindUser(2, "", true));
    // GIVEN a user created on another workstation after the list was loaded
    writeUsers(dir, {user(2, "a", "A", "A"), user(3, "new", "New", "User")});
    ASSERT_TRUE(store.FindUser(0, "new", true));
    EXPECT_EQ(store.CurrentUser()->record.userId, 3);
    ASSERT_EQ(store.UserList().size(), 1u);
    EXPECT_EQ(store.UserList()[0]->record.userId, 2);
    EXPECT_EQ(store.UserList()[0]->sortName, "A, A");
}

TEST(Users, SaveUserOverwritesItsOwnRecordOrAppendsAfterTheLastWholeRecord) {
    const auto dir = freshDir();
    DataStore store(dir);
    ASSERT_TRUE(store.SaveUser(user(2, "a", "A", "A")));
    ASSERT_TRUE(store.SaveUser(user(3, "b", "B", "B")));
    UserRecord changed = user(2, "a2", "A", "A");
    changed.tutorStep[4] = 7;
    ASSERT_TRUE(store.SaveUser(changed));
    EXPECT_EQ(readBytes(dir / "User.dat"),
              asString(encodeUserRecord(changed)) + asString(encodeUserRecord(user(3, "b", "B", "B"))));

    // A record torn by a crash is overwritten by the next append instead of shifting it.
    writeBytes(dir / "User.dat", readBytes(dir / "User.dat") + std::string(100, 'x'));
    ASSERT_TRUE(store.SaveUser(user(4, "c", "C", "C")));
    EXPECT_EQ(readBytes(dir / "User.dat").size(), 3 * kUserRecordSize);
    UserRecord reread;
    reread.userId = 4;
    ASSERT_TRUE(store.ReloadUser(reread));
    EXPECT_EQ(reread.loginName, "c");
    EXPECT_FALSE(store.SaveUser(user(0, "free", "", "")));
}

TEST(Users, DeletingAUserLeavesAHoleThatTheNextUserIsAppendedAfter) {
    const auto dir = freshDir();
    DataStore store(dir);
    UserRecord bo = user(3, "bo", "Bo", "Alm");
    ASSERT_TRUE(store.SaveUser(user(2, "a", "A", "A")));
    ASSERT_TRUE(store.SaveUser(bo));
    ASSERT_TRUE(store.AppendResult(result(3, 1, 45000)));
    store.LoadSettings(3, true);
    ASSERT_TRUE(store.SaveSettings(3));
    store.LoadUsers();
    TUserInfo* victim = store.UserList()[1].get();  // "A, A" sorts before "Alm, Bo"
    ASSERT_EQ(victim->record.userId, 3);
    store.setSelectedUser(victim);

    ASSERT_TRUE(store.DeleteUser(*victim));
    EXPECT_EQ(store.SelectedUser(), nullptr);
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{2}));
    EXPECT_FALSE(fs::exists(dir / "Result" / "User003.dat"));
    const std::string file = readBytes(dir / "User.dat");
    ASSERT_EQ(file.size(), 2 * kUserRecordSize);
    auto expectedHole = encodeUserRecord(bo);
    expectedHole[0] = expectedHole[1] = 0;
    expectedHole[8] = 0;
    EXPECT_EQ(file.substr(kUserRecordSize), asString(expectedHole));
    const std::string settings = readBytes(dir / "Setting.dat");
    EXPECT_EQ(settings[816], 0);  // the user's settings record is freed...
    EXPECT_EQ(settings[0], 1);    // ...and the shared one stays

    ASSERT_TRUE(store.SaveUser(user(4, "new", "N", "N")));
    EXPECT_EQ(readBytes(dir / "User.dat").size(), 3 * kUserRecordSize);
    store.LoadUsers();
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{2, 4}));
}

TEST(Users, FilterUsersByLevelAndClass) {
    const auto dir = freshDir();
    UserRecord student = user(2, "s", "S", "A");
    student.classId = 5;
    UserRecord teacher = user(3, "t", "T", "B");
    teacher.accessLevel = kTeacher;
    teacher.classId = 5;
    UserRecord admin = user(4, "x", "X", "C");
    admin.accessLevel = 0x13;  // administrators are recognised by the low four bits
    writeUsers(dir, {student, teacher, admin});
    DataStore store(dir);
    store.LoadUsers();
    EXPECT_EQ(store.CountAdministrators(), 1);
    EXPECT_TRUE(admin.isAdministrator());
    EXPECT_FALSE(teacher.isAdministrator());

    struct Case {
        int mask, classId;
        std::vector<std::int16_t> ids;
    };
    for (const Case& c : {Case{-1, -1, {2, 3, 4}}, Case{kMaskStudent, -1, {2}},
                          Case{kMaskTeacher | kMaskAdministrator, -1, {3, 4}}, Case{-1, 5, {2, 3}},
                          Case{kMaskAdministrator, 5, {}}}) {
        store.setSelectedUser(store.UserList()[2].get());
        store.FilterUsers(c.mask, c.classId);
        std::vector<std::int16_t> ids;
        for (const auto* u : store.FilteredUsers()) ids.push_back(u->record.userId);
        EXPECT_EQ(ids, c.ids) << c.mask << "/" << c.classId;
        const auto expectedSelected =
            c.ids.empty() || std::ranges::find(c.ids, 4) != c.ids.end() ? 4 : c.ids.front();
        EXPECT_EQ(store.SelectedUser()->record.userId, expectedSelected);
    }
}

TEST(Users, ClassWideChangesRewriteOnlyTheClassMembers) {
    const auto dir = freshDir();
    UserRecord a = user(2, "a", "A", "A");
    a.classId = 5;
    a.tutorStep = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    a.reserved[3] = 9;
    UserRecord b = user(3, "b", "B", "B");
    b.classId = 6;
    UserRecord c = user(4, "c", "C", "C");
    c.classId = 5;
    c.tutorFile = "Course.tut";
    c.tutorStep[0] = 4;
    writeUsers(dir, {a, b, c});
    DataStore store(dir);

    ASSERT_TRUE(store.SetClassTutor(5, "Course.tut"));
    UserRecord ra = a;
    ASSERT_TRUE(store.ReloadUser(ra));
    EXPECT_EQ(ra.tutorFile, "Course.tut");
    EXPECT_EQ(ra.tutorStep, UserRecord{}.tutorStep);
    EXPECT_EQ(ra.reserved, UserRecord{}.reserved);
    UserRecord rc = c;
    ASSERT_TRUE(store.ReloadUser(rc));
    EXPECT_EQ(rc.tutorStep[0], 4);  // already on that tutor: his place is kept

    ClassRecord cls{"5A", 5, 0, "\\"};
    ASSERT_TRUE(store.SaveClass(cls));
    ASSERT_TRUE(store.SaveClass(ClassRecord{"6A", 6, 0, "\\"}));
    EXPECT_EQ(store.ClassNameOf(6), "6A");
    EXPECT_TRUE(store.ClassExists(5));
    ASSERT_TRUE(store.DeleteClass(5));
    EXPECT_FALSE(store.ClassExists(5));
    EXPECT_EQ(readBytes(dir / "Class.dat").size(), 2 * kClassRecordSize);
    for (UserRecord* u : {&ra, &rc}) {
        ASSERT_TRUE(store.ReloadUser(*u));
        EXPECT_EQ(u->classId, 0);
    }
    UserRecord rb = b;
    ASSERT_TRUE(store.ReloadUser(rb));
    EXPECT_EQ(rb, b);
    store.LoadClasses();
    ASSERT_EQ(store.ClassList().size(), 1u);
    EXPECT_EQ(store.ClassList()[0]->record.classId, 6);
}

TEST(Users, AddUsersAppendsInOneWriteAndLeavesOutLoginsAndIdsOnFile) {
    const auto dir = freshDir();
    DataStore store(dir);
    ASSERT_TRUE(store.SaveUser(user(2, "anna", "Anna", "Berg")));
    ASSERT_TRUE(store.SaveUser(user(3, "gone", "Gone", "Away")));
    store.LoadUsers();
    ASSERT_TRUE(store.DeleteUser(*store.UserList()[0]));  // "Away, Gone": a hole whose login is free again
    std::vector<std::size_t> taken;
    ASSERT_TRUE(store.AddUsers(
        {user(4, "bo", "Bo", "Lind"), user(5, "ANNA", "Anna", "Other"), user(6, "gone", "New", "One"),
         user(7, "BO", "Bo", "Twice"), user(2, "cy", "Cy", "Dahl")},
        taken));
    EXPECT_EQ(taken, (std::vector<std::size_t>{1, 3, 4}));
    store.LoadUsers();
    EXPECT_EQ(listedIds(store), (std::vector<std::int16_t>{2, 4, 6}));
    EXPECT_EQ(fs::file_size(dir / "User.dat"), 4 * kUserRecordSize);
    // Nothing left to add is no failure and writes nothing.
    ASSERT_TRUE(store.AddUsers({user(8, "anna", "A", "B")}, taken));
    EXPECT_EQ(taken, (std::vector<std::size_t>{0}));
    EXPECT_EQ(fs::file_size(dir / "User.dat"), 4 * kUserRecordSize);
}
