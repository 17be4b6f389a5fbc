// A student's score per session over time with the period's average, drawn in the program's look.
#pragma once

#include "results/Figures.h"

#include <QWidget>

namespace kalvintor::ui {

class ProgressChart final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressChart(QWidget* parent = nullptr);
    void setProgress(results::Progress progress);
    const results::Progress& progress() const { return progress_; }
    QSize sizeHint() const override { return {480, 160}; }

    // Draws the chart into `area` of any paint device (the window, a report page).
    static void paintChart(QPainter& painter, const QRectF& area, const results::Progress& progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    results::Progress progress_;
};

}  // namespace kalvintor::ui
