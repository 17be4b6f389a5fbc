// The rhythm correction window: the written rhythm to mark on, the changed one after the check.
#include "rhythm/TRytmeKorr.h"

#include "app/ExerciseHost.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "exercises/rhythm/Correction.h"
#include "pitch/TickIcon.h"
#include "rhythm/RhythmPaintBox.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "sound/TMidiOut.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

constexpr int kExercise = 6;
constexpr std::uint16_t kBase = 30;
constexpr std::uint16_t kCountInEnded = 31;
constexpr std::uint16_t kRhythmBarEnded = 32;
constexpr int kQuestionTries = 80;
enum Button { kNew = 0, kPlayChanged = 1, kPlayWritten = 2, kCheck = 3, kStop = 4 };

}  // namespace

TRytmeKorr::TRytmeKorr(ExerciseHost& host, QWidget* parent)
    : RhythmExercise(kExercise, host, parent),
      Label5(new QLabel(this)),
      Label6(new QLabel(this)),
      Label7(new QLabel(this)),
      ScrollBox1(new QScrollArea(this)),
      PaintBox1(new RhythmPaintBox(engine_, 0, this)),
      ScrollBox2(new QScrollArea(this)),
      PaintBox3(new RhythmPaintBox(engine_, 1, this)),
      Image13(new TickIcon(this)) {
    setObjectName(QStringLiteral("RytmeKorr"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6->setObjectName(QStringLiteral("Label6"));
    Label7->setObjectName(QStringLiteral("Label7"));
    bindCaption(Label5, 1220);
    bindCaption(Label6, 1240);
    bindCaption(Label7, 1245);
    Label5->setText(text(1220, "Mark every note involved in the changes, then check."));
    Label6->setText(text(1240, "Written rhythm"));
    Label7->setText(text(1245, "What was played"));
    for (QLabel* l : {Label5, Label6, Label7}) {
        l->setFont(style::uiFont(11, QFont::Bold));
        l->setStyleSheet(QStringLiteral("color: %1;").arg(style::kInk.name()));
    }
    for (auto [area, box, name] :
         {std::tuple{ScrollBox1, PaintBox1, "1"}, std::tuple{ScrollBox2, PaintBox3, "2"}}) {
        area->setObjectName(QStringLiteral("ScrollBox") + QLatin1String(name));
        area->setWidget(box);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::Box);
        area->setMinimumHeight(120);
    }
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox3->setObjectName(QStringLiteral("PaintBox3"));
    ScrollBox1->setAccessibleName(text(1240, "Written rhythm"));
    PaintBox1->setAccessibleName(text(1240, "Written rhythm"));
    ScrollBox2->setAccessibleName(text(1245, "What was played"));
    PaintBox3->setAccessibleName(text(1245, "What was played"));
    PaintBox1->setCursor(Qt::PointingHandCursor);
    PaintBox1->pressed = [this](QPoint at) { PressOnWritten(at); };
    PaintBox1->overlay = [this](QPainter& p) { paintDots(p); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin * 2, style::kMargin, style::kMargin * 2, style::kMargin * 2);
    layout->setSpacing(style::kGap);
    ControlButton->setFixedSize(ControlButton->minimumSize());
    layout->addWidget(ControlButton, 0, Qt::AlignHCenter);
    // Correction takes no taps: no calibration and no tapping tip here.
    Calibrate->hide();
    SpeedButton10->hide();
    layout->addWidget(RhythmWithMetronome, 0, Qt::AlignHCenter);
    layout->addWidget(Label5);
    layout->addWidget(Label6);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(Label7);
    layout->addWidget(ScrollBox2, 1);
    Image13->setObjectName(QStringLiteral("Image13"));
    Image13->setAccessibleName(text(230, "Correct!"));
    auto* result = new QHBoxLayout;
    result->addWidget(Image13, 0, Qt::AlignVCenter);
    result->addWidget(Label4, 1);
    layout->addLayout(result);

    setControlCaptions({{205, "New question"},
                        {1210, "Play changed"},
                        {1212, "Play written"},
                        {1215, "Check"},
                        {805, "Stop"}});
    ApplySetup(true);
}

bool TRytmeKorr::changedShown() const {
    return !ScrollBox2->isHidden();
}

bool TRytmeKorr::tickShown() const {
    return !Image13->isHidden();
}

void TRytmeKorr::showTick(bool show) {
    Image13->setVisible(show);
}

void TRytmeKorr::showChanged(bool show) {
    ScrollBox2->setVisible(show);
    Label7->setVisible(show);
}

bool TRytmeKorr::makeQuestion() {
    for (int i = 0; i < kQuestionTries; ++i) {
        if (engine_.Generate() == r::GenerateOutcome::NothingToChoose) break;
        if (engine_.InjectErrors()) {
            PaintBox1->update();
            return true;
        }
    }
    const QString failure = text(7406, "KALVINTOR could not make changes with the chosen setup!");
    // While the window is not shown (a setup applied at start-up) the message line says it.
    if (isVisible())
        QMessageBox::critical(this, text(5005, "Error"), failure);
    else
        setMessage(failure);
    return false;
}

void TRytmeKorr::ApplySetup(bool resetResults) {
    if (resetResults) {
        QuestionCount = 0;
        CorrectCount = 0;
        ShowScore();
    }
    engine_.Setup(host().currentSetup().rhythmBlock(kExercise));
    ResultText.clear();
    setMessage(QString());
    showTick(false);
    for (int b = 0; b < TControlButton::kButtons; ++b)
        ControlButton->setButtonEnabled(b, b == kPlayChanged || b == kPlayWritten);
    makeQuestion();
    marks_.clear();
    Answered = false;
    showChanged(false);
    Label5->show();
}

void TRytmeKorr::ResetExercise() {
    StopPlaying();
    QuestionCount = 0;
    CorrectCount = 0;
    ShowScore();
    setMessage(QString());
    showTick(false);
}

void TRytmeKorr::AutoNewQuestTimerTimer() {
    NewQuestion();
}

void TRytmeKorr::MidiInput(std::uint32_t) {}

void TRytmeKorr::PedalDown() {}

void TRytmeKorr::NewQuestion() {
    host().stopAutoNewQuestTimer();
    if (!makeQuestion()) return;
    marks_.clear();
    ResultText.clear();
    ControlButton->setButtonEnabled(kPlayChanged, true);
    ControlButton->setButtonEnabled(kPlayWritten, true);
    ControlButton->setButtonEnabled(kNew, false);
    setMessage(QString());
    showTick(false);
    ControlButton->FocusButton(kPlayChanged);
    Answered = false;
    showChanged(false);
    Label5->show();
    TExerciseBaseClass::NewQuestion();
    RepeatQuestion();
}

void TRytmeKorr::RepeatQuestion() {
    play(1);
}

void TRytmeKorr::ButtonAction2() {
    play(0);
}

void TRytmeKorr::play(int voice) {
    if (engine_.voice(voice).empty()) return;
    host().stopAutoNewQuestTimer();
    for (int b : {kPlayChanged, kPlayWritten, kCheck}) ControlButton->setButtonEnabled(b, false);
    BarsDone = 0;
    setMessage(820, "Listen...");
    PlayingChanged = voice == 1;
    host().midiOut().Stop();
    engine_.PlayRhythm(kBase, voice, true);
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->FocusButton(kStop);
}

void TRytmeKorr::SeqNotify(std::uint16_t code) {
    RhythmPaintBox* playing = PlayingChanged && changedShown() ? PaintBox3 : PaintBox1;
    if (code == kCountInEnded) {
        setMessage(Answered ? ResultText : text(1225, "Listen for the changes"));
        playing->DrawProgress(1);
    } else if (code == kRhythmBarEnded) {
        ++BarsDone;
        if (BarsDone < engine_.BarCount()) {
            playing->DrawProgress(BarsDone + 1);
            return;
        }
        ControlButton->setButtonEnabled(kPlayChanged, true);
        ControlButton->setButtonEnabled(kPlayWritten, true);
        ControlButton->setButtonEnabled(kStop, false);
        ControlButton->setButtonEnabled(kCheck, !Answered);
        ControlButton->FocusButton(kPlayChanged);
        PaintBox1->DrawProgress(0);
        PaintBox3->DrawProgress(0);
        setMessage(Answered ? ResultText : text(1230, "Mark the changed notes"));
        Label5->setVisible(!Answered);
    }
}

void TRytmeKorr::PressOnWritten(QPoint at) {
    const auto& notes = engine_.voice(0);
    if (Answered || notes.empty()) return;
    const auto note = r::NoteAtPress(notes, at.x(), at.y());
    if (!note) return;
    if (!marks_.erase(*note)) marks_.insert(*note);
    PaintBox1->update();
}

void TRytmeKorr::ButtonAction3() {
    if (Answered || engine_.Errors().empty()) return;
    for (int b : {kNew, kPlayChanged, kPlayWritten}) ControlButton->setButtonEnabled(b, true);
    ControlButton->setButtonEnabled(kCheck, false);
    ControlButton->FocusButton(kNew);
    Answered = true;
    showChanged(true);
    Label5->hide();
    const r::CorrectionCheck check = r::CheckMarks(engine_.Errors(), marks_);
    LastAnswerCorrect = check.correct;
    ResultText = check.correct ? text(230, "Correct!")
                               : QString::fromStdString(r::FormatIntegers(
                                     text(1235, "You found %d of %d; %d marks were wrong.").toStdString(),
                                     {check.hits, check.expected, check.falseMarks}));
    setMessage(ResultText);
    showTick(check.correct);
    LastScore = check.points;
    RegisterAnswer(LastAnswerCorrect);
    CorrectCount += LastScore;
    ++QuestionCount;
    ShowScore();
    PaintBox1->update();
    PaintBox3->update();
    if (host().checkTutorStepEnd()) return;
    const auto& s = host().settings();
    if (s.autoNewQuestion && (LastAnswerCorrect || !s.onlyIfCorrect)) host().startAutoNewQuestTimer();
}

void TRytmeKorr::StopPlaying() {
    host().stopAutoNewQuestTimer();
    host().midiOut().Stop();
    ControlButton->setButtonEnabled(kStop, false);
    ControlButton->setButtonEnabled(kPlayChanged, true);
    ControlButton->setButtonEnabled(kPlayWritten, true);
    ControlButton->setButtonEnabled(kCheck, !Answered && !engine_.Errors().empty());
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->FocusButton(kPlayChanged);
    PaintBox1->DrawProgress(0);
    PaintBox3->DrawProgress(0);
}

void TRytmeKorr::EnterExercise() {
    EnterRhythmExercise(false);
    if (!host().tutorActive() && host().settings().autoNewQuestion) host().startAutoNewQuestTimer();
}

void TRytmeKorr::paintDots(QPainter& p) const {
    constexpr int kDotWidth = 9;
    constexpr int kDotHeight = 6;
    const auto& notes = engine_.voice(0);
    const auto at = [&](int index) -> const r::TRhythmNote& {
        return notes[static_cast<std::size_t>(index)];
    };
    const auto valid = [&](int index) { return index >= 0 && index < static_cast<int>(notes.size()); };
    if (Answered) {
        // Under every note a change involves: green when it was marked, red when it was missed.
        for (int n : r::InvolvedNotes(engine_.Errors())) {
            if (!valid(n)) continue;
            p.fillRect(at(n).x, r::kRowHeight * at(n).row + 54, kDotWidth, kDotHeight,
                       marks_.count(n) ? style::kRight : style::kWrong);
        }
    }
    for (int n : marks_) {
        if (!valid(n)) continue;
        p.fillRect(at(n).x, r::kRowHeight * at(n).row + 47, kDotWidth, kDotHeight, style::kSounding);
    }
}

}  // namespace kalvintor::ui::rhythm
