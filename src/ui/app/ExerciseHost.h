// What an exercise window needs from the shell around it: the status panel, the shared timers,
// the answer sounds and the input devices. The main window provides it; tests provide their own.
#pragma once

#include <QString>

class QKeyEvent;

namespace kalvintor::settings {
struct Settings;
}

namespace kalvintor::ui {

class ExerciseHost {
public:
    virtual ~ExerciseHost() = default;

    virtual const settings::Settings& settings() const = 0;
    // The score panel: the gauge percentage and the score label.
    virtual void showScore(int gaugePercent, const QString& label) = 0;
    virtual void showTutorProgress() = 0;
    virtual void stopAutoNewQuestTimer() = 0;
    // Routes MIDI input to nobody and stops microphone detection when it runs.
    virtual void stopMidiInput() = 0;
    virtual void stopMicrophone() = 0;
    // Plays a wave file asynchronously; a missing file plays nothing.
    virtual void playWave(const QString& file) = 0;
    // Keys of the exercise windows go to the shell, which turns them into control-button presses.
    virtual bool exerciseKeyPressed(QKeyEvent* event) = 0;
    virtual bool exerciseKeyReleased(QKeyEvent* event) = 0;
};

}  // namespace kalvintor::ui
