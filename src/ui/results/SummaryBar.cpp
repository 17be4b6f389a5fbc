// Painting the summary bar.
#include "SummaryBar.h"

#include "ResultBar.h"
#include "app/Style.h"
#include "results/ResultFormat.h"

#include <QPainter>

namespace kalvintor::ui {

SummaryBar::SummaryBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setMinimumWidth(160);
}

void SummaryBar::setResult(int exercise, int correct, int questions) {
    exercise_ = exercise;
    correct_ = correct;
    questions_ = questions;
    setAccessibleName(questions == 0 ? QStringLiteral("0")
                                     : QStringLiteral("%1/%2 (%3%)")
                                           .arg(correct)
                                           .arg(questions)
                                           .arg(results::BarPercent(exercise, correct, questions)));
    update();
}

void SummaryBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(192, 192, 192));
    painter.setFont(style::uiFont(9));
    DrawResultBar(painter, rect(), exercise_, correct_, questions_, true);
}

}  // namespace kalvintor::ui
