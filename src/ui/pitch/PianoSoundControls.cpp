// The piano's program and velocity controls: arrow buttons around their captions.
#include "pitch/PianoSoundControls.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "settings/GeneralMidi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

constexpr int kTextVelocity = 132;
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 90;

QLabel* caption(QWidget* parent, const char* objectName, int minimumWidth) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setFont(style::uiFont(9));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(minimumWidth);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(style::kInk.name()));
    return label;
}

}  // namespace

PianoSoundControls::PianoSoundControls(QWidget* parent)
    : QWidget(parent),
      program_(caption(this, "PianoProgram", 170)),
      velocity_(caption(this, "PianoVelocity", 110)) {
    setObjectName(QStringLiteral("PianoSound"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    QToolButton* programDown = arrow(Qt::LeftArrow, "ProgramDown", 8210, "Previous piano sound");
    QToolButton* programUp = arrow(Qt::RightArrow, "ProgramUp", 8211, "Next piano sound");
    QToolButton* velocityDown = arrow(Qt::LeftArrow, "VelocityDown", 8212, "Softer");
    QToolButton* velocityUp = arrow(Qt::RightArrow, "VelocityUp", 8213, "Louder");
    connect(programDown, &QToolButton::clicked, this, [this] { emit programStepped(-1); });
    connect(programUp, &QToolButton::clicked, this, [this] { emit programStepped(1); });
    connect(velocityDown, &QToolButton::clicked, this, [this] { emit velocityStepped(-1); });
    connect(velocityUp, &QToolButton::clicked, this, [this] { emit velocityStepped(1); });
    row->addWidget(programDown);
    row->addWidget(program_);
    row->addWidget(programUp);
    row->addStretch(1);
    row->addWidget(velocityDown);
    row->addWidget(velocity_);
    row->addWidget(velocityUp);
    // The velocity's caption follows the language.
    bindText(this, kTextVelocity, [this](const QString&) { showVoice(voice_); });
}

QToolButton* PianoSoundControls::arrow(Qt::ArrowType direction, const char* objectName, int textId,
                                       const char* designTime) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setArrowType(direction);
    b->setAutoRaise(true);
    b->setFixedSize(20, 20);
    b->setAutoRepeat(true);
    b->setAutoRepeatDelay(kRepeatDelayMs);
    b->setAutoRepeatInterval(kRepeatIntervalMs);
    b->setAccessibleName(text(textId, designTime));
    b->setToolTip(b->accessibleName());
    bindText(b, textId, [b](const QString& t) {
        b->setAccessibleName(t);
        b->setToolTip(t);
    });
    return b;
}

void PianoSoundControls::showVoice(const settings::TSoundRec& voice) {
    voice_ = voice;
    program_->setText(QString::fromStdString(settings::InstrumentEntry(voice.program)));
    velocity_->setText(text(kTextVelocity, "Velocity") + QStringLiteral(" = ") +
                       QString::number(voice.velocity));
    program_->setAccessibleName(program_->text());
    velocity_->setAccessibleName(velocity_->text());
}

QString PianoSoundControls::programText() const {
    return program_->text();
}

QString PianoSoundControls::velocityText() const {
    return velocity_->text();
}

}  // namespace kalvintor::ui
