// Exercise 3, interval comparison: two different intervals, A then B, and which one is larger.
#pragma once

#include "app/TExerciseBaseClass.h"
#include "exercises/pitch/IntervalComparison.h"
#include "pitch/AnswerPanel.h"

class QLabel;

namespace kalvintor::ui {

class TickIcon;

class TIntervalSam final : public TExerciseBaseClass {
    Q_OBJECT
public:
    explicit TIntervalSam(ExerciseHost& host, QWidget* parent = nullptr);

    void AutoNewQuestTimerTimer() override;
    void ResetExercise() override;
    void ShowScore() override;
    void MidiInput(std::uint32_t message) override;
    void NewQuestion() override;
    void RepeatQuestion() override;
    // Answer A / answer B; once answered they replay their interval alone.
    void ButtonAction2() override;
    void ButtonAction3() override;
    void StopPlaying() override;
    void EnterExercise() override;
    void ApplySetup(bool resetResults) override;
    void SeqNotify(std::uint16_t code) override;
    void AnswerButtonBlink() override;

    const pitch::IntervalComparisonState& state() const { return state_; }
    // A question was drawn and has not been dropped by a reset or a new setup since.
    bool hasQuestion() const { return hasQuestion_; }
    AnswerPanel* panel(pitch::ComparisonChoice which) const;
    QLabel* questionLabel() const { return label_; }
    TickIcon* tick() const { return tick_; }

private:
    void choose(pitch::ComparisonChoice choice);
    void judge(pitch::ComparisonChoice choice);
    void showJudgedShades();
    void showLetters();
    void showLabel(const QString& text, bool withTick);
    void allPanels(AnswerPanel::Shade shade);
    void enableOnlyNewQuestion();
    void setAnswerButtonsEnabled(bool enabled);
    void stopBlinking();

    pitch::IntervalComparisonState state_;
    bool hasQuestion_ = false;
    // The last judged choice, for the colours after judging.
    pitch::ComparisonChoice chosen_ = pitch::ComparisonChoice::A;
    bool blinking_ = false;
    int blinkTicks_ = 0;
    // The last answer ended a tutor step: entering the exercise does not start the timer then.
    bool tutorStepEnded_ = false;

    AnswerPanel* panelA_;
    AnswerPanel* panelB_;
    QLabel* label_;
    TickIcon* tick_;
};

}  // namespace kalvintor::ui
