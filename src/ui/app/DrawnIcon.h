// Icons drawn when they are first shown, at the size and pixel ratio they are shown at.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSizeF>

#include <functional>

namespace kalvintor::ui {

// `draw(ratio)` returns the picture drawn for `ratio` device pixels per unit of `natural` (the
// size it is meant to be shown at). Each size and mode is drawn once, when it is first asked for,
// scaled down to fit the size asked for and never up; the other modes are made from the normal
// picture by the style, as for any icon.
QIcon drawnIcon(QSizeF natural, std::function<QPixmap(qreal ratio)> draw);

}  // namespace kalvintor::ui
