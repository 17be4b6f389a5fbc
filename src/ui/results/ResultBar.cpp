// Painting a result bar from its layout.
#include "ResultBar.h"

#include "app/Style.h"
#include "results/ResultFormat.h"

#include <QFontMetrics>
#include <QPainter>

namespace kalvintor::ui {

namespace {
const QColor kFrame{128, 128, 128};
const QColor kFill{0x2F, 0x5D, 0xA8};
}  // namespace

void DrawResultBar(QPainter& painter, const QRect& cell, int exercise, int correct, int questions,
                   bool withNumbers) {
    const QFontMetrics metrics(painter.font());
    const results::ResultBarLayout l = results::LayOutResultBar(
        exercise, correct, questions, cell.width(), withNumbers,
        [&metrics](const std::string& t) { return metrics.horizontalAdvance(QString::fromStdString(t)); });
    painter.save();
    if (!l.numbers.empty()) {
        painter.setPen(style::kInk);
        painter.drawText(
            QRect(cell.left() + l.numbersX, cell.top(), cell.width() - l.numbersX, cell.height()),
            Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(l.numbers));
    }
    if (l.drawBar) {
        const QRect frame(cell.left() + l.barLeft, cell.top() + 2, l.barRight - l.barLeft, cell.height() - 5);
        painter.setPen(kFrame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(frame);
        if (l.filled) {
            const QRect inside = frame.adjusted(1, 1, 0, 0);
            const int filled = inside.width() * std::clamp(l.percent, 0, 100) / 100;
            const QRect done(inside.left(), inside.top(), filled, inside.height());
            painter.fillRect(done, kFill);
            const QString percent = QString::number(l.percent) + QLatin1Char('%');
            // White over the blue part, blue over the rest.
            painter.setClipRect(done);
            painter.setPen(Qt::white);
            painter.drawText(frame, Qt::AlignCenter, percent);
            painter.setClipRect(
                QRect(done.right() + 1, inside.top(), inside.width() - filled, inside.height()));
            painter.setPen(kFill);
            painter.drawText(frame, Qt::AlignCenter, percent);
        }
    }
    painter.restore();
}

}  // namespace kalvintor::ui
