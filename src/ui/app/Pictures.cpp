// Drawing of the program's pictures.
#include "Pictures.h"

#include "Style.h"
#include "Texts.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace kalvintor::ui {
namespace {

using Painter = std::function<void(QPainter&, QSizeF)>;

constexpr int kTextErrorCaption = 5005;
constexpr int kTextMusicFontMissing = 7102;
constexpr int kTextMusicFontEffect = 7103;

QPixmap render(QSize size, qreal dpr, const Painter& paint) {
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paint(p, QSizeF(size));
    return pixmap;
}

qreal screenRatio() {
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// --- cursors ---------------------------------------------------------------------------------

void drawNoteCursor(QPainter& p, char32_t glyph, bool filled, bool stem) {
    p.setPen(QPen(Qt::white, 1.2));
    if (style::musicFontAvailable()) {
        QPainterPath path;
        path.addText(QPointF(8, 22), style::musicFont(24), style::glyph(glyph));
        p.setBrush(style::kInk);
        p.drawPath(path);  // white outline keeps it visible on dark staves
        return;
    }
    p.save();
    p.translate(13, 22);
    p.rotate(-20);
    p.setBrush(filled ? style::kInk : Qt::white);
    p.setPen(QPen(style::kInk, 1.6));
    p.drawEllipse(QRectF(-5, -3.5, 10, 7));
    p.restore();
    if (stem) {
        p.setPen(QPen(style::kInk, 1.4));
        p.drawLine(QPointF(17.3, 20.5), QPointF(17.3, 4));
    }
}

void drawFinger(QPainter& p) {
    QPainterPath hand;
    hand.moveTo(10, 2);
    hand.cubicTo(12, 0, 14, 2, 14, 4);
    hand.lineTo(14, 12);
    hand.cubicTo(18, 11, 24, 12, 24, 16);
    hand.lineTo(24, 24);
    hand.cubicTo(24, 28, 21, 30, 17, 30);
    hand.lineTo(13, 30);
    hand.cubicTo(9, 30, 6, 26, 4, 22);
    hand.lineTo(3, 18);
    hand.cubicTo(3, 16, 5, 15, 7, 17);
    hand.lineTo(10, 20);
    hand.lineTo(10, 4);
    hand.closeSubpath();
    p.setPen(QPen(style::kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(hand);
}

void drawRubber(QPainter& p) {
    p.translate(16, 16);
    p.rotate(-35);
    p.setPen(QPen(style::kInk, 1.4));
    p.setBrush(style::kWrong.lighter(150));
    p.drawRoundedRect(QRectF(-11, -6, 13, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2, -6, 9, 12), 2, 2);
}

void drawSpeaker(QPainter& p) {
    QPainterPath body;
    body.moveTo(4, 12);
    body.lineTo(10, 12);
    body.lineTo(17, 5);
    body.lineTo(17, 27);
    body.lineTo(10, 20);
    body.lineTo(4, 20);
    body.closeSubpath();
    p.setPen(QPen(style::kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(15, 10, 8, 12), -60 * 16, 120 * 16);
    p.drawArc(QRectF(15, 6, 14, 20), -60 * 16, 120 * 16);
}

void drawCrosshair(QPainter& p) {
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(16, 3, 16, 29);
    p.drawLine(3, 16, 29, 16);
    p.setPen(QPen(style::kInk, 1.2));
    p.drawLine(16, 3, 16, 29);
    p.drawLine(3, 16, 29, 16);
    p.drawEllipse(QPointF(16, 16), 5, 5);
}

// --- image lists -------------------------------------------------------------------------------

// Navy faces carry the captions in silver, and in white under the mouse.
QPixmap controlFace(int face, qreal dpr) {
    return render({125, 38}, dpr, [face](QPainter& p, QSizeF s) {
        const QRectF r(1, 1, s.width() - 2, s.height() - 2);
        QColor top = style::kNavyLight, bottom = style::kNavy, border = style::kNavy.darker(140);
        switch (face) {
            case kFaceHot:
                top = style::kNavyLight.lighter(125);
                bottom = style::kNavyLight;
                border = style::kAccent;
                break;
            case kFaceDisabled:
                top = QColor(0x8A, 0x96, 0xA6);
                bottom = QColor(0x74, 0x80, 0x90);
                border = QColor(0x66, 0x70, 0x7E);
                break;
            case kFacePressed:
                top = style::kNavy.darker(130);
                bottom = style::kNavy;
                border = style::kNavy.darker(170);
                break;
            default:
                break;
        }
        QLinearGradient g(0, 0, 0, s.height());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        p.setBrush(g);
        p.setPen(QPen(border, face == kFaceHot ? 2 : 1));
        p.drawRoundedRect(r, style::kCorner, style::kCorner);
        if (face == kFaceNormal || face == kFaceHot) {
            p.setPen(QPen(QColor(255, 255, 255, 60), 1));
            p.drawLine(QPointF(style::kCorner + 1, 2.5), QPointF(s.width() - style::kCorner - 1, 2.5));
        }
    });
}

QPixmap resultMark(int mark, qreal dpr) {
    return render({12, 13}, dpr, [mark](QPainter& p, QSizeF) {
        p.setPen(Qt::NoPen);
        switch (mark) {
            case kMarkLate:
            case kMarkEarly: {
                // A triangle pointing the way the tap was off: right when late, left when early.
                const bool late = mark == kMarkLate;
                QPolygonF arrow;
                arrow << QPointF(late ? 2 : 10, 2) << QPointF(late ? 10 : 2, 6.5)
                      << QPointF(late ? 2 : 10, 11);
                p.setBrush(style::kAccent);
                p.drawPolygon(arrow);
                break;
            }
            case kMarkExact:
                p.setPen(QPen(style::kRight, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPolyline(QPolygonF{QPointF(1.5, 7), QPointF(4.5, 10.5), QPointF(10.5, 2)});
                break;
            case kMarkMissed:
                p.setPen(QPen(style::kWrong, 2.2, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(2, 2.5), QPointF(10, 10.5));
                p.drawLine(QPointF(10, 2.5), QPointF(2, 10.5));
                break;
            default:
                // The focus mark sits in the lower right corner of a control button.
                p.setBrush(style::kAccent);
                p.drawPolygon(QPolygonF{QPointF(11, 0), QPointF(11, 5), QPointF(6, 5)});
                break;
        }
    });
}

QPixmap metronome(int cell, bool highColour, qreal dpr) {
    return render({45, 44}, dpr, [cell, highColour](QPainter& p, QSizeF) {
        if (!highColour) p.setRenderHint(QPainter::Antialiasing, false);
        const QColor wood = highColour ? QColor(0x8B, 0x5A, 0x2B) : QColor(0x80, 0x00, 0x00);
        const QColor face = highColour ? style::kPaper : QColor(Qt::white);
        const QColor metal = highColour ? style::kInk : QColor(Qt::black);
        QPolygonF body{QPointF(15, 4), QPointF(30, 4), QPointF(39, 41), QPointF(6, 41)};
        if (highColour) {
            QLinearGradient g(6, 0, 39, 0);
            g.setColorAt(0, wood.lighter(125));
            g.setColorAt(1, wood.darker(115));
            p.setBrush(g);
        } else {
            p.setBrush(wood);
        }
        p.setPen(QPen(metal, 1));
        p.drawPolygon(body);
        p.setBrush(face);
        p.drawPolygon(QPolygonF{QPointF(17, 8), QPointF(28, 8), QPointF(33, 32), QPointF(12, 32)});
        // The scale on the face.
        p.setPen(QPen(highColour ? style::kDisabled : QColor(Qt::gray), 1));
        for (int y = 12; y <= 28; y += 4) p.drawLine(QPointF(21, y), QPointF(24, y));
        // The pendulum swings about its pivot at the bottom of the face.
        const QPointF pivot(22.5, 31);
        const qreal angle = cell == kPendulumLeft ? -22 : cell == kPendulumRight ? 22 : 0;
        p.save();
        p.translate(pivot);
        p.rotate(angle);
        p.setPen(QPen(metal, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 0), QPointF(0, -26));
        p.setBrush(highColour ? style::kAccent : QColor(Qt::yellow));
        p.setPen(QPen(metal, 1));
        p.drawRect(QRectF(-3, -19, 6, 5));
        p.restore();
        p.setBrush(wood.darker(130));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(6, 36, 33, 5));
    });
}

}  // namespace

QCursor programCursor(int number) {
    const qreal dpr = screenRatio();
    auto make = [dpr](const Painter& paint, int hotX, int hotY) {
        return QCursor(render({32, 32}, dpr, paint), hotX, hotY);
    };
    switch (number) {
        case kCursorWhole:
            return make([](QPainter& p, QSizeF) { drawNoteCursor(p, style::kGlyphWholeNote, false, false); },
                        13, 22);
        case kCursorHalf:
            return make([](QPainter& p, QSizeF) { drawNoteCursor(p, style::kGlyphHalfNoteUp, false, true); },
                        13, 22);
        case kCursorQuarter:
            return make(
                [](QPainter& p, QSizeF) { drawNoteCursor(p, style::kGlyphQuarterNoteUp, true, true); }, 13,
                22);
        case kCursorFinger:
            return make([](QPainter& p, QSizeF) { drawFinger(p); }, 12, 1);
        case kCursorRubber:
            return make([](QPainter& p, QSizeF) { drawRubber(p); }, 7, 24);
        case kCursorSpeaker:
            return make([](QPainter& p, QSizeF) { drawSpeaker(p); }, 4, 16);
        case kCursor7:
            return make([](QPainter& p, QSizeF) { drawCrosshair(p); }, 16, 16);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

void TImageList::draw(QPainter& painter, int x, int y, int index) const {
    if (index < 0 || index >= count()) return;
    painter.drawPixmap(QPoint(x, y), cells[index]);
}

ImageLists makeImageLists(bool highColour, qreal dpr) {
    ImageLists lists;
    lists.controlButtonImageList.cellSize = {125, 38};
    for (int face : {kFaceNormal, kFaceHot, kFaceDisabled, kFacePressed})
        lists.controlButtonImageList.cells.push_back(controlFace(face, dpr));
    lists.rhythmResultPict.cellSize = {12, 13};
    for (int mark : {kMarkLate, kMarkExact, kMarkEarly, kMarkMissed, kMarkFocus})
        lists.rhythmResultPict.cells.push_back(resultMark(mark, dpr));
    lists.imageList1.cellSize = {45, 44};
    for (int cell : {kPendulumLeft, kPendulumRight, kPendulumRest})
        lists.imageList1.cells.push_back(metronome(cell, highColour, dpr));
    return lists;
}

void ReportMissingMusicFont(QWidget* parent) {
    if (style::musicFontAvailable()) return;
    auto* box = new QMessageBox(
        QMessageBox::Warning, text(kTextErrorCaption, "Error"),
        text(kTextMusicFontMissing, "The music font could not be found:") + QStringLiteral("\n\n") +
            QDir::toNativeSeparators(style::musicFontFile()) + QStringLiteral("\n\n") +
            text(kTextMusicFontEffect,
                 "Notes, clefs and rests cannot be drawn. "
                 "Install the program again to restore the font."),
        QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("MissingMusicFont"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QPixmap welcomePicture(QSize size, qreal dpr) {
    return render(size, dpr, [](QPainter& p, QSizeF s) {
        QLinearGradient sky(0, 0, 0, s.height());
        sky.setColorAt(0, style::kNavy);
        sky.setColorAt(1, style::kNavy.darker(160));
        p.fillRect(QRectF(QPointF(0, 0), s), sky);

        // A staff across the upper half with a treble clef and a rising arpeggio.
        const qreal space = 9, top = 58, left = 22, right = s.width() - 22;
        p.setPen(QPen(QColor(0xE8, 0xD0, 0xA0, 200), 1.1));
        for (int line = 0; line < 5; ++line)
            p.drawLine(QPointF(left, top + line * space), QPointF(right, top + line * space));
        p.setBrush(style::kSand);
        p.setPen(Qt::NoPen);
        if (style::musicFontAvailable()) {
            p.setFont(style::musicFont(4 * space));
            p.setPen(style::kSand);
            p.drawText(QPointF(left + 4, top + 3 * space), style::glyph(style::kGlyphTrebleClef));
            // A rising arpeggio from the bottom line; stems turn down from the middle line up.
            qreal x = left + 56;
            for (int step : {0, 2, 4, 6, 8}) {
                const char32_t note = step < 4 ? style::kGlyphQuarterNoteUp : style::kGlyphQuarterNoteDown;
                p.drawText(QPointF(x, top + 4 * space - step * space / 2), style::glyph(note));
                x += 34;
            }
        }

        // Piano keys along the bottom.
        const qreal keyTop = s.height() - 70, keyWidth = s.width() / 14.0;
        p.setPen(QPen(style::kNavy.darker(150), 1));
        p.setBrush(style::kPaper);
        for (int k = 0; k < 14; ++k) p.drawRect(QRectF(k * keyWidth, keyTop, keyWidth, 70));
        p.setBrush(style::kInk);
        for (int k = 0; k < 14; ++k) {
            const int inOctave = k % 7;
            if (inOctave == 2 || inOctave == 6) continue;
            p.drawRect(QRectF((k + 1) * keyWidth - keyWidth * 0.3, keyTop, keyWidth * 0.6, 42));
        }

        p.setPen(style::kSand);
        p.setFont(style::uiFont(20, QFont::Bold));
        p.drawText(QRectF(0, 118, s.width(), 34), Qt::AlignHCenter | Qt::AlignVCenter,
                   QStringLiteral("Kalvintor"));
        p.setFont(style::uiFont(11));
        p.setPen(style::kAccent.lighter(130));
        p.drawText(QRectF(0, 150, s.width(), 20), Qt::AlignHCenter | Qt::AlignVCenter,
                   QStringLiteral("ear training for music schools"));
    });
}

}  // namespace kalvintor::ui

namespace kalvintor::ui {
namespace {

constexpr qreal kSpace = 5;      // staff space of the small pictures
constexpr qreal kStaffTop = 12;  // top line
qreal staffY(int step) {
    return kStaffTop + 4 * kSpace - step * kSpace / 2;
}  // step 0 = bottom line

void drawStaff(QPainter& p, const QColor& ink, qreal left, qreal right, bool oneLine) {
    p.setPen(QPen(ink, 0.8));
    if (oneLine) {
        p.drawLine(QPointF(left, staffY(4)), QPointF(right, staffY(4)));
        return;
    }
    for (int line = 0; line < 5; ++line)
        p.drawLine(QPointF(left, staffY(2 * line)), QPointF(right, staffY(2 * line)));
}

void drawGlyph(QPainter& p, const QColor& ink, char32_t code, qreal x, qreal y) {
    if (!style::musicFontAvailable()) {
        // Without the music font every note is drawn as a plain head, so the picture still shows
        // what the exercise is about; clefs and time signatures are left out.
        if (code == style::kGlyphTrebleClef || code == style::kGlyphBassClef ||
            (code >= 0xE080 && code <= 0xE09F))
            return;
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QRectF(x + 0.5, y - kSpace / 2, 1.3 * kSpace, kSpace));
        return;
    }
    p.setPen(ink);
    p.setFont(style::musicFont(4 * kSpace));
    p.drawText(QPointF(x, y), style::glyph(code));
}

void drawClef(QPainter& p, const QColor& ink) {
    drawGlyph(p, ink, style::kGlyphTrebleClef, 4, staffY(2));
}

constexpr char32_t kNoteheadBlack = 0xE0A4;
constexpr char32_t kNoteheadWhole = 0xE0A2;
constexpr char32_t kHalfUp = 0xE1D3;
constexpr char32_t kTimeSig4 = 0xE084;

void drawChord(QPainter& p, const QColor& ink, qreal x, std::initializer_list<int> steps,
               int highlight = -1) {
    for (int step : steps)
        drawGlyph(p, step == highlight ? style::kAccent : ink, kNoteheadWhole, x, staffY(step));
}

void drawRhythm(QPainter& p, const QColor& ink, qreal x0, int circled) {
    // quarter, two beamed eighths, quarter, half on one line
    const qreal y = staffY(4);
    const qreal xs[] = {x0, x0 + 13, x0 + 24, x0 + 37, x0 + 52};
    drawGlyph(p, ink, style::kGlyphQuarterNoteUp, xs[0], y);
    drawGlyph(p, ink, kNoteheadBlack, xs[1], y);
    drawGlyph(p, ink, kNoteheadBlack, xs[2], y);
    const qreal stemX1 = xs[1] + 5.9, stemX2 = xs[2] + 5.9, stemTop = y - 3.5 * kSpace;
    p.setPen(QPen(ink, 0.6));
    p.drawLine(QPointF(stemX1, y - 0.8), QPointF(stemX1, stemTop));
    p.drawLine(QPointF(stemX2, y - 0.8), QPointF(stemX2, stemTop));
    p.fillRect(QRectF(stemX1 - 0.3, stemTop, stemX2 - stemX1 + 0.6, 0.5 * kSpace), ink);
    drawGlyph(p, ink, style::kGlyphQuarterNoteUp, xs[3], y);
    drawGlyph(p, ink, kHalfUp, xs[4], y);
    if (circled >= 0) {
        p.setPen(QPen(style::kWrong, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(xs[circled] + 3, y - 7), 8, 12);
    }
}

}  // namespace

QPixmap exercisePicture(int exercise, const QColor& ink, qreal dpr) {
    return render({100, 45}, dpr, [exercise, ink](QPainter& p, QSizeF s) {
        switch (exercise) {
            case 1:  // chord identification: two chords
                drawStaff(p, ink, 2, s.width() - 2, false);
                drawClef(p, ink);
                drawChord(p, ink, 42, {0, 2, 4});
                drawChord(p, ink, 70, {1, 3, 5, 7});
                break;
            case 2:  // interval identification: two tones, one after the other
                drawStaff(p, ink, 2, s.width() - 2, false);
                drawClef(p, ink);
                drawGlyph(p, ink, style::kGlyphQuarterNoteUp, 44, staffY(1));
                drawGlyph(p, ink, style::kGlyphQuarterNoteUp, 72, staffY(5));
                break;
            case 3: {  // interval comparison: A and B
                p.setPen(ink);
                p.setFont(style::uiFont(20, QFont::Bold));
                p.drawText(QRectF(0, 0, 45, 45), Qt::AlignCenter, QStringLiteral("A"));
                p.drawText(QRectF(55, 0, 45, 45), Qt::AlignCenter, QStringLiteral("B"));
                p.setPen(style::kAccent);
                p.setFont(style::uiFont(14, QFont::Bold));
                p.drawText(QRectF(35, 0, 30, 45), Qt::AlignCenter, QStringLiteral("?"));
                break;
            }
            case 4:  // rhythm imitation: a rhythm and the beat it is tapped to
                drawStaff(p, ink, 2, s.width() - 2, true);
                drawRhythm(p, ink, 10, -1);
                p.setPen(QPen(style::kAccent, 1.6, Qt::SolidLine, Qt::RoundCap));
                for (qreal x : {13.0, 26.0, 37.0, 50.0, 65.0}) p.drawLine(QPointF(x, 38), QPointF(x, 43));
                break;
            case 5:  // rhythm reading: a written rhythm with its time signature
                drawStaff(p, ink, 2, s.width() - 2, true);
                drawGlyph(p, ink, kTimeSig4, 4, staffY(6));
                drawGlyph(p, ink, kTimeSig4, 4, staffY(2));
                drawRhythm(p, ink, 22, -1);
                break;
            case 6:  // rhythm correction: the note that was played wrong
                drawStaff(p, ink, 2, s.width() - 2, true);
                drawRhythm(p, ink, 16, 3);
                break;
            case 7:  // chord inversions: the bass note stands out
                drawStaff(p, ink, 2, s.width() - 2, false);
                drawClef(p, ink);
                drawChord(p, ink, 42, {0, 2, 4}, 0);
                drawChord(p, ink, 70, {2, 4, 7}, 2);
                break;
            case 8: {  // scales: a rising row of tones
                drawStaff(p, ink, 2, s.width() - 2, false);
                drawClef(p, ink);
                qreal x = 30;
                for (int step = -1; step <= 6; ++step, x += 8.5)
                    drawGlyph(p, ink, kNoteheadBlack, x, staffY(step));
                // the ledger line of the first tone
                p.setPen(QPen(ink, 0.8));
                p.drawLine(QPointF(27, staffY(-2)), QPointF(39, staffY(-2)));
                break;
            }
            case 9: {  // melody: a short tune
                drawStaff(p, ink, 2, s.width() - 2, false);
                drawClef(p, ink);
                int steps[] = {2, 4, 3, 1, 2};
                qreal x = 34;
                for (int step : steps) {
                    drawGlyph(p, ink, step < 4 ? style::kGlyphQuarterNoteUp : style::kGlyphQuarterNoteDown, x,
                              staffY(step));
                    x += 13;
                }
                break;
            }
            default: {  // chord progressions: steps of the key
                QFont serif(QStringLiteral("DejaVu Serif"));
                serif.setPixelSize(17);
                serif.setBold(true);
                p.setFont(serif);
                p.setPen(ink);
                p.drawText(QRectF(QPointF(0, 0), s), Qt::AlignCenter, QStringLiteral("I  IV  V\u2077  I"));
                break;
            }
        }
    });
}

}  // namespace kalvintor::ui
