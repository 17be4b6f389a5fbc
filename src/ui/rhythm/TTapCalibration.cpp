// The tap-latency calibration dialog.
#include "rhythm/TTapCalibration.h"

#include "app/Clock.h"
#include "app/ExerciseHost.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "rhythm/RhythmPaintBox.h"
#include "rhythm/TapLatency.h"
#include "settings/SettingRecord.h"
#include "sound/TMidiOut.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

// The test rhythm: two bars of quarters and eighths in 4/4.
r::RhythmSetup testSetup(int tempo) {
    auto block = r::defaultRhythmSetup(r::RhythmExercise::Imitation);
    block.noteValues = {0, 0, 1, 1, 0, 0};
    block.bars = 2;
    block.tempo = static_cast<std::uint8_t>(std::clamp(tempo, r::kMinTempo, r::kMaxTempo));
    return block;
}

constexpr int kClickStep = 2;  // velocity step of the measured clicks (the lead-in is louder)
constexpr int kAfterLastMs = 400;

r::TRytme::Services servicesOf(ExerciseHost& host) {
    r::TRytme::Services s;
    s.midiOut = &host.midiOut();
    s.settings = &host.settings();
    s.language = &program().language;
    return s;
}

}  // namespace

TTapCalibration::TTapCalibration(ExerciseHost& host, std::uint16_t noticeBase, QWidget* parent)
    : QDialog(parent),
      host_(host),
      noticeBase_(noticeBase),
      engine_(servicesOf(host)),
      InputKind(new QComboBox(this)),
      Instructions(new QLabel(this)),
      TapArea(new QLabel(this)),
      Result(new QLabel(this)),
      StartButton(new QPushButton(this)),
      SaveButton(new QPushButton(this)),
      TestButton(new QPushButton(this)),
      CloseButton(new QPushButton(this)),
      TestRhythm(new RhythmPaintBox(engine_, 0, this)) {
    setObjectName(QStringLiteral("TapCalibration"));
    setWindowTitle(text(7430, "Tap timing"));
    InputKind->setObjectName(QStringLiteral("InputKind"));
    InputKind->setAccessibleName(text(7431, "Tap with"));
    InputKind->addItem(text(7432, "Space bar or mouse"));
    InputKind->addItem(text(7433, "MIDI key"));
    InputKind->addItem(text(7434, "Claps (microphone)"));
    Instructions->setObjectName(QStringLiteral("Instructions"));
    Instructions->setWordWrap(true);
    Instructions->setText(text(7435,
                               "Press Start and listen to four clicks, then tap along with the next eight. "
                               "The program measures how late this computer hears your taps."));
    TapArea->setObjectName(QStringLiteral("TapArea"));
    TapArea->setAccessibleName(text(7401, "Tap"));
    TapArea->setText(text(7401, "Tap"));
    TapArea->setAlignment(Qt::AlignCenter);
    TapArea->setMinimumHeight(60);
    TapArea->setFont(style::uiFont(14, QFont::Bold));
    TapArea->setStyleSheet(QStringLiteral("background: %1; color: %2; border-radius: %3px;")
                               .arg(style::kSounding.name(), style::kInk.name())
                               .arg(style::kCorner));
    TapArea->installEventFilter(this);
    Result->setObjectName(QStringLiteral("Result"));
    Result->setWordWrap(true);
    Result->setFont(style::uiFont(12, QFont::Bold));
    Result->setMinimumHeight(40);
    TestRhythm->setObjectName(QStringLiteral("TestRhythm"));
    TestRhythm->setAccessibleName(text(7404, "Rhythm"));
    TestRhythm->hide();

    for (auto [button, name, id, english] : {std::tuple{StartButton, "StartButton", 7436, "Start"},
                                             std::tuple{SaveButton, "SaveButton", 7437, "Use this offset"},
                                             std::tuple{TestButton, "TestButton", 7438, "Test"},
                                             std::tuple{CloseButton, "CloseButton", 7439, "Close"}}) {
        button->setObjectName(QString::fromLatin1(name));
        button->setText(text(id, english));
        button->setFocusPolicy(Qt::NoFocus);  // the space bar taps
    }
    SaveButton->setEnabled(false);
    connect(StartButton, &QPushButton::clicked, this, [this] { StartMeasuring(); });
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveOffset(); });
    connect(TestButton, &QPushButton::clicked, this, [this] { StartTest(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(InputKind, &QComboBox::currentIndexChanged, this, [this] {
        measurement_ = {};
        SaveButton->setEnabled(false);
        Result->setText(resultText());
    });
    finish_.setSingleShot(true);
    connect(&finish_, &QTimer::timeout, this, [this] {
        if (phase_ == Phase::Measuring) FinishMeasuring();
        if (phase_ == Phase::Testing) FinishTest();
    });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {StartButton, SaveButton, TestButton}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(InputKind);
    layout->addWidget(Instructions);
    layout->addWidget(TapArea);
    layout->addWidget(Result);
    layout->addWidget(TestRhythm);
    layout->addLayout(buttons);
    resize(620, 420);
    Result->setText(resultText());
}

r::TapSource TTapCalibration::source() const {
    return static_cast<r::TapSource>(std::clamp(InputKind->currentIndex(), 0, r::kTapSources - 1));
}

void TTapCalibration::setSource(r::TapSource s) {
    InputKind->setCurrentIndex(static_cast<int>(s));
}

QString TTapCalibration::resultText() const {
    const int stored = TapLatency().of(source());
    QString t = text(7440, "Offset in use: %1 ms").arg(stored);
    if (measurement_.matched > 0) {
        t = text(7441, "Your taps came %1 ms late on average, spread %2 ms (%3 of %4 clicks).")
                .arg(measurement_.meanMs)
                .arg(measurement_.spreadMs)
                .arg(measurement_.matched)
                .arg(r::kCalibrationClicks) +
            QStringLiteral("  ") + t;
        if (!measurement_.valid)
            t += QStringLiteral("  ") + text(7442, "Too few taps near the clicks: try again.");
    }
    return t;
}

void TTapCalibration::setBusy(bool busy) {
    StartButton->setEnabled(!busy);
    TestButton->setEnabled(!busy);
    InputKind->setEnabled(!busy);
    SaveButton->setEnabled(!busy && measurement_.valid);
}

void TTapCalibration::StartMeasuring() {
    auto& out = host_.midiOut();
    out.Stop();
    tempo_ = out.Sequencer().Tempo();
    const auto& s = host_.settings();
    const auto unit = static_cast<std::uint16_t>(r::NoteDurations[r::kQuarter]);
    out.QueueNotify(static_cast<std::uint16_t>(noticeBase_ + r::kCalibrationClicksBegan));
    for (int i = 0; i < r::kLeadInClicks + r::kCalibrationClicks; ++i)
        out.QueueSound(unit, i < r::kLeadInClicks ? 0 : kClickStep, 0, 0,
                       i % 4 == 0 ? s.firstBeatClick : s.metronomeClick, false);
    taps_.clear();
    gate_.Reset();
    measurement_ = {};
    // Until the first click's notice comes, the clicks count from the start of playback; the
    // exercises judge against notices posted the synchronisation delay after the sound.
    const std::int64_t first = app::MillisecondClock() + std::clamp(s.syncDelay, 0, 600);
    clicks_ = r::CalibrationClickTimes(first, tempo_);
    out.Play();
    phase_ = Phase::Measuring;
    setBusy(true);
    TestRhythm->hide();
    Result->setText(text(7443, "Listen to four clicks, then tap along with eight..."));
    finish_.start(static_cast<int>(clicks_.back() - app::MillisecondClock()) + kAfterLastMs);
}

void TTapCalibration::FinishMeasuring() {
    finish_.stop();
    phase_ = Phase::Idle;
    measurement_ = r::MeasureLatency(clicks_, taps_, tempo_);
    setBusy(false);
    Result->setText(resultText());
}

void TTapCalibration::SaveOffset() {
    if (!measurement_.valid) return;
    StoreTapLatency(source(), measurement_.meanMs);
    SaveButton->setEnabled(false);
    Result->setText(resultText());
}

void TTapCalibration::StartTest() {
    auto& out = host_.midiOut();
    out.Stop();
    const int tempo = out.Sequencer().Tempo();
    engine_.Setup(testSetup(tempo));
    engine_.SetTempo(tempo);
    if (engine_.Generate() != r::GenerateOutcome::Complete) return;
    gate_.Reset();
    const std::int64_t now = app::MillisecondClock();
    const auto& s = host_.settings();
    const std::int64_t barMs = std::int64_t{engine_.BarLength()} * r::kTickTempo / tempo;
    engine_.PlayRhythm(noticeBase_, 0, true);
    engine_.StartTapsAt(now + std::clamp(s.syncDelay, 0, 600) + barMs);
    phase_ = Phase::Testing;
    setBusy(true);
    TestRhythm->setShowMarks(false);
    TestRhythm->show();
    Result->setText(text(7444, "Tap along with the rhythm after the count-in."));
    finish_.start(static_cast<int>(barMs * (engine_.BarCount() + 1)) + kAfterLastMs);
}

void TTapCalibration::FinishTest() {
    finish_.stop();
    phase_ = Phase::Idle;
    host_.midiOut().Stop();
    std::string message;
    const int score = engine_.Evaluate(host_.settings().rhythmPassThreshold, message);
    TestRhythm->setShowMarks(true);
    setBusy(false);
    Result->setText(QString::fromStdString(message) + QStringLiteral("  %1 %").arg(score));
}

void TTapCalibration::SeqNotify(std::uint16_t offset) {
    if (phase_ == Phase::Measuring && offset == r::kCalibrationClicksBegan) {
        clicks_ = r::CalibrationClickTimes(app::EventTimeOrNow(), tempo_);
        finish_.start(static_cast<int>(clicks_.back() - app::MillisecondClock()) + kAfterLastMs);
    } else if (phase_ == Phase::Testing && offset == r::kCountInEnded) {
        engine_.StartTaps();
    }
}

std::int64_t TTapCalibration::pressTime(const QInputEvent* event) {
    return stamps_.ToClock(event->timestamp(), app::MillisecondClock());
}

void TTapCalibration::Tap(r::TapSource s, std::int64_t heardMs) {
    if (s != source() || !gate_.Accept(heardMs)) return;
    if (phase_ == Phase::Measuring) taps_.push_back(heardMs);
    if (phase_ == Phase::Testing) engine_.AddTap(r::CorrectedTapTime(heardMs, s, TapLatency()));
}

void TTapCalibration::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) Tap(r::TapSource::Keyboard, pressTime(event));
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TTapCalibration::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TapArea && event->type() == QEvent::MouseButtonPress) {
        Tap(r::TapSource::Keyboard, pressTime(static_cast<QInputEvent*>(event)));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kalvintor::ui::rhythm
