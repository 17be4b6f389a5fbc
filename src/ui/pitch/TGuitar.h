// The guitar fretboard: six strings, the open strings left of the nut and 12, 16 or 20 frets by
// its width; the answer marked on its strings, the held note with its name.
#pragma once

#include "pitch/InstrumentMarks.h"

#include <QWidget>

#include <array>
#include <optional>
#include <vector>

namespace kalvintor::ui {

class TGuitar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFretLines = 24;
    explicit TGuitar(QWidget* parent = nullptr);

    int widthClass() const;
    int visibleFrets() const;
    std::array<int, kFretLines> fretLines() const;
    std::optional<int> pitchAt(QPoint point) const;
    // The middle of a string's fret (0: left of the nut).
    QPoint fretCentre(int string, int fret) const;
    void setMarks(std::vector<InstrumentMark> marks, InstrumentHeld held);

    // The places of the board, string 1..6 and fret 0..visibleFrets: the keyboard's focus, a
    // place played as a click plays it, where a place lies, its name and what is marked there.
    int focusString() const { return focusString_; }
    int focusFret() const { return focusFret_; }
    void setFocusPlace(int string, int fret);
    void playPlace(int string, int fret);
    QRect placeRect(int string, int fret) const;
    static QString placeName(int string, int fret);
    const InstrumentMark* markAt(int string, int fret) const;
    bool isHeldAt(int string, int fret) const;

    QSize sizeHint() const override;

signals:
    void pressed(int shownPitch, int string);
    void released(int shownPitch, bool remove);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int stringY(int string) const;
    int stringAt(int y) const;
    int fretFor(int shownPitch, int string) const;

    std::vector<InstrumentMark> marks_;
    InstrumentHeld held_;
    std::optional<int> down_;
    int focusString_ = 3;
    int focusFret_ = 0;
};

}  // namespace kalvintor::ui
