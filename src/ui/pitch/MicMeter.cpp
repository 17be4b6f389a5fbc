// The microphone strip: a bar with the level the microphone hears (green once a sung note is taken,
// red when overdriven) and the name of the note heard, or what is wrong with the input.
#include "pitch/MicMeter.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "exercises/pitch/Instruments.h"
#include "theory/Spelling.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kalvintor::ui {

namespace {
constexpr int kBarWidth = 120;
constexpr int kPollMs = 50;
// The bar spans this many dB below full scale: a quiet room sits near its left end, a sung note
// at a desk microphone about halfway.
constexpr double kBarSpanDb = 60.0;
}  // namespace

MicMeter::MicMeter(Source source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), text_(new QLabel(this)), poll_(new QTimer(this)) {
    setObjectName(QStringLiteral("MicMeter"));
    setAccessibleName(text(7306, "Microphone"));
    text_->setObjectName(QStringLiteral("MicHeard"));
    text_->setFont(style::uiFont(10));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kBarWidth + style::kGap * 2, 2, 2, 2);
    layout->addWidget(text_, 1);
    setMinimumHeight(24);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &MicMeter::readLevel);
    heard(0, false);
}

void MicMeter::heard(int pitch, bool steady) {
    const bool sound = pitch > pitch::kSilence;
    pitch_ = sound ? pitch : 0;
    steady_ = sound && steady;
    showText();
}

void MicMeter::readLevel() {
    if (!source_) return;
    const sound::MicReading before = reading_;
    reading_ = source_();
    if (reading_.state != before.state) showText();
    setToolTip(text(8403, "Microphone level %1 dB").arg(std::lround(reading_.levelDb)));
    if (reading_.levelDb != before.levelDb) update();
}

void MicMeter::showText() {
    QString line;
    switch (reading_.state) {
        case sound::MicReading::State::NoSignal:
            line = text(8400, "No sound from the microphone: check that it is switched on and not muted");
            break;
        case sound::MicReading::State::Clipping:
            line = text(8401, "The microphone is too loud: turn it down or sing further away");
            break;
        case sound::MicReading::State::Lost:
            line = text(8402, "The microphone has gone away: connect it and switch the microphone on again");
            break;
        case sound::MicReading::State::Off:
        case sound::MicReading::State::Listening:
            if (pitch_ == 0) {
                line = text(7303, "Sing the answer");
            } else {
                const QString name =
                    QString::fromStdString(theory::NoteName(pitch_, theory::DefaultSpelling(pitch_, 0))) +
                    QString::number(pitch_ / 12 - 1);
                line = text(7304, "Heard: %1").arg(name) +
                       (steady_ ? QStringLiteral(" ") + text(7305, "(taken)") : QString());
            }
            break;
    }
    text_->setText(line);
    setAccessibleDescription(line);
    update();
}

QString MicMeter::heardText() const {
    return text_->text();
}

void MicMeter::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    readLevel();
    poll_->start();
}

void MicMeter::hideEvent(QHideEvent* event) {
    poll_->stop();
    QWidget::hideEvent(event);
}

void MicMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect bar(style::kGap, height() / 2 - 5, kBarWidth, 10);
    p.fillRect(bar, style::kPaper);
    p.setPen(style::kDisabled);
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    const double share = std::clamp((reading_.levelDb + kBarSpanDb) / kBarSpanDb, 0.0, 1.0);
    const int filled = static_cast<int>(std::lround(bar.width() * share));
    const QColor colour = reading_.state == sound::MicReading::State::Clipping ? style::kWrong
                          : steady_                                            ? style::kRight
                                                                               : style::kSounding;
    p.fillRect(QRect(bar.left() + 1, bar.top() + 1, std::max(0, filled - 2), bar.height() - 2), colour);
}

}  // namespace kalvintor::ui
