// The rhythm imitation window: the rhythm with its count-in, then turn bars until the student
// taps; the first tapped bar is the first bar of the answer, click-only bars follow.
#include "rhythm/TRytmeImit.h"

#include "app/ExerciseHost.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "rhythm/ProgressStrip.h"
#include "rhythm/RhythmPaintBox.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "sound/TMidiOut.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

constexpr int kExercise = 4;
constexpr std::uint16_t kBase = 10;
enum Code : std::uint16_t {
    kCountInEnded = 11,
    kRhythmBarEnded = 12,
    kClickBarEnded = 16,
    kTurnBarEnded = 17,
    kClickBarsEnded = 18,
    kTurnPenultimateBeat = 19,
};
// Silent turn bars after which the rhythm is offered again.
constexpr int kSilentTurnBars = 3;
enum Button { kNew = 0, kRepeat = 1, kPlayTaps = 2, kShow = 3, kStop = 4 };

}  // namespace

TRytmeImit::TRytmeImit(ExerciseHost& host, QWidget* parent)
    : RhythmExercise(kExercise, host, parent),
      PaintBox1(new ProgressStrip(this)),
      PaintBox2(new RhythmPaintBox(engine_, 0, this)) {
    setObjectName(QStringLiteral("RytmeImit"));
    ScrollBox1 = notationArea(PaintBox2, "PaintBox2");
    QVBoxLayout* layout = tappingLayout();
    layout->addWidget(PaintBox1);
    layout->addWidget(Label4);
    layout->addWidget(ScrollBox1);
    layout->addStretch(1);

    setControlCaptions(
        {{205, "New question"}, {808, "Repeat"}, {807, "Play my taps"}, {809, "Show rhythm"}, {805, "Stop"}});
    connect(&Timer1, &QTimer::timeout, this, [this] { followBars(ScrollBox1); });
    ApplySetup(true);
}

bool TRytmeImit::notationShown() const {
    return !ScrollBox1->isHidden();
}

void TRytmeImit::showNotation(bool show) {
    ScrollBox1->setVisible(show);
    PaintBox2->setShowMarks(Answered);
    PaintBox2->update();
}

void TRytmeImit::setSegment(int segment) {
    PaintBox1->setSegment(segment);
}

void TRytmeImit::drawProgress(int bar) {
    PaintBox2->DrawProgress(bar);
}

void TRytmeImit::ApplySetup(bool resetResults) {
    if (resetResults) {
        QuestionCount = 0;
        CorrectCount = 0;
        ShowScore();
        SpaceHeld = false;
        LastScore = 100;
        LastAnswerCorrect = true;
    }
    engine_.Setup(host().currentSetup().rhythmBlock(kExercise));
    engine_.Generate();
    Listening = false;
    Answered = false;
    for (int b = 0; b < TControlButton::kButtons; ++b) ControlButton->setButtonEnabled(b, b == kNew);
    ControlButton->FocusButton(kNew);
    showNotation(false);
    PaintBox1->setRhythm(engine_.BarCount(), engine_.CurrentMeter().numerator,
                         engine_.CurrentMeter().denominator);
    setSegment(0);
    setMessage(815, "Press the button below to begin.");
}

void TRytmeImit::ResetExercise() {
    StopPlaying();
    QuestionCount = 0;
    CorrectCount = 0;
    ShowScore();
    setMessage(815, "Press the button below to begin.");
}

void TRytmeImit::AutoNewQuestTimerTimer() {
    NewQuestion();
}

void TRytmeImit::PedalDown() {
    if (ControlButton->ButtonEnabled[kNew])
        NewQuestion();
    else
        StopPlaying();
}

void TRytmeImit::NewQuestion() {
    LastScore = 100;
    showNotation(false);
    if (engine_.Generate() == r::GenerateOutcome::NothingToChoose) {
        setMessage(r::kTextCannotGenerate, r::kCannotGenerateEnglish);
        return;
    }
    PaintBox1->setRhythm(engine_.BarCount(), engine_.CurrentMeter().numerator,
                         engine_.CurrentMeter().denominator);
    RepeatQuestion();
}

void TRytmeImit::RepeatQuestion() {
    if (engine_.voice(0).empty()) return;
    Answered = false;
    host().stopAutoNewQuestTimer();
    if (!ControlButton->ButtonEnabled[kStop]) {
        for (int b = kNew; b <= kShow; ++b) ControlButton->setButtonEnabled(b, false);
        ControlButton->setButtonEnabled(kStop, true);
        ControlButton->FocusButton(kStop);
    }
    host().midiOut().Stop();
    setMessage(820, "Listen...");
    BarsDone = 0;
    WaitingForStart = false;
    ReplayingTaps = false;
    PaintBox1->show();
    setSegment(1);
    PaintBox2->setShowMarks(false);
    engine_.PlayRhythm(kBase, 0, true);
    engine_.ClearTaps();
    // The first bar of the student's turn follows the rhythm directly.
    turnBar();
    Listening = true;
    TExerciseBaseClass::NewQuestion();
}

void TRytmeImit::turnBar() {
    engine_.PlayMetronomeBar(false, kTurnBarEnded, kTurnPenultimateBeat, true, true);
}

void TRytmeImit::SeqNotify(std::uint16_t code) {
    if (calibrationNotice(code)) return;
    const int bars = engine_.BarCount();
    const int rest = engine_.StartsWithBarRest() ? 1 : 0;
    switch (code) {
        case kCountInEnded:
            setMessage(825, "Listen to the rhythm");
            setSegment(2);
            drawProgress(1);
            break;
        case kRhythmBarEnded:
            ++BarsDone;
            setSegment(BarsDone + 2);
            drawProgress(BarsDone + 1);
            if (BarsDone < bars) {
                Timer1.start();
                break;
            }
            if (ReplayingTaps) {
                StopPlaying();
                break;
            }
            // The turn begins: taps made while the rhythm played (or its sound reaching the
            // microphone) are no answer.
            engine_.ClearTaps();
            engine_.StartTaps();
            setMessage(830, "Now tap the rhythm");
            scrollToTop(ScrollBox1);
            BarsDone = 0;
            break;
        case kClickBarEnded:
            drawProgress(BarsDone + 2);
            ++BarsDone;
            Timer1.start();
            break;
        case kTurnBarEnded:
            if (!Listening) break;
            if (engine_.Tapped()) {
                if (bars == 1 && !WaitingForStart) {
                    judge();
                    break;
                }
                drawProgress(BarsDone + 1);
                if (WaitingForStart) {
                    engine_.StartTaps();
                    WaitingForStart = false;
                } else if (BarsDone == 0) {
                    BarsDone = rest + 1;
                    drawProgress(BarsDone + 1);
                }
            } else {
                if (PaintBox1->segment() == 1) {
                    setSegment(2);
                    drawProgress(1);
                }
                // Time zero moves to the next bar.
                engine_.StartTaps();
            }
            break;
        case kClickBarsEnded:
            if (!Listening) break;
            judge();
            scrollToTop(ScrollBox1);
            break;
        case kTurnPenultimateBeat:
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
            if (++BarsDone > kSilentTurnBars) {
                // Three silent bars: the rhythm is offered again.
                setMessage(825, "Listen to the rhythm");
                engine_.PlayRhythm(kBase, 0, false);
                turnBar();
                BarsDone = 0;
                setSegment(1);
            } else {
                turnBar();
            }
            break;
        default:
            break;
    }
}

void TRytmeImit::judge() {
    Listening = false;
    Answered = true;
    ++QuestionCount;
    LastScore = EvaluateTaps();
    const int pass = passThreshold();
    LastAnswerCorrect = LastScore >= pass;
    RegisterAnswer(LastAnswerCorrect);
    CorrectCount += LastScore;
    ShowScore();
    PaintBox2->setShowMarks(true);
    if (host().checkTutorStepEnd()) return;
    const bool showOption = host().currentSetup().rhythmBlock(kExercise).showSecondTime != 0;
    bool show = showOption;
    if (host().settings().autoNewQuestion) {
        show = !LastAnswerCorrect && showOption;
        if (LastAnswerCorrect)
            NewQuestion();
        else
            RepeatQuestion();
    } else {
        const int score = LastScore;
        const bool correct = LastAnswerCorrect;
        StopPlaying();
        LastScore = score;
        LastAnswerCorrect = correct;
        ControlButton->FocusButton(correct ? kNew : kRepeat);
    }
    if (show) ButtonAction3();
}

void TRytmeImit::ButtonAction2() {
    if (engine_.TapCount() == 0) return;
    Timer1.stop();
    ControlButton->setButtonEnabled(kNew, false);
    ControlButton->setButtonEnabled(kRepeat, false);
    setSegment(0);
    PaintBox1->hide();
    host().midiOut().Stop();
    ReplayingTaps = true;
    BarsDone = 0;
    engine_.PlayTaps(kBase);
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->setButtonEnabled(kPlayTaps, false);
    setMessage(832, "Your taps");
}

void TRytmeImit::ButtonAction3() {
    ControlButton->setButtonEnabled(kShow, false);
    showNotation(true);
}

void TRytmeImit::StopPlaying() {
    LastScore = 0;
    LastAnswerCorrect = false;
    Listening = false;
    WaitingForStart = false;
    BarsDone = 0;
    ControlButton->setButtonEnabled(kStop, false);
    host().midiOut().Stop();
    PaintBox1->show();
    setSegment(0);
    drawProgress(0);
    Timer1.stop();
    scrollToTop(ScrollBox1);
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->setButtonEnabled(kRepeat, !engine_.voice(0).empty());
    ControlButton->setButtonEnabled(kShow, !notationShown());
    ControlButton->setButtonEnabled(kPlayTaps, Answered && engine_.TapCount() > 0);
    if (ReplayingTaps)
        ReplayingTaps = false;
    else
        ControlButton->FocusButton(kRepeat);
    PaintBox2->update();
}

void TRytmeImit::EnterExercise() {
    EnterRhythmExercise(true);
    if (!host().tutorActive() && host().settings().autoNewQuestion) host().startAutoNewQuestTimer();
}

}  // namespace kalvintor::ui::rhythm
