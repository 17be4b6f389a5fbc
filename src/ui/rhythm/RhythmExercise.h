// What the three rhythm exercise windows share: the rhythm engine, the taps from the space bar,
// the mouse, a MIDI key and the microphone, the message line, and the score display.
#pragma once

#include "app/TExerciseBaseClass.h"
#include "exercises/rhythm/Rytme.h"
#include "exercises/rhythm/TapInput.h"

#include <QTimer>

#include <optional>

class QCheckBox;
class QInputEvent;
class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

namespace kalvintor::ui::rhythm {

class RhythmPaintBox;
class TTapCalibration;

class RhythmExercise : public TExerciseBaseClass {
    Q_OBJECT
public:
    RhythmExercise(int exercise, ExerciseHost& host, QWidget* parent = nullptr);
    ~RhythmExercise() override;

    kalvintor::rhythm::TRytme& engine() { return engine_; }
    const kalvintor::rhythm::TRytme& engine() const { return engine_; }

    void ShowScore() override;
    // Note-on: a tap; note-off: the end of its sound; the sustain pedal: the exercise's own action.
    void MidiInput(std::uint32_t message) override;
    void MicClap(std::int64_t timeMs) override;
    void TempoChanged(int tempo) override;
    // The "Rhythm with metronome" menu item changed the choice this window's box shows.
    void SettingsChanged() override;

    // A tap heard at `heardMs` on the millisecond clock (claps bring their time, key presses the
    // time of their event), else at the time of the event being handled (a MIDI key's arrival).
    void Tap(kalvintor::rhythm::TapSource source, std::optional<std::int64_t> heardMs = {});
    void TapReleased();

    // Opens the tap-timing calibration; taps go to it while it is open.
    void OpenCalibration();
    TTapCalibration* calibration() const { return calibration_; }

    QLabel* messageLine() const { return Label4; }
    QString message() const;

    int LastScore = 0;
    bool Listening = false;
    bool SpaceHeld = false;
    int BarsDone = 0;
    bool WaitingForStart = false;

protected:
    // The sustain pedal went down.
    virtual void PedalDown() = 0;
    // Program changes for the click and the rhythm sound, and the microphone for claps.
    void EnterRhythmExercise(bool withMicrophone);
    void setMessage(const QString& text);
    void setMessage(int id, const char* designTime);
    int passThreshold() const;
    // While the calibration plays its clicks or its test rhythm, this window's notices are its:
    // true when `code` went to it.
    bool calibrationNotice(std::uint16_t code);
    std::uint16_t noticeBase() const;
    // The engine judges the taps; the message line shows its message.
    int EvaluateTaps();
    void setControlCaptions(std::initializer_list<std::pair<int, const char*>> captions);
    void scrollToTop(QScrollArea* area);
    // A scroll box named ScrollBox1 around the rhythm notation `box`, named `boxName`.
    QScrollArea* notationArea(RhythmPaintBox* box, const char* boxName);
    // The window's layout down to the tapping windows' options: the control buttons, then the
    // metronome choice and the calibration centred, the tip button at the right.
    QVBoxLayout* tappingLayout();
    // One step of the auto-scroll: the notation moves down 2 pixels towards the row of the bar
    // after BarsDone; the timer stops there.
    void followBars(QScrollArea* area);

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    kalvintor::rhythm::TRytme engine_;
    QLabel* Label4;     // the message line, which doubles as a tap area
    QPushButton* Klap;  // takes mouse and space-bar taps
    QTimer Timer1;      // scrolls the notation along with the bars
    QPushButton* Calibrate;
    QCheckBox* RhythmWithMetronome;  // clicks along with the rhythms played
    QToolButton* SpeedButton10;      // the tip of the rhythm exercises

private:
    // The moment of a key or mouse press, from the time stamp its event carries.
    std::int64_t pressTime(const QInputEvent* event);

    kalvintor::rhythm::TapGate gate_;
    kalvintor::rhythm::EventStampMapper stamps_;
    TTapCalibration* calibration_ = nullptr;  // while it is open
};

}  // namespace kalvintor::ui::rhythm
