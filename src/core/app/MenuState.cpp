// The rules of the main window's menus.
#include "app/MenuState.h"

#include "app/ViewTags.h"

namespace kalvintor::app {

namespace {

bool right(const MenuContext& c, Right r) {
    return c.access.right(r);
}

ItemState shown(bool enabled) {
    return {true, enabled, false};
}
ItemState hidden() {
    return {false, false, false};
}
ItemState visibleIf(bool visible) {
    return visible ? shown(true) : hidden();
}
// A command of the access table as it stands for the level.
ItemState byAccess(const MenuContext& c, Command command) {
    const CommandState s = c.access.command(command);
    return {s.visible, s.visible && s.enabled, false};
}
bool inExercise(const MenuContext& c) {
    return c.view == kViewExercise && c.exercise != 0;
}

bool between(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

bool IsPitchExerciseWindow(int exercise) {
    return exercise == 1 || exercise == 2 || between(exercise, 7, 10);
}

ItemState MenuCommandState(MenuCommand command, const MenuContext& c) {
    const bool infoView = c.view == kViewResults || c.view == kViewUserOverview;
    switch (command) {
        case MenuCommand::Load:
            return shown(!c.tutorActive);
        case MenuCommand::SaveSetup: {
            ItemState s = byAccess(c, Command::SaveSetup);
            s.enabled = s.enabled && !c.tutorActive;
            return s;
        }
        case MenuCommand::Tutor:
            return byAccess(c, Command::Tutor);
        case MenuCommand::TutorEditor:
            return byAccess(c, Command::TutorEditor);
        case MenuCommand::UserInfo:
            return byAccess(c, Command::UserInfo);
        case MenuCommand::ImportExport:
            return byAccess(c, Command::ImportExport);
        case MenuCommand::ResetResults:
            return shown(c.exercise != 0 && !c.tutorActive);
        case MenuCommand::DeleteResults:
            // Only the logged-in user's own results, from the results view.
            return c.view == kViewResults ? shown(!c.access.guest) : hidden();
        case MenuCommand::Print:
            return byAccess(c, Command::Print);
        case MenuCommand::Users:
            return infoView && right(c, kRightUserOverview) ? shown(true) : hidden();
        case MenuCommand::Refresh: {
            ItemState s = byAccess(c, Command::Refresh);
            s.enabled = s.enabled && infoView;
            return s;
        }
        case MenuCommand::ProgramSettings:
        case MenuCommand::OptionsMenu:
            return byAccess(c, Command::OptionsMenu);
        case MenuCommand::ClassMaintenance:
            return byAccess(c, Command::ClassMaintenance);
        case MenuCommand::Administration:
            return byAccess(c, Command::Administration);
        case MenuCommand::RhythmWithMetronome:
            return visibleIf(c.view == kViewExercise && between(c.exercise, 4, 6));
        case MenuCommand::ChangeUser:
            return byAccess(c, Command::ChangeUser);
        case MenuCommand::ResultPeriods:
            return visibleIf(infoView);
        case MenuCommand::ShowKeyname:
            return inExercise(c) && IsPitchExerciseWindow(c.exercise) ? shown(c.keyNamesAllowed) : hidden();
        case MenuCommand::NoteIdentification:
            return visibleIf(inExercise(c) && IsPitchExerciseWindow(c.exercise) && c.exercise != 10);
        case MenuCommand::ExerciseOptions:
            return visibleIf(inExercise(c));
    }
    return hidden();
}

std::array<ItemState, 4> ExerciseSubmenuState(int e, const MenuContext& c) {
    std::array<ItemState, 4> items{};
    if (c.tutorEditorActive) {
        items = {shown(false), shown(true), shown(false), shown(false)};
    } else if (c.tutorActive) {
        items = {shown(true), shown(false), shown(right(c, kRightResults)), shown(false)};
    } else {
        const bool overview = right(c, kRightUserOverview);
        items = {shown(true),
                 shown(right(c, kRightExerciseSetup)),
                 shown(right(c, kRightResults)),
                 {overview, overview, false}};
        if (e == c.exercise && between(c.view, 1, 3))
            items[static_cast<std::size_t>(c.view - 1)].checked = true;
    }
    return items;
}

AnswerInputState AnswerInputMenuState(const MenuContext& c, std::uint8_t mask, std::uint8_t display) {
    AnswerInputState s;
    const int e = c.exercise;
    const bool forced = IsPitchExerciseWindow(e) && c.forcedAnswerInput;
    const bool listens = e == 1 || e == 2 || e == 4 || e == 5 || between(e, 7, 9);
    if (c.view == kViewExercise && e != 0) {
        s.byName = shown((e == 1 || e == 2 || e == 7 || e == 8 || e == 10) && !forced);
        s.piano = shown(IsPitchExerciseWindow(e) && !forced);
        s.guitar = s.piano;
        s.notesheet = shown((e == 1 || e == 2 || e == 7 || e == 8) && !forced);
        s.microphone = shown(listens);
        s.midiIn = shown(listens);
        s.byName.checked = (mask & 1) != 0 && e != 9;
        s.piano.checked = (mask & 2) != 0;
        s.guitar.checked = (mask & 4) != 0;
        s.notesheet.checked = (mask & 8) != 0 || e == 9 || e == 10;
    } else if (c.view == kViewSetup && e != 0) {
        s.radio = true;
        s.byName = hidden();
        const bool pitch = between(e, 1, 3) || between(e, 7, 10);
        s.piano = s.guitar = s.notesheet = shown(pitch);
        s.microphone = s.midiIn = shown(false);
        const std::uint8_t d = display == 2 || display == 4 ? display : 8;
        s.piano.checked = d == 2;
        s.guitar.checked = d == 4;
        s.notesheet.checked = d == 8;
    } else {
        s.byName = s.piano = s.guitar = s.notesheet = s.microphone = s.midiIn = shown(false);
    }
    return s;
}

std::uint8_t AnswerMaskFromChecks(bool byName, bool piano, bool guitar, bool notesheet) {
    return static_cast<std::uint8_t>((byName ? 1 : 0) | (piano ? 2 : 0) | (guitar ? 4 : 0) |
                                     (notesheet ? 8 : 0));
}

std::uint8_t SetupDisplayFromChecks(bool piano, bool guitar, bool notesheet) {
    const int d = 2 * int(piano) + 4 * int(guitar) + 8 * int(notesheet);
    return static_cast<std::uint8_t>(d == 2 || d == 4 ? d : 8);
}

bool KeyNamesAllowed(int exercise, std::uint8_t pitchBlockByte63, std::uint8_t melodyType) {
    switch (exercise) {
        case 1:
        case 2:
        case 7:
        case 10:
            return pitchBlockByte63 != 0;
        case 9:
            return !(between(melodyType, 1, 4) || melodyType == 6 || melodyType == 9 || melodyType == 10);
        default:
            return false;
    }
}

int NoteIdentificationItem(std::uint8_t mode) {
    return mode <= 2 ? mode : 0;
}

}  // namespace kalvintor::app
