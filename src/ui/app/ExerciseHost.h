// What an exercise window needs from the shell around it: the status panel, the shared timers,
// the answer sounds and the input devices. The main window provides it; tests provide their own.
#pragma once

#include "sound/MicSession.h"

#include <QString>

#include <cstdint>

class QKeyEvent;

namespace kalvintor::settings {
struct Settings;
struct TSoundRec;
}  // namespace kalvintor::settings
namespace kalvintor::setup {
struct SetupRecord;
}
namespace kalvintor::sound {
class TMidiOut;
}
namespace kalvintor::theory {
struct ChordCatalogue;
}

namespace kalvintor::ui {

class ExerciseHost {
public:
    virtual ~ExerciseHost() = default;

    virtual const settings::Settings& settings() const = 0;
    // The piano panel's sound controls change the piano voice of the settings.
    virtual void setPianoVoice(const settings::TSoundRec& voice) = 0;
    // The setup in force and the chord catalogue its entries refer to.
    virtual const setup::SetupRecord& currentSetup() const = 0;
    virtual const theory::ChordCatalogue& catalogue() const = 0;
    // The output the questions play on.
    virtual sound::TMidiOut& midiOut() = 0;
    virtual bool tutorActive() const = 0;
    // The score panel: the gauge percentage and the score label.
    virtual void showScore(int gaugePercent, const QString& label) = 0;
    virtual void showTutorProgress() = 0;
    virtual void startAutoNewQuestTimer() = 0;
    virtual void stopAutoNewQuestTimer() = 0;
    // The answer-blink timer calls the current exercise's AnswerButtonBlink every `intervalMs`.
    virtual void startAnswerBlinkTimer(int intervalMs) = 0;
    virtual void stopAnswerBlinkTimer() = 0;
    // The light-display timer (150 ms) calls the current pitch exercise's LightDisplayStep.
    virtual void startLightDisplayTimer() = 0;
    virtual void stopLightDisplayTimer() = 0;
    // Called after each evaluated answer: true when a tutor step has just ended.
    virtual bool checkTutorStepEnd() = 0;
    // Routes MIDI input to nobody and stops microphone detection when it runs.
    virtual void stopMidiInput() = 0;
    virtual void stopMicrophone() = 0;
    // Starts microphone detection for `exercise` when the main window's microphone input is on.
    virtual void beginMicrophone(int exercise) = 0;
    // The level the microphone hears and its state, shown while sung answers are taken.
    virtual sound::MicReading microphoneReading() const = 0;
    // The "Rhythm with metronome" choice of the settings: clicks along with the rhythms played.
    virtual void setRhythmWithMetronome(bool on) = 0;
    // The tip mask of the settings (bit n - 1: tip n is still offered), changed by the tip window.
    virtual void setTipsToShow(std::uint32_t mask) = 0;
    // Plays a wave file asynchronously; a missing file plays nothing.
    virtual void playWave(const QString& file) = 0;
    // Keys of the exercise windows go to the shell, which turns them into control-button presses.
    virtual bool exerciseKeyPressed(QKeyEvent* event) = 0;
    virtual bool exerciseKeyReleased(QKeyEvent* event) = 0;
};

}  // namespace kalvintor::ui
