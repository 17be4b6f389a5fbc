// The program's own pictures, drawn with QPainter at the screen's pixel ratio: the welcome
// picture, the custom cursors and the image lists the shell and the exercises draw from.
#pragma once

#include <QCursor>
#include <QPixmap>
#include <QSize>
#include <QVector>

class QPainter;
class QWidget;

namespace kalvintor::ui {

// Cursor numbers the exercise windows refer to.
enum CursorNumber : int {
    kCursorWhole = 5,
    kCursorHalf = 6,
    kCursorQuarter = 7,
    kCursorFinger = 10,
    kCursorRubber = 12,
    kCursorSpeaker = 13,
    kCursor7 = 14,
};

// The cursor of a number; the arrow for numbers the program does not define.
QCursor programCursor(int number);

// A strip of equal cells, each drawn at the device pixel ratio so it stays crisp.
struct TImageList {
    QSize cellSize;
    QVector<QPixmap> cells;

    int count() const { return static_cast<int>(cells.size()); }
    // Draws cell `index` with its top-left corner at (x, y); an index outside the list draws nothing.
    void draw(QPainter& painter, int x, int y, int index) const;
};

// Cells of the control-button faces.
enum ControlFace : int { kFaceNormal = 0, kFaceHot = 1, kFaceDisabled = 2, kFacePressed = 3 };
// Cells of the rhythm result marks; cell 4 is the control-button focus mark.
enum ResultMark : int { kMarkLate = 0, kMarkExact = 1, kMarkEarly = 2, kMarkMissed = 3, kMarkFocus = 4 };
// Cells of the metronome pictures.
enum MetronomeCell : int { kPendulumLeft = 0, kPendulumRight = 1, kPendulumRest = 2 };

struct ImageLists {
    TImageList controlButtonImageList;  // 125 × 38: normal, under the mouse, disabled, pressed
    TImageList rhythmResultPict;        // 12 × 13: late, exact, early, missed, focus mark
    TImageList imageList1;              // 45 × 44: the metronome's two pendulum positions and rest
};

// `highColour` chooses the full-colour metronome pictures; with 8 bits per pixel or fewer the
// low-colour ones (flat colours from the basic palette) are used.
ImageLists makeImageLists(bool highColour, qreal devicePixelRatio);

// Without the music font, notes, clefs and rests cannot be drawn: says so in a message that waits
// for nobody (the program goes on without them). Does nothing when the font is there.
void ReportMissingMusicFont(QWidget* parent);

// The welcome window's picture.
QPixmap welcomePicture(QSize size, qreal devicePixelRatio);

}  // namespace kalvintor::ui

namespace kalvintor::ui {

// The start menu's picture of an exercise (1..10), 100 × 45, drawn in `ink` on a transparent ground.
QPixmap exercisePicture(int exercise, const QColor& ink, qreal devicePixelRatio);

}  // namespace kalvintor::ui
