// What the main window's menus show: which items are visible, enabled and checked for the user's
// level and rights, the view and exercise in front, and a running tutor or tutor editor.
#pragma once

#include <array>
#include <cstdint>

namespace kalvintor::app {

// Indexes of the main window's ten access rights.
enum MenuRight : std::size_t {
    kMenuRightExerciseSetup = 0,
    kMenuRightChooseTutor = 1,
    kMenuRightEditChords = 2,
    kMenuRightPrivateSettings = 3,
    kMenuRightResults = 4,
    kMenuRightUserOverview = 5,
    kMenuRightTutor = 6,
    kMenuRightTutorEditor = 7,
    kMenuRightImportExport = 8,
    kMenuRightRefresh = 9,
};

inline constexpr int kMenuLevelGuest = 0;
inline constexpr int kMenuLevelStudent = 1;
inline constexpr int kMenuLevelTeacher = 2;
inline constexpr int kMenuLevelAdministrator = 3;

struct MenuContext {
    int level = kMenuLevelGuest;
    std::array<bool, 10> rights{};
    int exercise = 0;  // 0 = the overview
    int view = 1;
    bool tutorActive = false;
    bool tutorEditorActive = false;
    bool forcedAnswerInput = false;  // the exercise's setup fixes its answer input
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

}  // namespace kalvintor::app
