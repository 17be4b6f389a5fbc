// The range picker's pictures, markers and dragging.
#include "RangePicker.h"

#include "app/Style.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kalvintor::ui {

using setup::LimitMarker;
using setup::PickerPicture;

namespace {

constexpr int kPianoKeys = 35;  // five octaves of white keys from F
constexpr int kPianoHeight = 34;
constexpr int kGuitarWidth = 310;
constexpr int kGuitarHeight = 36;
constexpr int kStaffWidth = 120;
constexpr int kStaffHeight = 170;
// The staff's pitch rows start this far down, so that ledger lines above the treble staff show.
constexpr int kStaffTop = 40;
constexpr int kStaffNoteX = 60;
constexpr int kDotRadius = 4;

QString pitchName(int pitch) {
    return QString::fromStdString(theory::NoteName(pitch, 0)) + QString::number(pitch / 12 - 1);
}

}  // namespace

RangePicker::RangePicker(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RangePicker"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    updateText();
}

void RangePicker::setPicture(PickerPicture picture) {
    picture_ = picture;
    updateGeometry();
    update();
}

void RangePicker::setLimits(setup::PitchLimits limits) {
    limits_ = limits;
    selected_ = LimitMarker::None;
    updateText();
    update();
}

QSize RangePicker::sizeHint() const {
    switch (picture_) {
        case PickerPicture::Piano:
            return {kPianoKeys * setup::kPianoWhiteKey + 1, kPianoHeight + 1};
        case PickerPicture::Guitar:
            return {kGuitarWidth, kGuitarHeight + 1};
        case PickerPicture::Staff:
            break;
    }
    return {kStaffWidth, kStaffHeight};
}

QPoint RangePicker::markerPoint(int pitch) const {
    switch (picture_) {
        case PickerPicture::Piano:
            return {setup::pianoKeyCentre(pitch), setup::isBlackKey(pitch) ? 12 : 27};
        case PickerPicture::Guitar: {
            // The highest string that reaches the pitch within the neck.
            for (int s = 1; s <= theory::kGuitarStrings; ++s) {
                const int fret = pitch - theory::GuitarOpenStrings[static_cast<std::size_t>(s)];
                if (fret >= 0 && fret < setup::kGuitarFrets) {
                    const int x =
                        fret == 0
                            ? 5
                            : (setup::guitarFretX(fret) + (fret == 1 ? 11 : setup::guitarFretX(fret - 1))) /
                                  2;
                    return {x, (s - 1) * 6 + 3};
                }
            }
            return {5, 33};
        }
        case PickerPicture::Staff:
            break;
    }
    return {kStaffNoteX, setup::staffY(pitch) + kStaffTop};
}

int RangePicker::pitchAt(QPoint p) const {
    switch (picture_) {
        case PickerPicture::Piano:
            return setup::pianoPitchAt(p.x(), p.y());
        case PickerPicture::Guitar:
            return setup::guitarPitchAt(p.x(), p.y());
        case PickerPicture::Staff:
            break;
    }
    return setup::staffPitchAt(p.y() - kStaffTop, p.x() - pressX_);
}

LimitMarker RangePicker::markerAt(QPoint p) const {
    if (picture_ != PickerPicture::Staff) return setup::markerAtPitch(limits_, pitchAt(p));
    for (LimitMarker m : {LimitMarker::Lower, LimitMarker::Upper}) {
        const QPoint at = markerPoint(m == LimitMarker::Lower ? limits_.lower : limits_.upper);
        if (std::abs(at.x() - p.x()) <= 7 && std::abs(at.y() - p.y()) <= 5) return m;
    }
    return LimitMarker::None;
}

void RangePicker::moveSelected(int pitch) {
    const setup::PitchLimits moved = setup::moveLimit(limits_, selected_, pitch, distance_, picture_);
    if (moved == limits_) return;
    limits_ = moved;
    updateText();
    update();
    if (changed) changed();
}

void RangePicker::mousePressEvent(QMouseEvent* event) {
    pressX_ = event->position().toPoint().x();
    selected_ = markerAt(event->position().toPoint());
    if (selected_ != LimitMarker::None) keyboardMarker_ = selected_;
}

void RangePicker::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (selected_ == LimitMarker::None) {
        setCursor(markerAt(p) != LimitMarker::None ? Qt::SizeAllCursor : Qt::ArrowCursor);
        return;
    }
    moveSelected(pitchAt(p));
}

void RangePicker::mouseReleaseEvent(QMouseEvent*) {
    selected_ = LimitMarker::None;
}

void RangePicker::keyPressEvent(QKeyEvent* event) {
    // Up and Down move the chosen limit a semitone, Page Up and Page Down an octave; Space
    // switches between the lower and the upper limit.
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_PageUp:
            step = 12;
            break;
        case Qt::Key_PageDown:
            step = -12;
            break;
        case Qt::Key_Space:
            keyboardMarker_ = keyboardMarker_ == LimitMarker::Lower ? LimitMarker::Upper : LimitMarker::Lower;
            updateText();
            update();
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    selected_ = keyboardMarker_;
    moveSelected((keyboardMarker_ == LimitMarker::Lower ? limits_.lower : limits_.upper) + step);
    selected_ = LimitMarker::None;
}

void RangePicker::updateText() {
    const QString lower = pitchName(limits_.lower);
    const QString upper = pitchName(limits_.upper);
    setAccessibleName(tr("Pitch range"));
    setAccessibleDescription(
        tr("Lowest %1, highest %2; %3 moves with the arrow keys, Space switches")
            .arg(lower, upper, keyboardMarker_ == LimitMarker::Lower ? tr("the lowest") : tr("the highest")));
    setToolTip(lower + QStringLiteral(" – ") + upper);
}

void RangePicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (picture_) {
        case PickerPicture::Piano:
            paintPiano(painter);
            break;
        case PickerPicture::Guitar:
            paintGuitar(painter);
            break;
        case PickerPicture::Staff:
            paintStaff(painter);
            break;
    }
    if (hasFocus()) {
        painter.setPen(QPen(style::kAccent, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void RangePicker::paintPiano(QPainter& painter) const {
    const int w = setup::kPianoWhiteKey;
    for (int k = 0; k < kPianoKeys; ++k) {
        const int pitch = setup::pianoPitchAt(k * w + w / 2, 30);
        const bool inside = pitch >= limits_.lower && pitch <= limits_.upper;
        painter.setPen(style::kInk);
        painter.setBrush(inside ? QColor(0xFF, 0xF4, 0xD6) : Qt::white);
        painter.drawRect(QRectF(k * w + 0.5, 0.5, w, kPianoHeight));
    }
    for (int pitch = setup::kPianoLowest; pitch < setup::kPianoLowest + 60; ++pitch) {
        if (!setup::isBlackKey(pitch)) continue;
        const int x = setup::pianoKeyCentre(pitch);
        painter.setBrush(style::kInk);
        painter.drawRect(QRectF(x - 3.5, 0.5, 7, setup::kPianoBlackHeight));
    }
    for (int pitch : {limits_.lower, limits_.upper}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(style::kWrong);
        painter.drawEllipse(markerPoint(pitch), kDotRadius, kDotRadius);
    }
}

void RangePicker::paintGuitar(QPainter& painter) const {
    painter.fillRect(QRect(0, 0, kGuitarWidth, kGuitarHeight), QColor(0x6B, 0x4A, 0x2B));
    painter.setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 1));
    for (int f = 1; f <= setup::kGuitarFrets; ++f)
        painter.drawLine(setup::guitarFretX(f), 0, setup::guitarFretX(f), kGuitarHeight);
    painter.setPen(QPen(QColor(0xF0, 0xE0, 0xB0), 1));
    for (int s = 0; s < theory::kGuitarStrings; ++s) painter.drawLine(0, s * 6 + 3, kGuitarWidth, s * 6 + 3);
    for (int pitch : {limits_.lower, limits_.upper}) {
        painter.setPen(QPen(style::kInk, 1));
        painter.setBrush(style::kSounding);
        painter.drawEllipse(markerPoint(pitch), kDotRadius - 1, kDotRadius - 1);
    }
}

void RangePicker::paintStaff(QPainter& painter) const {
    painter.fillRect(rect(), style::kPaper);
    painter.setPen(QPen(style::kInk, 1));
    // Treble lines E4 G4 B4 D5 F5, bass lines G2 B2 D3 F3 A3.
    for (int pitch : {64, 67, 71, 74, 77, 43, 47, 50, 53, 57}) {
        const int y = setup::staffY(pitch) + kStaffTop;
        painter.drawLine(4, y, kStaffWidth - 4, y);
    }
    const QFont music = style::musicFont(16);
    if (style::musicFontAvailable()) {
        painter.setFont(music);
        painter.drawText(QPointF(8, setup::staffY(67) + kStaffTop), style::glyph(style::kGlyphTrebleClef));
        painter.drawText(QPointF(8, setup::staffY(53) + kStaffTop), style::glyph(style::kGlyphBassClef));
    }
    for (int pitch : {limits_.lower, limits_.upper}) {
        const QPoint at = markerPoint(pitch);
        // Ledger lines between the staff and the note.
        painter.setPen(QPen(style::kInk, 1));
        const int top = setup::staffY(pitch >= 60 ? 77 : 57) + kStaffTop;
        const int bottom = setup::staffY(pitch >= 60 ? 64 : 43) + kStaffTop;
        for (int y = bottom + 8; y <= at.y() + 1; y += 8) painter.drawLine(at.x() - 9, y, at.x() + 9, y);
        for (int y = top - 8; y >= at.y() - 1; y -= 8) painter.drawLine(at.x() - 9, y, at.x() + 9, y);
        painter.setPen(Qt::NoPen);
        painter.setBrush(style::kInk);
        painter.drawEllipse(QPointF(at), 5.0, 4.0);
        if (setup::isBlackKey(pitch)) {
            painter.setPen(style::kInk);
            painter.setFont(style::uiFont(8, QFont::Bold));
            painter.drawText(QPoint(at.x() - 16, at.y() + 4), QStringLiteral("#"));
        }
    }
}

}  // namespace kalvintor::ui
