// The rhythm exercises' shared window parts: taps, the message line and the score.
#include "rhythm/RhythmExercise.h"

#include "app/Clock.h"
#include "app/ExerciseHost.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/TTipform.h"
#include "app/Texts.h"
#include "app/Tips.h"
#include "rhythm/RhythmPaintBox.h"
#include "rhythm/TTapCalibration.h"
#include "rhythm/TapLatency.h"
#include "settings/SettingRecord.h"
#include "sound/TMidiOut.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

constexpr int kTextLastScore = 835;
constexpr std::uint32_t kStatusMask = 0xF0;
constexpr std::uint32_t kNoteOff = 0x80;
constexpr std::uint32_t kNoteOn = 0x90;
constexpr std::uint32_t kController = 0xB0;
constexpr int kSustainPedal = 64;
constexpr int kPedalDown = 127;
constexpr std::uint16_t kDrumChannel = 9;
constexpr int kScrollIntervalMs = 55;

r::TRytme::Services servicesOf(ExerciseHost& host) {
    r::TRytme::Services s;
    s.midiOut = &host.midiOut();
    s.settings = &host.settings();
    s.language = &program().language;
    s.showMessage = [](const std::string& text) {
        QMessageBox::information(nullptr, QStringLiteral("Kalvintor"), QString::fromStdString(text));
    };
    return s;
}

}  // namespace

RhythmExercise::RhythmExercise(int exercise, ExerciseHost& host, QWidget* parent)
    : TExerciseBaseClass(exercise, host, parent),
      engine_(servicesOf(host)),
      Label4(new QLabel(this)),
      Klap(new QPushButton(this)),
      Calibrate(new QPushButton(this)),
      RhythmWithMetronome(new QCheckBox(this)),
      SpeedButton10(new QToolButton(this)) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(host.settings().colour));
    setPalette(palette);
    setFocusPolicy(Qt::StrongFocus);

    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(style::uiFont(13, QFont::Bold));
    Label4->setStyleSheet(QStringLiteral("color: %1;").arg(style::kInk.name()));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setWordWrap(true);
    Label4->setMinimumHeight(48);
    Label4->installEventFilter(this);
    Label4->setAccessibleDescription(text(7400, "Tap here, press the space bar, a MIDI key, or clap"));

    Klap->setObjectName(QStringLiteral("Klap"));
    Klap->setAccessibleName(text(7401, "Tap"));
    Klap->setFocusPolicy(Qt::NoFocus);
    Klap->hide();
    Klap->installEventFilter(this);

    Timer1.setInterval(kScrollIntervalMs);

    Calibrate->setObjectName(QStringLiteral("Calibrate"));
    Calibrate->setText(text(7445, "Tap timing..."));
    bindCaption(Calibrate, 7445);
    Calibrate->setFocusPolicy(Qt::NoFocus);  // the space bar taps
    connect(Calibrate, &QPushButton::clicked, this, [this] { OpenCalibration(); });

    // One choice with the menu item "Rhythm with metronome": either changes the settings, and
    // SettingsChanged brings the box in step with the menu.
    RhythmWithMetronome->setObjectName(QStringLiteral("RhythmWithMetronome"));
    bindCaption(RhythmWithMetronome, 940);
    RhythmWithMetronome->setText(text(940, "Rhythm with metronome"));
    RhythmWithMetronome->setFocusPolicy(Qt::NoFocus);
    RhythmWithMetronome->setChecked(host.settings().rhythmWithMetronome);
    connect(RhythmWithMetronome, &QCheckBox::toggled, this,
            [this](bool on) { this->host().setRhythmWithMetronome(on); });

    // The tip button (tag 6); rhythm correction takes no taps and hides it.
    SpeedButton10->setObjectName(QStringLiteral("SpeedButton10"));
    SpeedButton10->setAccessibleName(text(8300, "Tip"));
    SpeedButton10->setToolTip(text(8300, "Tip"));
    bindToolTip(SpeedButton10, 8300);
    SpeedButton10->setIconSize(QSize(24, 24));
    SpeedButton10->setAutoRaise(true);
    SpeedButton10->setFocusPolicy(Qt::NoFocus);
    TTipform::connectButton(SpeedButton10, app::kRhythmTip, host);
}

void RhythmExercise::SettingsChanged() {
    const QSignalBlocker quiet(RhythmWithMetronome);
    RhythmWithMetronome->setChecked(host().settings().rhythmWithMetronome);
}

RhythmExercise::~RhythmExercise() {
    // The dialog goes first: it reports its end to this window.
    delete calibration_;
}

void RhythmExercise::OpenCalibration() {
    StopPlaying();
    if (!calibration_) {
        calibration_ = new TTapCalibration(host(), noticeBase(), this);
        calibration_->setAttribute(Qt::WA_DeleteOnClose);
        connect(calibration_, &QObject::destroyed, this, [this] { calibration_ = nullptr; });
    }
    calibration_->open();
}

std::uint16_t RhythmExercise::noticeBase() const {
    // 10 for imitation, 20 for reading, 30 for correction.
    return static_cast<std::uint16_t>((exercise() - 3) * 10);
}

bool RhythmExercise::calibrationNotice(std::uint16_t code) {
    if (calibration_ == nullptr || !calibration_->playing()) return false;
    calibration_->SeqNotify(static_cast<std::uint16_t>(code - noticeBase()));
    return true;
}

void RhythmExercise::setControlCaptions(std::initializer_list<std::pair<int, const char*>> captions) {
    int index = 0;
    for (const auto& [id, english] : captions) {
        const int button = index++;
        ControlButton->setCaption(button, text(id, english));
        bindText(this, id, [this, button](const QString& t) { ControlButton->setCaption(button, t); });
    }
}

QString RhythmExercise::message() const {
    return Label4->text();
}

void RhythmExercise::setMessage(const QString& t) {
    Label4->setText(t);
}

void RhythmExercise::setMessage(int id, const char* designTime) {
    Label4->setText(text(id, designTime));
}

int RhythmExercise::passThreshold() const {
    return host().settings().rhythmPassThreshold;
}

int RhythmExercise::EvaluateTaps() {
    std::string message;
    const int score = engine_.Evaluate(passThreshold(), message);
    setMessage(QString::fromStdString(message));
    return score;
}

void RhythmExercise::ShowScore() {
    if (QuestionCount == 0) {
        host().showScore(100, QString());
        return;
    }
    host().showScore(
        static_cast<int>(CorrectCount / QuestionCount),
        QStringLiteral("%1. %2 %3 %").arg(QuestionCount).arg(text(kTextLastScore, "Last:")).arg(LastScore));
}

void RhythmExercise::TempoChanged(int tempo) {
    engine_.SetTempo(tempo);
}

void RhythmExercise::EnterRhythmExercise(bool withMicrophone) {
    TExerciseBaseClass::EnterExercise();
    const auto& s = host().settings();
    for (const auto* sound : {&s.metronomeClick, &s.rhythmSound}) {
        if (sound->channel != kDrumChannel)
            host().midiOut().ProgramChange(static_cast<std::uint8_t>(sound->program),
                                           static_cast<std::uint8_t>(sound->channel));
    }
    if (withMicrophone) host().beginMicrophone(exercise());
    SettingsChanged();
}

void RhythmExercise::Tap(r::TapSource source, std::optional<std::int64_t> heardMs) {
    const std::int64_t heard = heardMs ? *heardMs : app::EventTimeOrNow();
    if (calibration_ && calibration_->isVisible()) {
        calibration_->Tap(source, heard);
        return;
    }
    // A bouncing or stuck key, or a clap's echo, is one tap.
    if (!gate_.Accept(heard)) return;
    if (Listening) engine_.AddTap(r::CorrectedTapTime(heard, source, TapLatency()));
    // With a synchronisation delay the sound would come late: the taps stay silent then.
    if (source != r::TapSource::Clap && host().settings().syncDelay == 0)
        host().midiOut().NoteOn(host().settings().rhythmSound);
}

void RhythmExercise::TapReleased() {
    if (host().settings().syncDelay == 0)
        host().midiOut().NoteOff(static_cast<std::uint8_t>(host().settings().rhythmSound.key & 0x7F));
}

void RhythmExercise::MidiInput(std::uint32_t message) {
    const std::uint32_t status = message & kStatusMask;
    const int data1 = static_cast<int>((message >> 8) & 0x7F);
    const int data2 = static_cast<int>((message >> 16) & 0x7F);
    if (status == kNoteOn && data2 > 0) {
        Tap(r::TapSource::MidiKey);
    } else if (status == kNoteOff || status == kNoteOn) {
        TapReleased();
    } else if (status == kController && data1 == kSustainPedal && data2 == kPedalDown) {
        PedalDown();
    }
}

void RhythmExercise::MicClap(std::int64_t timeMs) {
    Tap(r::TapSource::Clap, timeMs);
}

void RhythmExercise::scrollToTop(QScrollArea* area) {
    area->verticalScrollBar()->setValue(0);
    area->horizontalScrollBar()->setValue(0);
}

QScrollArea* RhythmExercise::notationArea(RhythmPaintBox* box, const char* boxName) {
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("ScrollBox1"));
    area->setAccessibleName(text(7404, "Rhythm"));
    box->setObjectName(QString::fromLatin1(boxName));
    box->setAccessibleName(text(7404, "Rhythm"));
    area->setWidget(box);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::Box);
    area->setMinimumHeight(140);
    return area;
}

QVBoxLayout* RhythmExercise::tappingLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin * 2, style::kMargin, style::kMargin * 2, style::kMargin * 2);
    layout->setSpacing(style::kMargin);
    ControlButton->setFixedSize(ControlButton->minimumSize());
    layout->addWidget(ControlButton, 0, Qt::AlignHCenter);
    auto* options = new QHBoxLayout;
    options->addStretch(1);
    options->addWidget(RhythmWithMetronome);
    options->addWidget(Calibrate);
    options->addStretch(1);
    options->addWidget(SpeedButton10);
    layout->addLayout(options);
    return layout;
}

void RhythmExercise::followBars(QScrollArea* area) {
    const auto& bars = engine_.Bars(0);
    if (BarsDone <= 0 || BarsDone > static_cast<int>(bars.size())) {
        Timer1.stop();
        return;
    }
    const int row =
        bars[static_cast<std::size_t>(std::min<int>(BarsDone, static_cast<int>(bars.size()) - 1))].row;
    QScrollBar* bar = area->verticalScrollBar();
    if (bar->value() < r::kRowHeight * row && bar->value() < bar->maximum())
        bar->setValue(bar->value() + 2);
    else
        Timer1.stop();
}

std::int64_t RhythmExercise::pressTime(const QInputEvent* event) {
    return stamps_.ToClock(event->timestamp(), app::MillisecondClock());
}

void RhythmExercise::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        // Holding the space bar taps once.
        if (!event->isAutoRepeat() && !SpaceHeld) {
            SpaceHeld = true;
            Tap(r::TapSource::Keyboard, pressTime(event));
        }
        return;
    }
    TExerciseBaseClass::keyPressEvent(event);
}

void RhythmExercise::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat() && SpaceHeld) {
            SpaceHeld = false;
            TapReleased();
        }
        return;
    }
    TExerciseBaseClass::keyReleaseEvent(event);
}

bool RhythmExercise::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 || watched == Klap) {
        if (event->type() == QEvent::MouseButtonPress) {
            Tap(r::TapSource::Keyboard, pressTime(static_cast<QInputEvent*>(event)));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            TapReleased();
            return true;
        }
    }
    return TExerciseBaseClass::eventFilter(watched, event);
}

}  // namespace kalvintor::ui::rhythm
