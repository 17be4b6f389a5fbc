// The rules of the main window's menus.
#include "app/MenuState.h"

#include "app/ViewTags.h"

namespace kalvintor::app {

namespace {

bool right(const MenuContext& c, MenuRight r) {
    return c.rights[r];
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

bool between(int value, int low, int high) {
    return value >= low && value <= high;
}

}  // namespace

bool IsPitchExerciseWindow(int exercise) {
    return exercise == 1 || exercise == 2 || between(exercise, 7, 10);
}

ItemState MenuCommandState(MenuCommand command, const MenuContext& c) {
    const bool teacher = c.level >= kMenuLevelTeacher;
    switch (command) {
        case MenuCommand::Load:
            return shown(!c.tutorActive);
        case MenuCommand::SaveSetup:
            return shown(right(c, kMenuRightExerciseSetup) && !c.tutorActive);
        case MenuCommand::Tutor:
            return visibleIf(right(c, kMenuRightTutor));
        case MenuCommand::TutorEditor:
            return visibleIf(right(c, kMenuRightTutorEditor));
        case MenuCommand::UserInfo:
            return visibleIf(c.level != kMenuLevelGuest);
        case MenuCommand::ImportExport:
            return visibleIf(right(c, kMenuRightImportExport));
        case MenuCommand::ResetResults:
            return shown(c.exercise != 0);
        case MenuCommand::DeleteResults:
            return visibleIf(teacher);
        case MenuCommand::Print:
            return visibleIf(c.level != kMenuLevelGuest);
        case MenuCommand::Users:
            return visibleIf(teacher);
        case MenuCommand::Refresh:
            return shown(right(c, kMenuRightRefresh));
        case MenuCommand::ProgramSettings:
            return shown(right(c, kMenuRightPrivateSettings) || c.level == kMenuLevelGuest);
        case MenuCommand::ClassMaintenance:
            return visibleIf(teacher);
        case MenuCommand::Administration:
            return visibleIf(c.level == kMenuLevelAdministrator);
        case MenuCommand::RhythmWithMetronome:
            return visibleIf(c.view == kViewExercise && between(c.exercise, 4, 6));
    }
    return hidden();
}

std::array<ItemState, 4> ExerciseSubmenuState(int e, const MenuContext& c) {
    std::array<ItemState, 4> items{};
    if (c.tutorEditorActive) {
        items = {shown(false), shown(true), shown(false), shown(false)};
    } else if (c.tutorActive) {
        items = {shown(true), shown(false), shown(right(c, kMenuRightResults)), shown(false)};
    } else {
        const bool overview = right(c, kMenuRightUserOverview);
        items = {shown(true),
                 shown(right(c, kMenuRightExerciseSetup)),
                 shown(right(c, kMenuRightResults)),
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

int NoteIdentificationItem(std::uint8_t mode) {
    return mode <= 2 ? mode : 0;
}

}  // namespace kalvintor::app
