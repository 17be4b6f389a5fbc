// The menus' visible, enabled and checked items for each level and view.
#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace kalvintor::app {
namespace {

std::array<bool, 10> rightsOf(int level) {
    switch (level) {
        case kMenuLevelStudent:
            return {true, true, true, true, true, false, true, false, false, false};
        case kMenuLevelTeacher:
        case kMenuLevelAdministrator:
            return {true, true, true, true, true, true, true, true, true, true};
        default:
            return {false, false, false, false, false, false, false, false, false, false};
    }
}

MenuContext context(int level, int exercise, int view) {
    MenuContext c;
    c.level = level;
    c.rights = rightsOf(level);
    c.exercise = exercise;
    c.view = view;
    return c;
}

constexpr ItemState kOn{true, true, false};
constexpr ItemState kOff{true, false, false};
constexpr ItemState kHidden{false, false, false};

TEST(MenuState, CommandsFollowTheLevel) {
    struct Case {
        MenuCommand command;
        std::array<ItemState, 4> byLevel;  // guest, student, teacher, administrator
    };
    const Case cases[] = {
        {MenuCommand::Load, {kOn, kOn, kOn, kOn}},
        {MenuCommand::SaveSetup, {kOff, kOn, kOn, kOn}},
        {MenuCommand::Tutor, {kHidden, kOn, kOn, kOn}},
        {MenuCommand::TutorEditor, {kHidden, kHidden, kOn, kOn}},
        {MenuCommand::UserInfo, {kHidden, kOn, kOn, kOn}},
        {MenuCommand::ImportExport, {kHidden, kHidden, kOn, kOn}},
        {MenuCommand::DeleteResults, {kHidden, kHidden, kOn, kOn}},
        {MenuCommand::Print, {kHidden, kOn, kOn, kOn}},
        {MenuCommand::Users, {kHidden, kHidden, kOn, kOn}},
        {MenuCommand::Refresh, {kOff, kOff, kOn, kOn}},
        {MenuCommand::ProgramSettings, {kOn, kOn, kOn, kOn}},
        {MenuCommand::ClassMaintenance, {kHidden, kHidden, kOn, kOn}},
        {MenuCommand::Administration, {kHidden, kHidden, kHidden, kOn}},
    };
    for (const Case& c : cases)
        for (int level = 0; level < 4; ++level)
            EXPECT_EQ(MenuCommandState(c.command, context(level, 1, 1)),
                      c.byLevel[static_cast<std::size_t>(level)])
                << "command " << static_cast<int>(c.command) << " level " << level;

    // A student without the private-settings right cannot open the settings.
    MenuContext locked = context(kMenuLevelStudent, 1, 1);
    locked.rights[kMenuRightPrivateSettings] = false;
    EXPECT_EQ(MenuCommandState(MenuCommand::ProgramSettings, locked), kOff);
}

TEST(MenuState, ViewDependentCommands) {
    for (int exercise = 0; exercise <= 10; ++exercise)
        for (int view = 1; view <= 4; ++view) {
            const MenuContext c = context(kMenuLevelStudent, exercise, view);
            EXPECT_EQ(MenuCommandState(MenuCommand::RhythmWithMetronome, c).visible,
                      view == 1 && exercise >= 4 && exercise <= 6);
            EXPECT_EQ(MenuCommandState(MenuCommand::ResetResults, c).enabled, exercise != 0);
        }
    MenuContext tutor = context(kMenuLevelStudent, 1, 1);
    tutor.tutorActive = true;
    EXPECT_EQ(MenuCommandState(MenuCommand::SaveSetup, tutor), kOff);
    EXPECT_EQ(MenuCommandState(MenuCommand::Load, tutor), kOff);
}

TEST(MenuState, ExerciseSubmenu) {
    // Teacher in the setup view of exercise 2: its setup item is checked, others' are not.
    const MenuContext teacher = context(kMenuLevelTeacher, 2, 2);
    const auto own = ExerciseSubmenuState(2, teacher);
    EXPECT_EQ(own[0], kOn);
    EXPECT_EQ(own[1], (ItemState{true, true, true}));
    EXPECT_EQ(own[2], kOn);
    EXPECT_EQ(own[3], kOn);
    for (const ItemState& item : ExerciseSubmenuState(3, teacher)) EXPECT_FALSE(item.checked);
    // In the user overview no item is checked.
    for (const ItemState& item : ExerciseSubmenuState(2, context(kMenuLevelTeacher, 2, 4)))
        EXPECT_FALSE(item.checked);

    // A student has no user overview, a guest neither setup nor results.
    EXPECT_EQ(ExerciseSubmenuState(1, context(kMenuLevelStudent, 1, 1))[3], kHidden);
    const auto guest = ExerciseSubmenuState(1, context(kMenuLevelGuest, 1, 1));
    EXPECT_EQ(guest[1], kOff);
    EXPECT_EQ(guest[2], kOff);

    MenuContext editor = teacher;
    editor.tutorEditorActive = true;
    EXPECT_EQ(ExerciseSubmenuState(2, editor), (std::array<ItemState, 4>{kOff, kOn, kOff, kOff}));
    MenuContext tutor = teacher;
    tutor.tutorActive = true;
    EXPECT_EQ(ExerciseSubmenuState(2, tutor), (std::array<ItemState, 4>{kOn, kOff, kOn, kOff}));
}

TEST(MenuState, AnswerInputInTheExerciseView) {
    // Chord identification with piano and notesheet.
    auto s = AnswerInputMenuState(context(1, 1, 1), 2 | 8, 8);
    EXPECT_FALSE(s.radio);
    EXPECT_EQ(s.byName, kOn);
    EXPECT_EQ(s.piano, (ItemState{true, true, true}));
    EXPECT_EQ(s.guitar, kOn);
    EXPECT_EQ(s.notesheet, (ItemState{true, true, true}));
    EXPECT_TRUE(s.microphone.enabled);
    EXPECT_TRUE(s.midiIn.enabled);

    // Melody: never by name, always the notesheet.
    s = AnswerInputMenuState(context(1, 9, 1), 1, 8);
    EXPECT_FALSE(s.byName.enabled);
    EXPECT_FALSE(s.byName.checked);
    EXPECT_TRUE(s.notesheet.checked);
    EXPECT_FALSE(s.notesheet.enabled);

    // A setup forcing the answer input disables the four displays.
    MenuContext forced = context(1, 1, 1);
    forced.forcedAnswerInput = true;
    s = AnswerInputMenuState(forced, 8, 8);
    for (const ItemState& item : {s.byName, s.piano, s.guitar, s.notesheet}) EXPECT_FALSE(item.enabled);

    // Rhythm imitation listens but shows no displays; rhythm correction does neither.
    s = AnswerInputMenuState(context(1, 4, 1), 0, 8);
    EXPECT_FALSE(s.piano.enabled);
    EXPECT_TRUE(s.microphone.enabled);
    s = AnswerInputMenuState(context(1, 6, 1), 0, 8);
    EXPECT_FALSE(s.microphone.enabled);
    EXPECT_FALSE(s.midiIn.enabled);
}

TEST(MenuState, AnswerInputInOtherViews) {
    auto s = AnswerInputMenuState(context(2, 3, 2), 0, 4);
    EXPECT_TRUE(s.radio);
    EXPECT_EQ(s.byName, kHidden);
    EXPECT_EQ(s.guitar, (ItemState{true, true, true}));
    EXPECT_FALSE(s.microphone.enabled);
    // Anything but 2 or 4 shows the notesheet.
    s = AnswerInputMenuState(context(2, 3, 2), 77, 77);
    EXPECT_TRUE(s.notesheet.checked);
    EXPECT_FALSE(s.piano.checked);
    // The results view: "Answer by name" visible, everything disabled.
    s = AnswerInputMenuState(context(2, 2, 3), 15, 2);
    EXPECT_EQ(s.byName, kOff);
    for (const ItemState& item : {s.piano, s.guitar, s.notesheet, s.microphone, s.midiIn})
        EXPECT_FALSE(item.enabled);
}

TEST(MenuState, TakingChecksBack) {
    EXPECT_EQ(AnswerMaskFromChecks(true, false, true, true), 13);
    EXPECT_EQ(SetupDisplayFromChecks(false, true, false), 4);
    // Unchecking the notesheet with nothing else checked keeps the notesheet.
    EXPECT_EQ(SetupDisplayFromChecks(false, false, false), 8);
    EXPECT_EQ(SetupDisplayFromChecks(true, true, false), 8);
}

TEST(MenuState, NoteIdentification) {
    EXPECT_EQ(NoteIdentificationItem(2), 2);
    EXPECT_EQ(NoteIdentificationItem(9), 0);
}

}  // namespace
}  // namespace kalvintor::app
