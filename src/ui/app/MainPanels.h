// Widgets of the main window's tool panels: the score gauge, the visual metronome and the
// pictures of the tool buttons.
#pragma once

#include "app/VisualMetronome.h"

#include <QIcon>
#include <QToolButton>
#include <QWidget>

namespace kalvintor::ui {

// The score gauge: a bar in green on maroon with the percentage written over it.
class TGauge final : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);
    int Progress() const { return progress_; }
    void SetProgress(int percent);
    QSize sizeHint() const override { return {160, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int progress_ = 100;
};

// The visual metronome's paint box (72 × 50): it shows the last frame it was given.
class TMetronomeBox final : public QWidget {
public:
    explicit TMetronomeBox(QWidget* parent = nullptr);
    void ShowFrame(const app::VisualMetronomeFrame& frame);
    const app::VisualMetronomeFrame& Frame() const { return frame_; }
    QSize sizeHint() const override { return {72, 50}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    app::VisualMetronomeFrame frame_;
};

// A button of the tool panels. Assistive technology names it by its hint and presses it the way a
// click does.
class TSpeedButton final : public QToolButton {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* parent = nullptr);
};

enum class ToolGlyph {
    LoadSetup,
    Tutor,
    ExerciseView,
    SetupView,
    ResultsView,
    UsersView,
    TutorSetup,
    Help,
    Overview,
    Metronome,
    VisualMetronome,
    Microphone,
    MidiKeyboard
};

// A tool button's picture, drawn for the screen's pixel ratio (and twice that, for sharp scaling).
QIcon toolIcon(ToolGlyph glyph);
// The toolbar picture of an exercise: the start menu's picture at half its size.
QIcon exerciseIcon(int exercise);
// The note picture beside the tempo.
QPixmap tempoNotePicture(qreal devicePixelRatio);

}  // namespace kalvintor::ui
