// Exercise 6, rhythm correction: the student hears a changed version of the written rhythm and
// marks every note the changes involve.
#pragma once

#include "rhythm/RhythmExercise.h"

#include <set>

class QScrollArea;

namespace kalvintor::ui {
class TickIcon;
}

namespace kalvintor::ui::rhythm {

class RhythmPaintBox;

class TRytmeKorr final : public RhythmExercise {
    Q_OBJECT
public:
    explicit TRytmeKorr(ExerciseHost& host, QWidget* parent = nullptr);

    void AutoNewQuestTimerTimer() override;
    void ResetExercise() override;
    void MidiInput(std::uint32_t message) override;
    void NewQuestion() override;
    // Plays the changed rhythm.
    void ButtonAction2() override;
    void RepeatQuestion() override;
    // Checks the marked notes.
    void ButtonAction3() override;
    void StopPlaying() override;
    void EnterExercise() override;
    void ApplySetup(bool resetResults) override;
    void SeqNotify(std::uint16_t code) override;

    // Marks or unmarks the note under a press on the written rhythm.
    void PressOnWritten(QPoint at);
    const std::set<int>& Marks() const { return marks_; }
    RhythmPaintBox* written() const { return PaintBox1; }
    RhythmPaintBox* changed() const { return PaintBox3; }
    bool changedShown() const;
    bool tickShown() const;
    QString ResultText;

protected:
    void PedalDown() override;

private:
    bool makeQuestion();
    void play(int voice);
    void showChanged(bool show);
    // The picture left of the message line after a correct answer; hidden, the line takes its place.
    void showTick(bool show);
    void paintDots(QPainter& p) const;

    std::set<int> marks_;  // indices into the written rhythm
    bool PlayingChanged = false;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QScrollArea* ScrollBox1;
    RhythmPaintBox* PaintBox1;
    QScrollArea* ScrollBox2;
    RhythmPaintBox* PaintBox3;
    TickIcon* Image13;
};

}  // namespace kalvintor::ui::rhythm
