// Painting the progress chart.
#include "ProgressChart.h"

#include "Formatted.h"
#include "app/Style.h"
#include "app/Texts.h"

#include <QPainter>
#include <QPainterPath>

namespace kalvintor::ui {

ProgressChart::ProgressChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProgressChart"));
    setAccessibleName(text(7800, "Progress per session"));
    setMinimumHeight(120);
}

void ProgressChart::setProgress(results::Progress progress) {
    progress_ = std::move(progress);
    setAccessibleDescription(
        progress_.sessions.empty()
            ? text(7801, "No sessions in the list")
            : formatted(7802, "%d sessions, average %d%%",
                        {arg(static_cast<long long>(progress_.sessions.size())), arg(progress_.average)}));
    update();
}

void ProgressChart::paintChart(QPainter& painter, const QRectF& area, const results::Progress& progress) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Lines and dots keep their size on a printer's page as on the screen.
    const qreal px = painter.device() != nullptr ? painter.device()->logicalDpiX() / 96.0 : 1.0;
    const QFontMetricsF metrics(painter.font());
    const qreal labelWidth = metrics.horizontalAdvance(QStringLiteral("100%")) + 6;
    const QRectF plot = area.adjusted(labelWidth, metrics.height() / 2, -8 * px, -metrics.height() / 2);
    painter.fillRect(area, style::kPaper);
    // Grid lines at 0, 50 and 100 %.
    for (int percent : {0, 50, 100}) {
        const qreal y = plot.bottom() - plot.height() * percent / 100.0;
        painter.setPen(QPen(style::kDisabled, 0.8 * px, percent == 50 ? Qt::DotLine : Qt::SolidLine));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(style::kInk);
        painter.drawText(QRectF(area.left(), y - metrics.height() / 2, labelWidth - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(percent));
    }
    const auto& sessions = progress.sessions;
    if (sessions.empty()) {
        painter.setPen(style::kDisabled);
        painter.drawText(plot, Qt::AlignCenter, text(7801, "No sessions in the list"));
        painter.restore();
        return;
    }
    auto pointOf = [&](std::size_t i) {
        const qreal x = sessions.size() == 1 ? plot.center().x()
                                             : plot.left() + plot.width() * static_cast<qreal>(i) /
                                                                 static_cast<qreal>(sessions.size() - 1);
        return QPointF(x, plot.bottom() - plot.height() * std::clamp(sessions[i].percent, 0, 100) / 100.0);
    };
    // The period's average as a dashed line in the accent colour.
    const qreal average = plot.bottom() - plot.height() * std::clamp(progress.average, 0, 100) / 100.0;
    painter.setPen(QPen(style::kAccent, 1.5 * px, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), average), QPointF(plot.right(), average));
    painter.drawText(
        QRectF(plot.left() + 4, average - metrics.height() - 1, plot.width() - 8, metrics.height()),
        Qt::AlignRight | Qt::AlignBottom, formatted(7803, "average %d%%", {arg(progress.average)}));
    QPainterPath line;
    line.moveTo(pointOf(0));
    for (std::size_t i = 1; i < sessions.size(); ++i) line.lineTo(pointOf(i));
    painter.setPen(QPen(style::kNavyLight, 2 * px));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setBrush(style::kNavy);
    painter.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < sessions.size(); ++i) painter.drawEllipse(pointOf(i), 3.5 * px, 3.5 * px);
    painter.restore();
}

void ProgressChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(style::uiFont(8));
    paintChart(painter, rect(), progress_);
}

}  // namespace kalvintor::ui
