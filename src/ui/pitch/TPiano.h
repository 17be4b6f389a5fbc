// The screen piano: keys from F2 upwards, 4 to 6 octaves by its width, the answer marked on the
// keys and the held key in red with its name. Arrow keys and Space play it from the keyboard.
#pragma once

#include "pitch/InstrumentMarks.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace kalvintor::ui {

class TPiano final : public QWidget {
    Q_OBJECT
public:
    explicit TPiano(QWidget* parent = nullptr);

    int octaves() const;
    int highestKey() const;
    // The key under a point of the widget, or none outside the keys.
    std::optional<int> keyAt(QPoint point) const;
    // The centre of a key (tests and screenshots).
    QPoint keyCentre(int pitch) const;
    void setMarks(std::vector<InstrumentMark> marks, InstrumentHeld held);
    int focusKey() const { return focusKey_; }

    QSize sizeHint() const override;

signals:
    void pressed(int shownPitch);
    void released(int shownPitch, bool remove);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int left() const;
    int keysTop() const;
    QRect keyRect(int pitch) const;
    void setFocusKey(int pitch);

    std::vector<InstrumentMark> marks_;
    InstrumentHeld held_;
    std::optional<int> down_;
    int focusKey_ = 60;
};

}  // namespace kalvintor::ui
