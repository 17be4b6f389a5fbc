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
    void setFocusKey(int pitch);
    // Plays a key as a click does: pressed and released (keyboard and accessibility).
    void playKey(int pitch);
    // A key's place in the widget, its mark and whether it is the held key.
    QRect keyRect(int pitch) const;
    const InstrumentMark* markOf(int pitch) const;
    bool isHeld(int pitch) const { return held_.shownPitch != 0 && held_.shownPitch == pitch; }
    // The key's name as written on the keys: "C4", "F#3".
    static QString keyName(int pitch);

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

    std::vector<InstrumentMark> marks_;
    InstrumentHeld held_;
    std::optional<int> down_;
    int focusKey_ = 60;
};

}  // namespace kalvintor::ui
