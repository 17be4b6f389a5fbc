// The main window's input-device buttons: the microphone for sung answers and claps, and MIDI
// keyboard input.
#include "TKalvintorMain.h"

#include "MainSound.h"
#include "TExerciseBaseClass.h"
#include "Texts.h"
#include "app/ViewTags.h"

#include <QMessageBox>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

// The exercises that answer through the microphone: sung notes, or claps in 4 and 5.
bool takesMicrophone(int exercise) {
    return exercise == 1 || exercise == 2 || exercise == 4 || exercise == 5 ||
           (exercise >= 7 && exercise <= 9);
}

}  // namespace

void TKalvintorMain::MicrophoneClick(bool down) {
    const int e = CurrentExercise;
    TExerciseBaseClass* window = exerciseWindow(e);
    if (!down) {
        if (window) window->MicrophoneAnswering(false);
        sound_->MicEnd();
        return;
    }
    if (CurrentView != app::kViewExercise || !takesMicrophone(e)) return;
    // Opened on first use, and again after the device went away; a failed open leaves the button
    // up and says why.
    MicOpened = sound_->MicStart(Settings, e, window ? window->MicrophoneRange() : std::nullopt);
    if (!MicOpened) {
        SpeedButton3->setChecked(false);
        QMessageBox::information(this, text(5007, "Information"),
                                 text(7301,
                                      "No microphone could be opened. Check that one is connected and that "
                                      "no other program uses it."));
        return;
    }
    if (window) window->MicrophoneAnswering(true);
}

sound::MicReading TKalvintorMain::microphoneReading() const {
    return sound_->MicLevel();
}

void TKalvintorMain::MidiInClick(bool on) {
    Settings.midiInputEnabled = on;
    if (on && CurrentView == app::kViewExercise && CurrentExercise != 0)
        sound_->router().RouteMidiInput(static_cast<std::uint8_t>(CurrentExercise));
    else
        sound_->router().StopMidiInput();
}

}  // namespace kalvintor::ui
