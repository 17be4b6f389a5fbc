// The rhythm reading window: the metronome counts bars until the student's first tap; that bar is
// the rhythm's first, click-only bars follow, and the taps are judged at the end.
#include "rhythm/TRytmeLaes.h"

#include "app/ExerciseHost.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "rhythm/RhythmPaintBox.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "sound/TMidiOut.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

constexpr int kExercise = 5;
constexpr std::uint16_t kBase = 20;
enum Code : std::uint16_t {
    kCountInEnded = 21,
    kRhythmBarEnded = 22,
    kClickBarEnded = 26,
    kWaitingBarEnded = 27,
    kClickBarsEnded = 28,
    kWaitingPenultimateBeat = 29,
};
enum Button { kNew = 0, kStart = 1, kPlayTaps = 2, kModel = 3, kStop = 4 };

}  // namespace

TRytmeLaes::TRytmeLaes(ExerciseHost& host, QWidget* parent)
    : RhythmExercise(kExercise, host, parent), PaintBox1(new RhythmPaintBox(engine_, 0, this)) {
    setObjectName(QStringLiteral("RytmeLaes"));
    ScrollBox1 = notationArea(PaintBox1, "PaintBox1");
    QVBoxLayout* layout = tappingLayout();
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(Label4);

    setControlCaptions({{205, "New question"},
                        {1008, "Start tapping"},
                        {807, "Play my taps"},
                        {1010, "Play rhythm"},
                        {805, "Stop"}});
    connect(&Timer1, &QTimer::timeout, this, [this] { followBars(ScrollBox1); });
    ApplySetup(true);
}

void TRytmeLaes::ApplySetup(bool resetResults) {
    if (resetResults) {
        QuestionCount = 0;
        CorrectCount = 0;
        ShowScore();
        SpaceHeld = false;
    }
    engine_.Setup(host().currentSetup().rhythmBlock(kExercise));
    engine_.Generate();
    LastScore = 0;
    LastAnswerCorrect = false;
    Answered = false;
    Listening = false;
    PlayingBack = false;
    PaintBox1->setShowMarks(false);
    PaintBox1->DrawProgress(0);
    setMessage(815, "Press the button below to begin.");
    for (int b = 0; b < TControlButton::kButtons; ++b) ControlButton->setButtonEnabled(b, b == kStart);
    ControlButton->FocusButton(kStart);
    engine_.ClearTaps();
}

void TRytmeLaes::ResetExercise() {
    StopPlaying();
    QuestionCount = 0;
    CorrectCount = 0;
    ShowScore();
    setMessage(815, "Press the button below to begin.");
}

void TRytmeLaes::AutoNewQuestTimerTimer() {
    // A failed rhythm is offered again.
    if (LastAnswerCorrect) engine_.Generate();
    RepeatQuestion();
}

void TRytmeLaes::PedalDown() {
    if (ControlButton->ButtonEnabled[kStop])
        StopPlaying();
    else
        AutoNewQuestTimerTimer();
}

void TRytmeLaes::NewQuestion() {
    if (engine_.Generate() == r::GenerateOutcome::NothingToChoose) {
        setMessage(r::kTextCannotGenerate, r::kCannotGenerateEnglish);
        return;
    }
    RepeatQuestion();
}

void TRytmeLaes::RepeatQuestion() {
    if (engine_.voice(0).empty()) return;
    Answered = false;
    engine_.ClearTaps();
    PaintBox1->setShowMarks(false);
    host().stopAutoNewQuestTimer();
    for (int b : {kNew, kPlayTaps, kModel}) ControlButton->setButtonEnabled(b, false);
    BarsDone = 0;
    WaitingForStart = false;
    setMessage(820, "Get ready...");
    PlayingBack = false;
    host().midiOut().Stop();
    engine_.StartTaps();
    // The count-in bar; further bars follow until the first tap.
    waitingBar();
    Listening = true;
    ControlButton->setButtonEnabled(kStart, false);
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->FocusButton(kStop);
    TExerciseBaseClass::NewQuestion();
}

void TRytmeLaes::waitingBar() {
    engine_.PlayMetronomeBar(false, kWaitingBarEnded, kWaitingPenultimateBeat, true, true);
}

void TRytmeLaes::endOfPlaying() {
    host().midiOut().Stop();
    BarsDone = 0;
    Timer1.stop();
    setMessage(QString());
    ControlButton->setButtonEnabled(kStop, false);
    for (int b : {kStart, kPlayTaps, kModel}) ControlButton->setButtonEnabled(b, true);
}

void TRytmeLaes::SeqNotify(std::uint16_t code) {
    if (calibrationNotice(code)) return;
    const int bars = engine_.BarCount();
    const int rest = engine_.StartsWithBarRest() ? 1 : 0;
    switch (code) {
        case kCountInEnded:
            if (!PlayingBack) {
                engine_.StartTaps();
                setMessage(830, "Now tap the rhythm");
            }
            PaintBox1->DrawProgress(1);
            break;
        case kRhythmBarEnded:
            ++BarsDone;
            PaintBox1->DrawProgress(BarsDone + 1);
            if (BarsDone < bars) {
                Timer1.start();
                break;
            }
            Timer1.stop();
            BarsDone = 0;
            if (PlayingBack) {
                PlayingBack = false;
                ControlButton->setButtonEnabled(kNew, true);
            } else {
                judge();
            }
            setMessage(QString());
            ControlButton->setButtonEnabled(kStop, false);
            for (int b : {kStart, kPlayTaps, kModel}) ControlButton->setButtonEnabled(b, true);
            PaintBox1->DrawProgress(0);
            scrollToTop(ScrollBox1);
            break;
        case kClickBarEnded:
            ++BarsDone;
            PaintBox1->DrawProgress(BarsDone + 1);
            Timer1.start();
            break;
        case kWaitingBarEnded:
            if (!Listening) break;
            if (!engine_.Tapped()) {
                // Time zero moves to the next bar.
                engine_.StartTaps();
                setMessage(830, "Now tap the rhythm");
                break;
            }
            if (bars > 1 || WaitingForStart) {
                if (WaitingForStart) {
                    engine_.StartTaps();
                    WaitingForStart = false;
                    if (BarsDone == 0 && rest == 1) BarsDone = 1;
                } else if (BarsDone == 0) {
                    BarsDone = rest + 1;
                }
                PaintBox1->DrawProgress(BarsDone + 1);
                break;
            }
            [[fallthrough]];
        case kClickBarsEnded:
            if (!Listening) break;
            endOfPlaying();
            judge();
            PaintBox1->DrawProgress(0);
            scrollToTop(ScrollBox1);
            break;
        case kWaitingPenultimateBeat:
            if (!Listening) break;
            if (engine_.Tapped()) {
                WaitingForStart = false;
                if (bars >= 2) {
                    BarsDone = rest + 1;
                    engine_.PlayMetronomeBars(kBase, bars - BarsDone);
                }
                break;
            }
            WaitingForStart = !engine_.voice(0).front().rest || engine_.StartsWithBarRest();
            waitingBar();
            break;
        default:
            break;
    }
}

void TRytmeLaes::judge() {
    Answered = true;
    Listening = false;
    LastScore = EvaluateTaps();
    LastAnswerCorrect = LastScore >= passThreshold();
    RegisterAnswer(LastAnswerCorrect);
    ++QuestionCount;
    CorrectCount += LastScore;
    ShowScore();
    PaintBox1->setShowMarks(true);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    if (host().checkTutorStepEnd()) return;
    if (host().settings().autoNewQuestion) host().startAutoNewQuestTimer();
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->FocusButton(LastAnswerCorrect ? kNew : kStart);
}

void TRytmeLaes::ButtonAction2() {
    if (engine_.TapCount() == 0) return;
    host().stopAutoNewQuestTimer();
    for (int b = kNew; b <= kModel; ++b) ControlButton->setButtonEnabled(b, false);
    host().midiOut().Stop();
    PlayingBack = true;
    BarsDone = 0;
    engine_.PlayTaps(kBase);
    ControlButton->setButtonEnabled(kStop, true);
    setMessage(832, "Your taps");
}

void TRytmeLaes::ButtonAction3() {
    host().stopAutoNewQuestTimer();
    for (int b = kNew; b <= kModel; ++b) ControlButton->setButtonEnabled(b, false);
    host().midiOut().Stop();
    PlayingBack = true;
    BarsDone = 0;
    engine_.PlayRhythm(kBase, 0, true);
    ControlButton->setButtonEnabled(kStop, true);
    setMessage(831, "The rhythm");
}

void TRytmeLaes::StopPlaying() {
    Timer1.stop();
    host().stopAutoNewQuestTimer();
    BarsDone = 0;
    host().midiOut().Stop();
    ControlButton->setButtonEnabled(kStop, false);
    setMessage(QString());
    ControlButton->setButtonEnabled(kStart, true);
    if (PlayingBack) {
        PlayingBack = false;
        ControlButton->setButtonEnabled(kPlayTaps, engine_.TapCount() > 0 && Answered);
        ControlButton->setButtonEnabled(kModel, true);
        PaintBox1->DrawProgress(0);
    } else {
        // A question stopped before its end is not judged; its taps are dropped.
        Listening = false;
        WaitingForStart = false;
        engine_.ClearTaps();
        ControlButton->FocusButton(kStart);
    }
    ControlButton->setButtonEnabled(kNew, true);
    scrollToTop(ScrollBox1);
    PaintBox1->update();
}

void TRytmeLaes::EnterExercise() {
    EnterRhythmExercise(true);
    if (!host().tutorActive() && host().settings().autoNewQuestion)
        host().startAutoNewQuestTimer();
    else
        host().stopAutoNewQuestTimer();
}

}  // namespace kalvintor::ui::rhythm
