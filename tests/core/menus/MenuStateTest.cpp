// The menus' visible, enabled and checked items for each level and view.
#include "app/MenuState.h"

#include <gtest/gtest.h>

namespace kalvintor::app {
namespace {

MenuContext context(int level, int exercise, int view) {
    MenuContext c;
    c.access = AccessFor(level, {});
    c.exercise = exercise;
    c.view = view;
    return c;
}

constexpr ItemState kOn{true, true, false};
constexpr ItemState kOff{true, false, false};
constexpr ItemState kHidden{false, false, false};

TEST(MenuState, CommandsFollowTheLevelAndTheView) {
    // Each command in the exercise view (1), the setup view (2), the results (3) and the user
    // overview (4) of chord identification, for guest, student, teacher and administrator.
    struct Case {
        MenuCommand command;
        std::array<std::array<ItemState, 4>, 4> byLevelAndView;
    };
    using Row = std::array<ItemState, 4>;
    constexpr Row kAlways{kOn, kOn, kOn, kOn};
    constexpr Row kNever{kHidden, kHidden, kHidden, kHidden};
    constexpr Row kInfoViews{kHidden, kHidden, kOn, kOn};
    constexpr Row kInfoViewsEnabled{kOff, kOff, kOn, kOn};
    constexpr Row kResultsView{kHidden, kHidden, kOn, kHidden};
    constexpr Row kExerciseView{kOn, kHidden, kHidden, kHidden};
    const Case cases[] = {
        {MenuCommand::Load, {kAlways, kAlways, kAlways, kAlways}},
        {MenuCommand::SaveSetup, {Row{kOff, kOff, kOff, kOff}, kAlways, kAlways, kAlways}},
        {MenuCommand::Tutor, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::TutorEditor, {kNever, kNever, kAlways, kAlways}},
        {MenuCommand::UserInfo, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::ImportExport, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::DeleteResults,
         {Row{kHidden, kHidden, kOff, kHidden}, kResultsView, kResultsView, kResultsView}},
        {MenuCommand::Print, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::Users, {kNever, kNever, kInfoViews, kInfoViews}},
        {MenuCommand::Refresh, {kNever, kNever, kInfoViewsEnabled, kInfoViewsEnabled}},
        {MenuCommand::ResultPeriods, {kInfoViews, kInfoViews, kInfoViews, kInfoViews}},
        {MenuCommand::OptionsMenu, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::ProgramSettings, {kNever, kAlways, kAlways, kAlways}},
        {MenuCommand::ClassMaintenance, {kNever, kNever, kAlways, kAlways}},
        {MenuCommand::Administration, {kNever, kNever, kNever, kAlways}},
        {MenuCommand::ChangeUser, {kAlways, kAlways, kAlways, kAlways}},
        {MenuCommand::ExerciseOptions, {kExerciseView, kExerciseView, kExerciseView, kExerciseView}},
        {MenuCommand::NoteIdentification, {kExerciseView, kExerciseView, kExerciseView, kExerciseView}},
        {MenuCommand::ShowKeyname,
         {Row{kOff, kHidden, kHidden, kHidden}, Row{kOff, kHidden, kHidden, kHidden},
          Row{kOff, kHidden, kHidden, kHidden}, Row{kOff, kHidden, kHidden, kHidden}}},
        {MenuCommand::RhythmWithMetronome, {kNever, kNever, kNever, kNever}},
    };
    for (const Case& c : cases)
        for (int level = 0; level < 4; ++level)
            for (int view = 1; view <= 4; ++view)
                EXPECT_EQ(
                    MenuCommandState(c.command, context(level, 1, view)),
                    c.byLevelAndView[static_cast<std::size_t>(level)][static_cast<std::size_t>(view - 1)])
                    << "command " << static_cast<int>(c.command) << " level " << level << " view " << view;

    // A student without the private-settings right has no Options menu and no user info.
    MenuContext locked = context(kLevelStudent, 1, 1);
    locked.access = AccessFor(kLevelStudent, {true, true, true, false});
    EXPECT_EQ(MenuCommandState(MenuCommand::OptionsMenu, locked), kHidden);
    EXPECT_EQ(MenuCommandState(MenuCommand::UserInfo, locked), kHidden);
}

TEST(MenuState, ViewDependentCommands) {
    for (int exercise = 0; exercise <= 10; ++exercise)
        for (int view = 1; view <= 4; ++view) {
            const MenuContext c = context(kLevelStudent, exercise, view);
            EXPECT_EQ(MenuCommandState(MenuCommand::RhythmWithMetronome, c).visible,
                      view == 1 && exercise >= 4 && exercise <= 6);
            EXPECT_EQ(MenuCommandState(MenuCommand::ResetResults, c).enabled, exercise != 0);
            EXPECT_EQ(MenuCommandState(MenuCommand::NoteIdentification, c).visible,
                      view == 1 && (exercise == 1 || exercise == 2 || (exercise >= 7 && exercise <= 9)));
            EXPECT_EQ(MenuCommandState(MenuCommand::ShowKeyname, c).visible,
                      view == 1 && (exercise == 1 || exercise == 2 || exercise >= 7));
        }
    MenuContext tutor = context(kLevelStudent, 1, 1);
    tutor.tutorActive = true;
    EXPECT_EQ(MenuCommandState(MenuCommand::SaveSetup, tutor), kOff);
    EXPECT_EQ(MenuCommandState(MenuCommand::Load, tutor), kOff);
    EXPECT_EQ(MenuCommandState(MenuCommand::ResetResults, tutor), kOff);
    MenuContext keyNames = context(kLevelStudent, 2, 1);
    keyNames.keyNamesAllowed = true;
    EXPECT_EQ(MenuCommandState(MenuCommand::ShowKeyname, keyNames), kOn);
}

TEST(MenuState, KeyNamesFollowTheSetup) {
    for (int e : {1, 2, 7, 10}) {
        EXPECT_TRUE(KeyNamesAllowed(e, 1, 0)) << e;
        EXPECT_FALSE(KeyNamesAllowed(e, 0, 0)) << e;
    }
    EXPECT_FALSE(KeyNamesAllowed(8, 1, 0));
    for (int type = 0; type <= 16; ++type)
        EXPECT_EQ(KeyNamesAllowed(9, 0, static_cast<std::uint8_t>(type)),
                  !(type == 1 || type == 2 || type == 3 || type == 4 || type == 6 || type == 9 || type == 10))
            << type;
}

TEST(MenuState, ExerciseSubmenu) {
    // Teacher in the setup view of exercise 2: its setup item is checked, others' are not.
    const MenuContext teacher = context(kLevelTeacher, 2, 2);
    const auto own = ExerciseSubmenuState(2, teacher);
    EXPECT_EQ(own[0], kOn);
    EXPECT_EQ(own[1], (ItemState{true, true, true}));
    EXPECT_EQ(own[2], kOn);
    EXPECT_EQ(own[3], kOn);
    for (const ItemState& item : ExerciseSubmenuState(3, teacher)) EXPECT_FALSE(item.checked);
    // In the user overview no item is checked.
    for (const ItemState& item : ExerciseSubmenuState(2, context(kLevelTeacher, 2, 4)))
        EXPECT_FALSE(item.checked);

    // A student has no user overview, a guest neither setup nor results.
    EXPECT_EQ(ExerciseSubmenuState(1, context(kLevelStudent, 1, 1))[3], kHidden);
    const auto guest = ExerciseSubmenuState(1, context(kLevelGuest, 1, 1));
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
