// The range picker: the lowest and highest pitch asked, dragged on a small piano, guitar neck or
// grand staff, whichever the answers are given on.
#pragma once

#include "setup/PitchSetupRules.h"

#include <QWidget>

#include <functional>

namespace kalvintor::ui {

class RangePicker final : public QWidget {
    Q_OBJECT
public:
    explicit RangePicker(QWidget* parent = nullptr);

    void setPicture(setup::PickerPicture picture);
    setup::PickerPicture picture() const { return picture_; }
    void setLimits(setup::PitchLimits limits);
    setup::PitchLimits limits() const { return limits_; }
    void setMinLimitDistance(int distance) { distance_ = distance; }
    int minLimitDistance() const { return distance_; }
    setup::LimitMarker selected() const { return selected_; }
    void clearSelection() { selected_ = setup::LimitMarker::None; }

    // Where a pitch's marker is drawn, for tests and the keyboard.
    QPoint markerPoint(int pitch) const;

    QSize sizeHint() const override;

    std::function<void()> changed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int pitchAt(QPoint p) const;
    setup::LimitMarker markerAt(QPoint p) const;
    void moveSelected(int pitch);
    void paintPiano(QPainter& painter) const;
    void paintGuitar(QPainter& painter) const;
    void paintStaff(QPainter& painter) const;
    void updateText();

    setup::PickerPicture picture_ = setup::PickerPicture::Piano;
    setup::PitchLimits limits_;
    int distance_ = 1;
    setup::LimitMarker selected_ = setup::LimitMarker::None;
    // The keyboard moves this marker; Tab in the picker switches it.
    setup::LimitMarker keyboardMarker_ = setup::LimitMarker::Lower;
    int pressX_ = 0;
};

}  // namespace kalvintor::ui
