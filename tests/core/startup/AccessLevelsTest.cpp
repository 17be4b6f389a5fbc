// What guests, students, teachers and administrators see and may use.
#include "app/AccessLevels.h"

#include <gtest/gtest.h>

#include <string>

using namespace kalvintor::app;

namespace {

struct Row {
    Command command;
    const char* name;
    // visible/enabled for guest, student (all four permissions off), teacher, administrator
    CommandState guest, student, teacher, administrator;
};

constexpr CommandState kHidden{false, false};
constexpr CommandState kShown{true, true};
constexpr CommandState kDisabled{true, false};

const Row kTable[] = {
    {Command::SaveSetup, "SaveSetup", kDisabled, kDisabled, kShown, kShown},
    {Command::ExerciseSetupView, "ExerciseSetupView", kDisabled, kDisabled, kShown, kShown},
    {Command::ResultsView, "ResultsView", kDisabled, kShown, kShown, kShown},
    {Command::UserOverview, "UserOverview", kHidden, kHidden, kShown, kShown},
    {Command::Tutor, "Tutor", kHidden, kShown, kShown, kShown},
    {Command::TutorEditor, "TutorEditor", kHidden, kHidden, kShown, kShown},
    {Command::ImportExport, "ImportExport", kHidden, kShown, kShown, kShown},
    {Command::Print, "Print", kHidden, kShown, kShown, kShown},
    {Command::ClassMaintenance, "ClassMaintenance", kHidden, kHidden, kShown, kShown},
    {Command::Administration, "Administration", kHidden, kHidden, kHidden, kShown},
    {Command::Refresh, "Refresh", kHidden, kHidden, kShown, kShown},
    {Command::OptionsMenu, "OptionsMenu", kHidden, kHidden, kShown, kShown},
    {Command::UserInfo, "UserInfo", kHidden, kHidden, kShown, kShown},
    {Command::ChangeUser, "ChangeUser", kShown, kShown, kShown, kShown},
};

std::string show(CommandState s) {
    return std::string(s.visible ? "visible" : "hidden") + (s.enabled ? "+enabled" : "+disabled");
}

}  // namespace

TEST(AccessLevels, EveryCommandForEveryLevel) {
    const StudentPermissions none{false, false, false, false};
    const Access levels[] = {AccessFor(kLevelGuest, none), AccessFor(kLevelStudent, none),
                             AccessFor(kLevelTeacher, none), AccessFor(kLevelAdministrator, none)};
    static_assert(std::size(kTable) == kCommandCount);
    for (const Row& row : kTable) {
        const CommandState expected[] = {row.guest, row.student, row.teacher, row.administrator};
        for (int level = 0; level < 4; ++level)
            EXPECT_EQ(levels[level].command(row.command), expected[level])
                << row.name << " at level " << level << ": " << show(levels[level].command(row.command));
    }
    EXPECT_TRUE(levels[0].guest);
    EXPECT_FALSE(levels[1].guest);
    EXPECT_EQ(levels[0].bevelWidth, 89);
    EXPECT_EQ(levels[1].bevelWidth, 89);
    EXPECT_EQ(levels[2].bevelWidth, 118);
    EXPECT_EQ(levels[3].bevelWidth, 118);
}

TEST(AccessLevels, StudentRightsFollowHisPermissionsOthersAreFixed) {
    const Access student = AccessFor(kLevelStudent, {true, false, true, false});
    EXPECT_TRUE(student.right(kRightExerciseSetup));
    EXPECT_FALSE(student.right(kRightChooseTutor));
    EXPECT_TRUE(student.right(kRightEditChords));
    EXPECT_FALSE(student.right(kRightPrivateSettings));
    EXPECT_TRUE(student.right(kRightResults));
    EXPECT_TRUE(student.right(kRightTutor));
    EXPECT_TRUE(student.right(kRightImportExport));
    EXPECT_FALSE(student.right(kRightUserOverview));
    EXPECT_FALSE(student.right(kRightTutorEditor));
    EXPECT_FALSE(student.right(kRightRefresh));
    EXPECT_TRUE(student.command(Command::SaveSetup).enabled);
    EXPECT_FALSE(student.command(Command::OptionsMenu).visible);

    // A teacher's record may say otherwise: his level has every permission.
    const Access teacher = AccessFor(kLevelTeacher, {false, false, false, false});
    for (bool r : teacher.rights) EXPECT_TRUE(r);
    // Unknown levels are a guest's.
    for (int level : {-1, 4, 99}) {
        const Access a = AccessFor(level, {});
        EXPECT_TRUE(a.guest);
        for (bool r : a.rights) EXPECT_FALSE(r);
    }
}

TEST(AccessLevels, StoredLevelsUseTheirLowFourBits) {
    EXPECT_EQ(LevelOf(3), kLevelAdministrator);
    EXPECT_EQ(LevelOf(0x13), kLevelAdministrator);
    EXPECT_EQ(LevelOf(2), kLevelTeacher);
    EXPECT_EQ(LevelOf(0), kLevelGuest);
    EXPECT_EQ(LevelOf(7), kLevelGuest);
}
