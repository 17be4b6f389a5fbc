// The pitch exercise window of exercises 1, 2, 7, 8, 9 and 10, each instance fixed to one mode:
// it asks, plays and judges questions answered by name, on the piano, the guitar, the notesheet,
// a MIDI keyboard or by singing.
#pragma once

#include "app/TExerciseBaseClass.h"
#include "exercises/pitch/Answer.h"
#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/Instruments.h"
#include "exercises/pitch/LightDisplay.h"
#include "exercises/pitch/PlayQuestion.h"
#include "settings/SettingRecord.h"

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QToolButton;

namespace kalvintor::ui {

class MicMeter;
class NameButtons;
class PianoSoundControls;
class PlayStyleIndicators;
class TGuitar;
class TPiano;
class TSheet;
class TickIcon;

class TAkkord final : public TExerciseBaseClass {
    Q_OBJECT
public:
    TAkkord(int exercise, ExerciseHost& host, QWidget* parent = nullptr);

    // The mode of each pitch exercise, by its number (1, 2, 7, 8, 9, 10).
    static pitch::ExerciseMode ModeOf(int exercise);

    void AutoNewQuestTimerTimer() override;
    void ResetExercise() override;
    void ShowScore() override;
    void MidiInput(std::uint32_t message) override;
    void NewQuestion() override;
    void RepeatQuestion() override;
    // Plays the answer entered so far.
    void ButtonAction2() override;
    // Checks the answer (control button 3).
    void ButtonAction3() override;
    void StopPlaying() override;
    void EnterExercise() override;
    void LeaveExercise() override;
    void ApplySetup(bool resetResults) override;
    void SeqNotify(std::uint16_t code) override;
    void AnswerButtonBlink() override;
    // A tick of the light-display timer: the notes sounding now light up.
    void LightDisplayStep() override;
    void CompleteAnswer() override;
    void MicPitch(std::uint8_t pitch) override;

    // Shows the chosen answer instruments (bits: 1 names, 2 piano, 4 guitar, 8 notesheet).
    void ShowAnswerPanels(std::uint8_t bits);
    std::uint8_t answerPanels() const { return panels_; }
    // A name button: preview the entry, or answer with it.
    void PreviewAnswer(int entry, bool commit);
    // Enters the held note (Insert).
    void EnterHeldNote();
    // The microphone answers (the main window's microphone button).
    void MicrophoneAnswering(bool on) override;
    std::optional<pitch::SungRange> MicrophoneRange() const override;
    bool microphoneAnswering() const { return microphone_; }

    const pitch::PitchExerciseState& state() const { return state_; }
    QLabel* feedbackLabel() const { return label_; }
    TickIcon* tick() const { return tick_; }
    NameButtons* nameButtons() const { return names_; }
    TPiano* piano() const { return piano_; }
    TGuitar* guitar() const { return guitar_; }
    TSheet* sheet() const { return sheet_; }
    MicMeter* micMeter() const { return meter_; }
    PlayStyleIndicators* playStyles() const { return styles_; }
    PianoSoundControls* pianoSound() const { return pianoSound_; }
    // The shown notes lit by the light display (indices into the notes the staff shows).
    const std::vector<int>& litNotes() const { return lit_; }
    QPushButton* chordTypeButton(int symbolIndex) const;
    QToolButton* noteValueButton(std::uint8_t noteValue) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildChordTypeBar();
    void buildNoteValueTools();
    void updateNoteValueTools();
    void play(int kind);
    // The light display of a playback that has just started, and its end.
    void startLightDisplay(pitch::PlayKind kind);
    void stopLightDisplay();
    // The notes the staff and the instruments show: the judged display, else the answer.
    const std::vector<pitch::QuestionNote>& shownNotes() const;
    std::size_t shownAnswerCount() const;
    void stepPianoVoice(int programSteps, int velocitySteps);
    void judged(const std::optional<pitch::Judgement>& judgement);
    void afterAnswerChange(const pitch::AddOutcome& outcome);
    void afterChordChange(bool checkNow);
    void enterNote(const pitch::QuestionNote& note, bool remove, int position);
    void hold(const pitch::QuestionNote& note, pitch::NoteSource source, bool sound);
    void releaseHeld();
    void instrumentPressed(int shownPitch, int string, pitch::NoteSource source);
    void instrumentReleased(int shownPitch, bool remove);
    void redraw();
    void showLabel(const QString& text, bool withTick);
    void showAnswerLabel();
    void enableOnlyNewQuestion();
    void stopBlinking();
    void applyAnswerModes();
    bool guitarSound() const;
    settings::TSoundRec voice(int key) const;
    pitch::JudgeContext judgeContext() const;
    int scoreFormat() const;

    pitch::PitchExerciseState state_;
    pitch::MidiKeyboardState keys_;
    pitch::MicrophoneRing ring_;
    std::optional<pitch::Judgement> judgement_;
    bool hasQuestion_ = false;
    std::uint8_t panels_ = 0;
    bool panelsChosen_ = false;
    int soundingKey_ = 0;
    bool blinking_ = false;
    int blinkTicks_ = 0;
    bool tutorStepEnded_ = false;
    bool microphone_ = false;
    std::vector<pitch::LightSpan> lightSpans_;
    int lightSteps_ = 0;
    std::vector<int> lit_;

    QLabel* label_;
    TickIcon* tick_;
    QWidget* inputBar_;
    std::vector<QToolButton*> inputButtons_;
    NameButtons* names_;
    QWidget* chordTypes_;
    std::vector<QPushButton*> chordTypeButtons_;
    // Melodies with rhythm: the note value the next entered note gets.
    QWidget* noteTools_;
    std::vector<QToolButton*> noteValueButtons_;
    std::uint8_t noteValue_ = pitch::kQuarterNote;
    PlayStyleIndicators* styles_;
    QWidget* pianoPanel_;
    PianoSoundControls* pianoSound_;
    TPiano* piano_;
    TGuitar* guitar_;
    TSheet* sheet_;
    MicMeter* meter_;
};

}  // namespace kalvintor::ui
