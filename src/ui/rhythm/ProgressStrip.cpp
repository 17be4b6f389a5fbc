// Painting the progress strip.
#include "rhythm/ProgressStrip.h"

#include "app/Style.h"
#include "app/Texts.h"

#include <QPainter>

namespace kalvintor::ui::rhythm {

namespace {

struct SegmentColours {
    QColor lit;
    QColor dim;
};

const SegmentColours kCountIn{QColor(0xD0, 0x30, 0x30), QColor(0x80, 0x20, 0x20)};
const SegmentColours kBar{QColor(0xF4, 0xD0, 0x3C), QColor(0x80, 0x80, 0x00)};
const SegmentColours kTurn{QColor(0x3C, 0xB0, 0x50), QColor(0x1E, 0x5A, 0x2A)};

// A number in the music font's time-signature digits.
QString timeDigits(int number) {
    QString digits;
    for (QChar c : QString::number(number))
        digits += style::glyph(0xE080 + static_cast<char32_t>(c.unicode() - u'0'));
    return digits;
}

}  // namespace

ProgressStrip::ProgressStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAccessibleName(text(7403, "Progress"));
    setMinimumHeight(36);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ProgressStrip::setRhythm(int bars, int numerator, int denominator) {
    bars_ = std::max(1, bars);
    numerator_ = numerator;
    denominator_ = denominator;
    update();
}

void ProgressStrip::setSegment(int segment) {
    segment_ = segment;
    update();
}

void ProgressStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int n = segments();
    const double w = static_cast<double>(width()) / n;
    p.setFont(style::uiFont(10, QFont::Bold));
    for (int i = 1; i <= n; ++i) {
        const bool lit = i == segment_;
        const SegmentColours& c = i == 1 ? kCountIn : (i == n ? kTurn : kBar);
        const QRectF box((i - 1) * w + 1, 1, w - 2, height() - 2);
        p.setPen(lit ? QPen(style::kInk, 2) : Qt::NoPen);
        p.setBrush(lit ? c.lit : c.dim);
        p.drawRoundedRect(box, style::kCorner, style::kCorner);
        QString label;
        QRectF textBox = box;
        if (i == 1) {
            // The time signature in front of the count-in.
            const QFont music = style::musicFont(height() * 0.45);
            p.setFont(music);
            p.setPen(lit ? style::kInk : Qt::white);
            const QString top = timeDigits(numerator_);
            const QString bottom = timeDigits(denominator_);
            p.drawText(QPointF(box.left() + 4, box.top() + height() * 0.30), top);
            p.drawText(QPointF(box.left() + 4, box.top() + height() * 0.62), bottom);
            p.setFont(style::uiFont(10, QFont::Bold));
            textBox.setLeft(box.left() + height() * 0.4);
            label = text(821, "Count-in");
        } else if (i == n) {
            label = text(823, "Your turn");
        } else {
            label = text(822, "Bar %d").replace(QStringLiteral("%d"), QString::number(i - 1));
        }
        p.setPen(lit ? style::kInk : Qt::white);
        p.drawText(textBox, Qt::AlignCenter, label);
    }
}

}  // namespace kalvintor::ui::rhythm
