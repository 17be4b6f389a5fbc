// Exercise 5, rhythm reading: the rhythm is shown and the student taps it after a count-in bar.
#pragma once

#include "rhythm/RhythmExercise.h"

class QScrollArea;

namespace kalvintor::ui::rhythm {

class RhythmPaintBox;

class TRytmeLaes final : public RhythmExercise {
    Q_OBJECT
public:
    explicit TRytmeLaes(ExerciseHost& host, QWidget* parent = nullptr);

    void AutoNewQuestTimerTimer() override;
    void ResetExercise() override;
    void NewQuestion() override;
    // Starts the count-in; the student taps from the page.
    void RepeatQuestion() override;
    // Plays the student's taps back.
    void ButtonAction2() override;
    // Plays the rhythm as a model.
    void ButtonAction3() override;
    void StopPlaying() override;
    void EnterExercise() override;
    void ApplySetup(bool resetResults) override;
    void SeqNotify(std::uint16_t code) override;

    RhythmPaintBox* notation() const { return PaintBox1; }
    bool PlayingBack = false;

protected:
    void PedalDown() override;

private:
    void judge();
    void waitingBar();
    void endOfPlaying();

    QScrollArea* ScrollBox1 = nullptr;
    RhythmPaintBox* PaintBox1;
};

}  // namespace kalvintor::ui::rhythm
