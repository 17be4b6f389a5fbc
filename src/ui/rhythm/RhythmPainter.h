// Painting a rhythm in one-line notation with the music font: the engine's layout, the marks of
// an evaluation and the line under the bar being played.
#pragma once

#include "exercises/rhythm/NotationLayout.h"
#include "exercises/rhythm/Rytme.h"

#include <QColor>
#include <QPixmap>
#include <QString>

class QPainter;

namespace kalvintor::ui::rhythm {

// Loads the music font from `file`, or from fonts/Bravura.otf in the program directory when no
// file is given; the family name, or an empty string when it cannot be loaded (symbols are then
// drawn with whatever font has them, which may be none).
QString LoadMusicFont(const QString& file = {});

// Paints a layout on a white background in the painter's logical coordinates.
void PaintLayout(QPainter& painter, const kalvintor::rhythm::NotationLayout& layout,
                 const QString& musicFamily);

// Lays out a voice of the engine for a paint area `width` pixels wide, paints it and returns the
// height the paint area must have to show every row.
int Draw(QPainter& painter, kalvintor::rhythm::TRytme& engine, int voice, int width,
         const QString& musicFamily);

// The same, into an off-screen picture drawn at the device pixel ratio so that it stays crisp.
QPixmap DrawToPixmap(kalvintor::rhythm::TRytme& engine, int voice, int width, qreal devicePixelRatio,
                     const QString& musicFamily);

// Each judged note's mark under its head: late, exact, early or missed; rests and tied notes
// show none. Uses the positions of the last Draw of voice 0.
void DrawMarks(QPainter& painter, const kalvintor::rhythm::TRytme& engine);

// A line under bar `bar` (1-based) of a voice as last drawn; bar 0 draws nothing (repainting the
// notation erases an earlier line).
void DrawProgress(QPainter& painter, const kalvintor::rhythm::TRytme& engine, int bar, int voice);

// Colours of the marks.
inline const QColor kExactColour{0x1E, 0x8C, 0x3A};
inline const QColor kOffColour{0xE0, 0x8A, 0x00};
inline const QColor kMissedColour{0xC8, 0x1E, 0x1E};
inline const QColor kProgressColour{0x1F, 0x6F, 0xC0};

}  // namespace kalvintor::ui::rhythm
