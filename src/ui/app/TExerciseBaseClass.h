// The base of the ten exercise windows: the exercise interface the main window drives, the
// session counters and clocks, the control buttons and the answer bookkeeping.
#pragma once

#include "app/ExerciseClocks.h"
#include "exercises/pitch/Instruments.h"

#include <QWidget>

#include <cstdint>
#include <optional>

namespace kalvintor::ui {

class ExerciseHost;
class TControlButton;

class TExerciseBaseClass : public QWidget, public app::ExerciseClocks {
    Q_OBJECT
public:
    TExerciseBaseClass(int exercise, ExerciseHost& host, QWidget* parent = nullptr);

    int exercise() const { return exercise_; }
    TControlButton* ControlButton = nullptr;
    // Pitch exercises: the answer-input mask the setup prescribes (0 = the user chooses).
    std::uint8_t ForcedAnswerInput = 0;
    // The exercise's own text from the language file.
    QString ExerciseText;

    // The exercise interface, in its order.
    virtual void AutoNewQuestTimerTimer() = 0;
    virtual void ResetExercise() = 0;
    virtual void ShowScore() = 0;
    // One packed MIDI short message: status in the low byte, then the two data bytes.
    virtual void MidiInput(std::uint32_t message) = 0;
    virtual void NewQuestion();
    virtual void RepeatQuestion() = 0;
    virtual void ButtonAction2() = 0;
    virtual void ButtonAction3() = 0;
    virtual void StopPlaying() = 0;
    virtual void EnterExercise();
    virtual void LeaveExercise();
    // Takes the exercise's block of the current setup; with resetResults also clears the counters.
    virtual void ApplySetup(bool resetResults) = 0;

    // Not in the interface: a sequencer notification for this window (its code as routed), and a
    // tick of the answer-blink timer.
    virtual void SeqNotify(std::uint16_t code);
    virtual void AnswerButtonBlink();
    // A tick of the light-display timer: the pitch exercises light the notes of the answer in turn.
    virtual void LightDisplayStep();
    // The damper pedal in the exercises that take several notes as one answer: the answer is
    // complete. The others take each note as it comes.
    virtual void CompleteAnswer();
    // The microphone: a detected pitch for the pitch exercises (35 or below: silence), and a clap
    // at its time on the tap clock for rhythm imitation and reading.
    virtual void MicPitch(std::uint8_t pitch);
    virtual void MicClap(std::int64_t timeMs);
    // The main window's tempo control moved while this exercise is current (the rhythm exercises
    // take it into their engines).
    virtual void TempoChanged(int tempo);
    // The microphone button went down or up while this exercise is shown: the pitch exercises
    // show what they hear and take sung notes as answers.
    virtual void MicrophoneAnswering(bool on);
    // A choice of the settings changed outside the window (a menu item): it shows it again.
    virtual void SettingsChanged();
    // The sung notes that can answer this exercise: the detector ignores the others. None: any
    // note a voice sings.
    virtual std::optional<pitch::SungRange> MicrophoneRange() const;

    // Plays the answer sound (when sound effects are on) and books the answer time.
    void RegisterAnswer(bool correct);
    // Runs the action of the pressed control button, then releases it.
    void ControlButtonUpAction();

protected:
    ExerciseHost& host() const { return host_; }
    // The common score display: the gauge and the label from format text `formatId`.
    void WriteScore(int formatId, const char* designTime);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int exercise_;
    ExerciseHost& host_;
};

}  // namespace kalvintor::ui
