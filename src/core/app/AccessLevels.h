// What each access level may do: the ten rights and every command's visible and enabled state,
// for the tool buttons, the start menu and the menu bar to follow.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kalvintor::app {

enum Level : int { kLevelGuest = 0, kLevelStudent = 1, kLevelTeacher = 2, kLevelAdministrator = 3 };

// Indexes of AccessRights.
enum Right : std::size_t {
    kRightExerciseSetup = 0,
    kRightChooseTutor = 1,
    kRightEditChords = 2,
    kRightPrivateSettings = 3,
    kRightResults = 4,
    kRightUserOverview = 5,
    kRightTutor = 6,
    kRightTutorEditor = 7,
    kRightImportExport = 8,
    kRightRefresh = 9,
    kRightCount = 10
};

// The commands whose state depends on the level.
enum class Command : std::size_t {
    SaveSetup,          // "Save setup..."
    ExerciseSetupView,  // view 2 button and menu items
    ResultsView,        // view 3
    UserOverview,       // view 4 button and the results window's user chooser
    Tutor,              // tutor button and "Tutor"
    TutorEditor,        // "Tutor editor" and the tutor-setup button
    ImportExport,       // "Import/Export user data..."
    Print,              // "Print..."
    ClassMaintenance,   // "Class maintenance..."
    Administration,     // "Administration..."
    Refresh,            // "Refresh"
    OptionsMenu,        // the "Options" menu
    UserInfo,           // "User info..."
    ChangeUser,         // log out and log in as another user
    Count
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::Count);

struct CommandState {
    bool visible = false;
    bool enabled = false;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// The four permissions a student's record carries; teachers and administrators have them all.
struct StudentPermissions {
    bool exerciseSetup = true;
    bool chooseTutor = true;
    bool editChords = true;
    bool privateSettings = true;
};

struct Access {
    int level = kLevelGuest;  // the level the access was made for: 0 guest .. 3 administrator
    bool guest = true;
    std::array<bool, kRightCount> rights{};
    std::array<CommandState, kCommandCount> commands{};
    int bevelWidth = 89;  // the bar under the view buttons: three or four buttons wide

    CommandState command(Command c) const { return commands[static_cast<std::size_t>(c)]; }
    bool right(Right r) const { return rights[r]; }
};

// The access of a level; any level other than 1, 2 and 3 is a guest's.
Access AccessFor(int level, const StudentPermissions& permissions);
// A guest's access, as a window has it before anybody logs in.
Access GuestAccess();

// A level's own value as stored in a user record: tests use its low four bits.
int LevelOf(std::int32_t accessLevel);

}  // namespace kalvintor::app
