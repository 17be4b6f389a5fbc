// The tap-latency calibration: the student taps along with clicks on the keyboard, a MIDI key or
// by clapping; the mean lateness becomes this workstation's offset for that kind of tap. "Test"
// plays a rhythm to tap along with and shows how the taps fell with the offset taken off.
#pragma once

#include "exercises/rhythm/Rytme.h"
#include "exercises/rhythm/TapInput.h"

#include <QDialog>
#include <QTimer>

class QComboBox;
class QInputEvent;
class QLabel;
class QPushButton;

namespace kalvintor::ui {
class ExerciseHost;
}

namespace kalvintor::ui::rhythm {

class RhythmPaintBox;

class TTapCalibration final : public QDialog {
    Q_OBJECT
public:
    // The clicks and the test rhythm queue their notices from `noticeBase`, the base code of the
    // exercise window that opened the calibration and hands them on (SeqNotify).
    TTapCalibration(ExerciseHost& host, std::uint16_t noticeBase, QWidget* parent = nullptr);

    // A tap heard at `heardMs` on the millisecond clock.
    void Tap(kalvintor::rhythm::TapSource source, std::int64_t heardMs);
    // A notice of the clicks or the test rhythm (its offset from the base code), at the time of
    // the event being handled: the first click and the count-in's end are timed from them, as
    // the exercises time their rhythms.
    void SeqNotify(std::uint16_t offset);
    // Whether notices go to the calibration rather than to the exercise.
    bool playing() const { return phase_ != Phase::Idle; }

    // Plays the clicks and collects taps until they have passed.
    void StartMeasuring();
    // Measures the taps collected so far (the end of the clicks).
    void FinishMeasuring();
    void SaveOffset();
    // Plays a rhythm with a count-in for the student to tap along with.
    void StartTest();
    void FinishTest();

    kalvintor::rhythm::TapSource source() const;
    void setSource(kalvintor::rhythm::TapSource source);
    const kalvintor::rhythm::LatencyMeasurement& measurement() const { return measurement_; }
    QString resultText() const;
    const kalvintor::rhythm::TRytme& testEngine() const { return engine_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Phase { Idle, Measuring, Testing };
    std::int64_t pressTime(const QInputEvent* event);
    void setBusy(bool busy);

    ExerciseHost& host_;
    std::uint16_t noticeBase_;
    kalvintor::rhythm::TRytme engine_;
    kalvintor::rhythm::EventStampMapper stamps_;
    Phase phase_ = Phase::Idle;
    std::vector<std::int64_t> clicks_;
    std::vector<std::int64_t> taps_;
    int tempo_ = kalvintor::rhythm::kCalibrationTempo;
    kalvintor::rhythm::LatencyMeasurement measurement_;
    kalvintor::rhythm::TapGate gate_;
    QTimer finish_;

    QComboBox* InputKind;
    QLabel* Instructions;
    QLabel* TapArea;
    QLabel* Result;
    QPushButton* StartButton;
    QPushButton* SaveButton;
    QPushButton* TestButton;
    QPushButton* CloseButton;
    RhythmPaintBox* TestRhythm;
};

}  // namespace kalvintor::ui::rhythm
