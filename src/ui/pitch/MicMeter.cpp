// The microphone strip: a bar that fills while the same note keeps sounding and the name of the
// note heard.
#include "pitch/MicMeter.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "exercises/pitch/Instruments.h"
#include "theory/Spelling.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace kalvintor::ui {

namespace {
constexpr int kLevels = 8;
constexpr int kBarWidth = 120;
}  // namespace

MicMeter::MicMeter(QWidget* parent) : QWidget(parent), text_(new QLabel(this)) {
    setObjectName(QStringLiteral("MicMeter"));
    setAccessibleName(text(7306, "Microphone"));
    text_->setObjectName(QStringLiteral("MicHeard"));
    text_->setFont(style::uiFont(10));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kBarWidth + style::kGap * 2, 2, 2, 2);
    layout->addWidget(text_, 1);
    setMinimumHeight(24);
    heard(0, false);
}

void MicMeter::heard(int pitch, bool steady) {
    const bool sound = pitch > pitch::kSilence;
    level_ = sound ? std::min(kLevels, pitch == pitch_ ? level_ + 1 : 1) : std::max(0, level_ - 2);
    pitch_ = sound ? pitch : 0;
    steady_ = sound && steady;
    const QString name =
        sound ? QString::fromStdString(theory::NoteName(pitch, theory::DefaultSpelling(pitch, 0))) +
                    QString::number(pitch / 12 - 1)
              : QString();
    text_->setText(sound ? text(7304, "Heard: %1").arg(name) +
                               (steady_ ? QStringLiteral(" ") + text(7305, "(taken)") : QString())
                         : text(7303, "Sing the answer"));
    setAccessibleDescription(text_->text());
    update();
}

QString MicMeter::heardText() const {
    return text_->text();
}

void MicMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect bar(style::kGap, height() / 2 - 5, kBarWidth, 10);
    p.fillRect(bar, style::kPaper);
    p.setPen(style::kDisabled);
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    const int filled = bar.width() * level_ / kLevels;
    p.fillRect(QRect(bar.left() + 1, bar.top() + 1, std::max(0, filled - 2), bar.height() - 2),
               steady_ ? style::kRight : style::kSounding);
}

}  // namespace kalvintor::ui
