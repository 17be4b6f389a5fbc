// The play-style indicators of the pitch exercise window: three buttons, for notes played
// together, as an arpeggio upwards and downwards, of which the one the question was played in is
// pressed. They show; clicking them changes nothing.
#pragma once

#include "exercises/pitch/Question.h"

#include <QWidget>

#include <array>

class QToolButton;

namespace kalvintor::ui {

class PlayStyleIndicators final : public QWidget {
    Q_OBJECT
public:
    explicit PlayStyleIndicators(QWidget* parent = nullptr);

    // Presses the indicator of a style (together; up for 1 and 5; down for 2 and 6).
    void showStyle(pitch::PlayStyle style);
    // 0 together, 1 up, 2 down; -1 when none is pressed.
    int pressedIndex() const;
    QToolButton* indicator(int index) const { return buttons_[static_cast<std::size_t>(index)]; }

private:
    std::array<QToolButton*, 3> buttons_{};
};

}  // namespace kalvintor::ui
