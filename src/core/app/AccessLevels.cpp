// The access table of the four levels.
#include "app/AccessLevels.h"

namespace kalvintor::app {

namespace {

void set(Access& a, Command c, bool visible, bool enabled) {
    a.commands[static_cast<std::size_t>(c)] = {visible, enabled};
}

}  // namespace

int LevelOf(std::int32_t accessLevel) {
    const int level = accessLevel & 15;
    return level >= kLevelStudent && level <= kLevelAdministrator ? level : kLevelGuest;
}

Access GuestAccess() { return AccessFor(kLevelGuest, StudentPermissions{}); }

Access AccessFor(int level, const StudentPermissions& permissions) {
    Access a;
    a.level = level >= kLevelStudent && level <= kLevelAdministrator ? level : kLevelGuest;
    auto& r = a.rights;
    if (level == kLevelStudent) {
        a.guest = false;
        r[kRightExerciseSetup] = permissions.exerciseSetup;
        r[kRightChooseTutor] = permissions.chooseTutor;
        r[kRightEditChords] = permissions.editChords;
        r[kRightPrivateSettings] = permissions.privateSettings;
        r[kRightResults] = r[kRightTutor] = r[kRightImportExport] = true;
        set(a, Command::Print, true, true);
        set(a, Command::ClassMaintenance, false, false);
        a.bevelWidth = 89;
    } else if (level == kLevelTeacher || level == kLevelAdministrator) {
        a.guest = false;
        r.fill(true);
        set(a, Command::Print, true, true);
        set(a, Command::ClassMaintenance, true, true);
        a.bevelWidth = 118;
    } else {
        // A guest practises on the program's own setups and keeps nothing.
        set(a, Command::Print, false, false);
        set(a, Command::ClassMaintenance, false, false);
        a.bevelWidth = 89;
    }
    const bool administrator = level == kLevelAdministrator;
    set(a, Command::Administration, administrator, administrator);
    set(a, Command::SaveSetup, true, r[kRightExerciseSetup]);
    set(a, Command::ExerciseSetupView, true, r[kRightExerciseSetup]);
    set(a, Command::ResultsView, true, r[kRightResults]);
    set(a, Command::Tutor, r[kRightTutor], r[kRightTutor]);
    set(a, Command::TutorEditor, r[kRightTutorEditor], r[kRightTutorEditor]);
    set(a, Command::ImportExport, r[kRightImportExport], r[kRightImportExport]);
    set(a, Command::UserOverview, r[kRightUserOverview], r[kRightUserOverview]);
    set(a, Command::Refresh, r[kRightRefresh], r[kRightRefresh]);
    set(a, Command::OptionsMenu, r[kRightPrivateSettings], r[kRightPrivateSettings]);
    set(a, Command::UserInfo, r[kRightPrivateSettings], r[kRightPrivateSettings]);
    set(a, Command::ChangeUser, true, true);
    return a;
}

}  // namespace kalvintor::app
