// The right-answer tick: a green disc with a white check mark.
#include "pitch/TickIcon.h"

#include "app/Style.h"

#include <QPainter>
#include <QPainterPath>

namespace kalvintor::ui {

namespace {
constexpr int kSide = 32;
}

TickIcon::TickIcon(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSide, kSide);
}

QSize TickIcon::sizeHint() const {
    return {kSide, kSide};
}

void TickIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kRight);
    painter.drawEllipse(box);
    // The check in unit coordinates of the disc.
    QPainterPath check;
    const auto at = [&box](qreal x, qreal y) {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    check.moveTo(at(0.27, 0.52));
    check.lineTo(at(0.43, 0.68));
    check.lineTo(at(0.74, 0.34));
    QPen pen(Qt::white, box.width() * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(check);
}

}  // namespace kalvintor::ui
