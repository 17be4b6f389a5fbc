// What the main window's menus show: which items are visible, enabled and checked for the user's
// level and rights, the view and exercise in front, and a running tutor or tutor editor.
#pragma once

#include "app/AccessLevels.h"

#include <array>
#include <cstdint>

namespace kalvintor::app {

struct MenuContext {
    Access access = GuestAccess();
    int exercise = 0;  // 0 = the overview
    int view = 1;
    bool tutorActive = false;
    bool tutorEditorActive = false;
    bool forcedAnswerInput = false;  // the exercise's setup fixes its answer input
    bool keyNamesAllowed = false;    // the exercise's setup lets the staff name the key
};

struct ItemState {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const ItemState&, const ItemState&) = default;
};

// The commands whose state does not depend on a submenu of their own.
enum class MenuCommand {
    Load,
    SaveSetup,
    Tutor,
    TutorEditor,
    UserInfo,
    ImportExport,
    ResetResults,
    DeleteResults,
    Print,
    Users,
    Refresh,
    ProgramSettings,
    ClassMaintenance,
    Administration,
    RhythmWithMetronome,
    ChangeUser,          // log out and log in as another user
    OptionsMenu,         // the "Options" menu title
    ResultPeriods,       // "Result sumations"
    ShowKeyname,         // "Show keyname"
    NoteIdentification,  // "Note identification"
    ExerciseOptions,     // "Auto new quest" and "MIDI remote"
};

ItemState MenuCommandState(MenuCommand command, const MenuContext& context);

// The four items of an exercise's submenu: exercise, exercise setup, results, user overview.
std::array<ItemState, 4> ExerciseSubmenuState(int submenuExercise, const MenuContext& context);

// The "Answer Input" menu. In the exercise view the four answer displays are check items taken
// from the exercise's mask; in the setup view piano, guitar and notesheet are radio items taken
// from the setup dialogs' display.
struct AnswerInputState {
    ItemState notesheet, byName, guitar, piano, microphone, midiIn;
    bool radio = false;
};
AnswerInputState AnswerInputMenuState(const MenuContext& context, std::uint8_t exerciseMask,
                                      std::uint8_t setupDisplay);

// The exercise's mask from the checked items (exercise view).
std::uint8_t AnswerMaskFromChecks(bool byName, bool piano, bool guitar, bool notesheet);
// The setup dialogs' display from the checked items (setup view): 2, 4 or 8, anything else 8.
std::uint8_t SetupDisplayFromChecks(bool piano, bool guitar, bool notesheet);

// The checked item of "Note identification": the mode, the first item when out of range.
int NoteIdentificationItem(std::uint8_t mode);

bool IsPitchExerciseWindow(int exercise);

// Whether the staff of a pitch exercise may name the key: exercises 1, 2, 7 and 10 by their setup
// block's byte 63, scale identification never, the melody unless its type is a mode (1-4, 6), the
// whole-tone scale (9) or the chromatic scale (10).
bool KeyNamesAllowed(int exercise, std::uint8_t pitchBlockByte63, std::uint8_t melodyType);

}  // namespace kalvintor::app
