// A paint area showing one voice of a rhythm engine in notation, with the evaluation marks and the
// line under the bar being played; it takes the height its rows need.
#pragma once

#include "exercises/rhythm/Rytme.h"

#include <QWidget>

#include <functional>

namespace kalvintor::ui::rhythm {

class RhythmPaintBox final : public QWidget {
    Q_OBJECT
public:
    RhythmPaintBox(kalvintor::rhythm::TRytme& engine, int voice, QWidget* parent = nullptr);

    void setShowMarks(bool show);
    bool showMarks() const { return marks_; }
    // The bar being played (1-based), 0 for none.
    void DrawProgress(int bar);
    int progressBar() const { return progress_; }
    // Painted over the notation (the correction exercise's dots).
    std::function<void(QPainter&)> overlay;
    // A press on the notation, in its coordinates.
    std::function<void(QPoint)> pressed;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();

    kalvintor::rhythm::TRytme& engine_;
    int voice_;
    bool marks_ = false;
    int progress_ = 0;
    QString family_;
};

}  // namespace kalvintor::ui::rhythm
