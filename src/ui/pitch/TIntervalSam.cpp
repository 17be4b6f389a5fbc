// The interval comparison window: it plays A and B, lights the panel that sounds, and judges which
// interval the user hears as the larger one.
#include "pitch/TIntervalSam.h"

#include "app/ExerciseHost.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "exercises/pitch/PlayQuestion.h"
#include "pitch/TickIcon.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

using pitch::ComparisonChoice;
using Shade = AnswerPanel::Shade;

namespace {

constexpr int kExercise = 3;
constexpr int kTextNewQuestion = 205;
constexpr int kTextRepeat = 210;
constexpr int kTextStop = 805;
constexpr int kTextScore = 220;
constexpr int kTextPrompt = 615;
constexpr int kTextTooFewIntervals = 616;
constexpr int kBlinkMs = 200;
constexpr int kBlinkToggles = 4;

enum Button { kNew = 0, kRepeat = 1, kA = 2, kB = 3, kStop = 4 };

}  // namespace

TIntervalSam::TIntervalSam(ExerciseHost& host, QWidget* parent)
    : TExerciseBaseClass(kExercise, host, parent),
      panelA_(new AnswerPanel(QStringLiteral("A"), this)),
      panelB_(new AnswerPanel(QStringLiteral("B"), this)),
      label_(new QLabel(this)),
      tick_(new TickIcon(this)) {
    setObjectName(QStringLiteral("IntervalSam"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(host.settings().colour));
    setPalette(palette);

    panelA_->setObjectName(QStringLiteral("Panel1"));
    panelB_->setObjectName(QStringLiteral("Panel2"));
    panelA_->button()->setObjectName(QStringLiteral("ButtonA"));
    panelB_->button()->setObjectName(QStringLiteral("ButtonB"));
    label_->setObjectName(QStringLiteral("Label1"));
    tick_->setObjectName(QStringLiteral("Image1"));
    label_->setFont(style::uiFont(15, QFont::Bold));
    label_->setStyleSheet(QStringLiteral("color: %1;").arg(style::kInk.name()));
    label_->setAlignment(Qt::AlignCenter);
    tick_->hide();

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel3"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    ControlButton->setFixedSize(ControlButton->minimumSize());
    stripLayout->addWidget(ControlButton, 0, Qt::AlignCenter);

    auto* panels = new QHBoxLayout;
    panels->setSpacing(style::kMargin * 2);
    panels->addWidget(panelA_, 1);
    panels->addWidget(panelB_, 1);

    auto* feedback = new QHBoxLayout;
    feedback->setSpacing(style::kGap);
    feedback->addStretch(1);
    feedback->addWidget(tick_, 0, Qt::AlignVCenter);
    feedback->addWidget(label_, 0, Qt::AlignVCenter);
    feedback->addStretch(1);

    // The control buttons may use the whole width, so that all five show in a narrow window.
    auto* below = new QVBoxLayout;
    below->setContentsMargins(style::kMargin * 2, 0, style::kMargin * 2, 0);
    below->setSpacing(style::kMargin * 2);
    below->addLayout(panels, 1);
    below->addLayout(feedback);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, style::kMargin, 0, style::kMargin * 2);
    layout->setSpacing(style::kMargin * 2);
    layout->addWidget(strip);
    layout->addLayout(below, 1);
    label_->setMinimumHeight(tick_->height());

    ControlButton->setCaption(kNew, text(kTextNewQuestion, "New question"));
    ControlButton->setCaption(kRepeat, text(kTextRepeat, "Repeat"));
    ControlButton->setCaption(kA, QStringLiteral("A"));
    ControlButton->setCaption(kB, QStringLiteral("B"));
    ControlButton->setCaption(kStop, text(kTextStop, "Stop"));
    for (auto [id, index] : {std::pair{kTextNewQuestion, int{kNew}}, std::pair{kTextRepeat, int{kRepeat}},
                             std::pair{kTextStop, int{kStop}}}) {
        const int button = index;
        bindText(this, id, [this, button](const QString& t) { ControlButton->setCaption(button, t); });
    }

    connect(panelA_->button(), &QPushButton::clicked, this, [this] { ButtonAction2(); });
    connect(panelB_->button(), &QPushButton::clicked, this, [this] { ButtonAction3(); });
    showLetters();
    ApplySetup(true);
}

AnswerPanel* TIntervalSam::panel(ComparisonChoice which) const {
    return which == ComparisonChoice::A ? panelA_ : panelB_;
}

void TIntervalSam::ApplySetup(bool resetResults) {
    pitch::ApplyComparisonSetup(state_, host().currentSetup().pitchBlock(kExercise), host().catalogue(),
                                resetResults);
    // The items may have changed: the old question can no longer be replayed or judged.
    hasQuestion_ = false;
    Answered = true;
    stopBlinking();
    allPanels(Shade::Normal);
    showLetters();
    if (resetResults) {
        QuestionCount = 0;
        CorrectCount = 0;
        showLabel(QString(), false);
    }
    enableOnlyNewQuestion();
}

void TIntervalSam::ResetExercise() {
    QuestionCount = 0;
    CorrectCount = 0;
    state_.questionCount = 0;
    state_.correctCount = 0;
    state_.answered = true;
    hasQuestion_ = false;
    Answered = true;
    stopBlinking();
    allPanels(Shade::Normal);
    showLetters();
    showLabel(QString(), false);
    enableOnlyNewQuestion();
    ShowScore();
}

void TIntervalSam::ShowScore() {
    WriteScore(kTextScore, "Score: %d of %d");
}

void TIntervalSam::MidiInput(std::uint32_t) {}

void TIntervalSam::AutoNewQuestTimerTimer() {
    NewQuestion();
}

void TIntervalSam::NewQuestion() {
    allPanels(Shade::Normal);
    stopBlinking();
    host().stopAutoNewQuestTimer();
    showLetters();
    if (!pitch::GenerateComparison(state_)) {
        ControlButton->setButtonEnabled(kNew, false);
        showLabel(text(kTextTooFewIntervals, "Choose at least two intervals in the exercise setup."), false);
        return;
    }
    hasQuestion_ = true;
    Answered = false;
    tutorStepEnded_ = false;
    panelA_->setShade(Shade::Sounding);
    pitch::PlayComparison(state_, false, host().midiOut());
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->setButtonEnabled(kRepeat, false);  // until B has sounded once
    ControlButton->FocusButton(kStop);
    showLabel(text(kTextPrompt, "Which interval is the larger one, A or B?"), false);
    ControlButton->setButtonEnabled(kNew, false);
    TExerciseBaseClass::NewQuestion();
}

void TIntervalSam::RepeatQuestion() {
    if (!hasQuestion_) return;
    allPanels(Shade::Normal);
    panelA_->setShade(Shade::Sounding);
    pitch::PlayComparison(state_, true, host().midiOut());
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->setButtonEnabled(kRepeat, false);
    ControlButton->FocusButton(kStop);
}

void TIntervalSam::ButtonAction2() {
    choose(ComparisonChoice::A);
}

void TIntervalSam::ButtonAction3() {
    choose(ComparisonChoice::B);
}

void TIntervalSam::choose(ComparisonChoice choice) {
    // Before the first question, and after a reset or a new setup, there is nothing to answer.
    if (!hasQuestion_) return;
    if (!Answered) {
        judge(choice);
        return;
    }
    pitch::PlayComparedInterval(state_, choice, host().midiOut());
    ControlButton->setButtonEnabled(kStop, true);
}

void TIntervalSam::judge(ComparisonChoice choice) {
    const auto judgement = pitch::JudgeComparison(state_, choice, program().language);
    if (!judgement) return;
    Answered = true;
    LastAnswerCorrect = judgement->right;
    chosen_ = choice;
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->FocusButton(kNew);
    blinkTicks_ = 0;
    blinking_ = true;
    host().startAnswerBlinkTimer(kBlinkMs);
    showLabel(QString::fromStdString(judgement->label), judgement->right);
    RegisterAnswer(judgement->right);
    QuestionCount = state_.questionCount;
    CorrectCount = state_.correctCount;
    allPanels(Shade::Normal);
    showJudgedShades();
    ShowScore();
    const auto name = [this](int item) {
        return QString::fromStdString(state_.items[static_cast<std::size_t>(item - 1)].name);
    };
    const QString nameA = name(state_.itemA);
    const QString nameB = name(state_.itemB);
    // Entries without a name keep their letter.
    if (!nameA.isEmpty()) panelA_->showName(nameA);
    if (!nameB.isEmpty()) panelB_->showName(nameB);
    tutorStepEnded_ = host().checkTutorStepEnd();
    const auto& s = host().settings();
    if (!tutorStepEnded_ && s.autoNewQuestion && (judgement->right || !s.onlyIfCorrect))
        host().startAutoNewQuestTimer();
}

void TIntervalSam::showJudgedShades() {
    if (!LastAnswerCorrect) panel(chosen_)->setShade(Shade::Wrong);
    panel(state_.rightAnswer)->setShade(Shade::Right);
}

void TIntervalSam::AnswerButtonBlink() {
    if (!blinking_ || !hasQuestion_ || !Answered) {
        stopBlinking();
        return;
    }
    AnswerPanel* right = panel(state_.rightAnswer);
    right->setShade(right->shade() == Shade::Right ? Shade::Normal : Shade::Right);
    if (++blinkTicks_ >= kBlinkToggles) {
        stopBlinking();
        right->setShade(Shade::Right);
    }
}

void TIntervalSam::stopBlinking() {
    // The timer is the shell's: stop it only when this window started it.
    if (!blinking_) return;
    blinking_ = false;
    host().stopAnswerBlinkTimer();
}

void TIntervalSam::SeqNotify(std::uint16_t code) {
    switch (code) {
        case pitch::comparison_codes::kAFinished:
            if (!hasQuestion_) return;
            panelA_->setShade(Shade::Normal);
            panelB_->setShade(Shade::Sounding);
            break;
        case pitch::comparison_codes::kBFinished:
            if (!hasQuestion_) return;
            panelB_->setShade(Shade::Normal);
            ControlButton->setButtonEnabled(kRepeat, true);
            if (Answered) {
                allPanels(Shade::Normal);
                showJudgedShades();
            }
            break;
        case pitch::comparison_codes::kPlaybackFinished:
            StopPlaying();
            break;
        default:
            break;
    }
}

void TIntervalSam::StopPlaying() {
    host().midiOut().Stop();
    ControlButton->setButtonEnabled(kNew, pitch::CanCompare(state_));
    ControlButton->setButtonEnabled(kRepeat, hasQuestion_);
    ControlButton->setButtonEnabled(kStop, false);
    if (!hasQuestion_ || Answered) {
        ControlButton->FocusButton(kNew);
        return;
    }
    setAnswerButtonsEnabled(true);
    ControlButton->FocusButton(kRepeat);
    allPanels(Shade::Normal);
}

void TIntervalSam::EnterExercise() {
    TExerciseBaseClass::EnterExercise();
    const bool questionExists = hasQuestion_;
    if (!tutorStepEnded_ && (host().settings().autoNewQuestion || !questionExists))
        host().startAutoNewQuestTimer();
}

void TIntervalSam::showLetters() {
    panelA_->showLetter(QStringLiteral("&A"));
    panelB_->showLetter(QStringLiteral("&B"));
}

void TIntervalSam::showLabel(const QString& text, bool withTick) {
    label_->setText(text);
    tick_->setVisible(withTick);
}

void TIntervalSam::setAnswerButtonsEnabled(bool enabled) {
    // The big buttons answer exactly when control buttons 2 and 3 do.
    ControlButton->setButtonEnabled(kA, enabled);
    ControlButton->setButtonEnabled(kB, enabled);
    panelA_->button()->setEnabled(enabled);
    panelB_->button()->setEnabled(enabled);
}

void TIntervalSam::allPanels(Shade shade) {
    panelA_->setShade(shade);
    panelB_->setShade(shade);
}

void TIntervalSam::enableOnlyNewQuestion() {
    const bool canAsk = pitch::CanCompare(state_);
    for (int i = 0; i < TControlButton::kButtons; ++i)
        ControlButton->setButtonEnabled(i, i == kNew && canAsk);
    setAnswerButtonsEnabled(false);
    if (!canAsk)
        showLabel(text(kTextTooFewIntervals, "Choose at least two intervals in the exercise setup."), false);
    ControlButton->FocusButton(kNew);
}

}  // namespace kalvintor::ui
