// Exercise 4, rhythm imitation: the student hears a rhythm and taps it back in the bar after it.
#pragma once

#include "rhythm/RhythmExercise.h"

class QFrame;
class QScrollArea;

namespace kalvintor::ui::rhythm {

class ProgressStrip;
class RhythmPaintBox;

class TRytmeImit final : public RhythmExercise {
    Q_OBJECT
public:
    explicit TRytmeImit(ExerciseHost& host, QWidget* parent = nullptr);

    void AutoNewQuestTimerTimer() override;
    void ResetExercise() override;
    void NewQuestion() override;
    void RepeatQuestion() override;
    // Plays the student's taps back.
    void ButtonAction2() override;
    // Shows the rhythm in notation, with the marks once judged.
    void ButtonAction3() override;
    void StopPlaying() override;
    void EnterExercise() override;
    void ApplySetup(bool resetResults) override;
    void SeqNotify(std::uint16_t code) override;

    ProgressStrip* progress() const { return PaintBox1; }
    RhythmPaintBox* notation() const { return PaintBox2; }
    bool notationShown() const;
    bool ReplayingTaps = false;

protected:
    void PedalDown() override;

private:
    void judge();
    void setSegment(int segment);
    void drawProgress(int bar);
    void turnBar();
    void showNotation(bool show);

    ProgressStrip* PaintBox1;
    QScrollArea* ScrollBox1 = nullptr;
    RhythmPaintBox* PaintBox2;
};

}  // namespace kalvintor::ui::rhythm
