// The notesheet: lays out through the core's staff rules and paints off-screen at the screen's
// pixel ratio; presses, drags and the keys Z X C V B enter notes.
#include "notation/TSheet.h"

#include "app/Style.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kalvintor::ui {

namespace n = kalvintor::notation;

namespace {
constexpr int kReach = 5;  // staff spaces above and below the staves where presses count
}  // namespace

TSheet::TSheet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Sheet"));
    setAccessibleName(QStringLiteral("Notesheet"));
    setAccessibleDescription(QStringLiteral(
        "Grand staff: click to enter a note, drag sideways or press Z X C V B for accidentals"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The staff's layout rules are made for boxes of about this height.
    setMinimumSize(300, 170);
    setMaximumHeight(320);
    relayout();
}

void TSheet::StaffLayout(int highest, bool progression) {
    layoutHighest_ = highest;
    layoutProgression_ = progression;
    relayout();
}

void TSheet::relayout() {
    geometry_ = n::StaffLayout(height(), layoutHighest_, layoutProgression_, clefPreference);
    n::StaffInputs in;
    in.width = width();
    in.geometry = geometry_;
    in.keySig = keySig;
    in.showKeySignature = showKeySignature;
    in.chordLike = chordLike;
    in.clefPreference = clefPreference;
    in.stepLabels = stepLabels;
    in.notes = notes_;
    picture_ = n::LayoutStaff(in);
    update();
}

void TSheet::DrawStaff(std::vector<n::StaffNoteInput> notes, std::vector<notation::ColumnLabel> labels,
                       std::vector<notation::ChordMark> chords, std::vector<int> lit) {
    notes_ = std::move(notes);
    labels_ = std::move(labels);
    chords_ = std::move(chords);
    lit_ = std::move(lit);
    relayout();
}

int TSheet::markerX() const {
    int x = picture_.firstColumnX + picture_.columnStep;
    for (int c : picture_.columnX)
        if (c >= 0) x = std::max(x, c + (chordLike ? 0 : picture_.columnStep));
    return std::min(x, picture_.linesRight - 20);
}

void TSheet::DrawHeldNote(const pitch::QuestionNote& note, const QString& name) {
    if (note.pitch <= 0) {
        held_.reset();
    } else {
        const bool lower = entryStaff_ != 0
                               ? entryStaff_ < 0
                               : (clefPreference < 0 || (clefPreference == 0 && note.pitch < 60));
        held_ = notation::HeldMark{
            n::HeldNoteMark(geometry_, note, markerX(), lower, keySig, showKeySignature), name};
    }
    update();
}

void TSheet::setTool(Tool tool) {
    if (tool_ == tool) return;
    tool_ = tool;
    setCursor(tool == Tool::Delete ? Qt::ForbiddenCursor : Qt::ArrowCursor);
    emit toolChanged(tool);
}

QPixmap TSheet::render(qreal ratio) const {
    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(style::kPaper);
    QPainter p(&pixmap);
    notation::StaffExtras extras;
    if (showKeyName && showKeySignature) extras.keyName = keyName;
    extras.labels = labels_;
    extras.chords = chords_;
    extras.lit = lit_;
    extras.held = held_;
    notation::PaintStaff(p, picture_, extras);
    return pixmap;
}

void TSheet::paintEvent(QPaintEvent*) {
    // Drawn whole off-screen, then copied in one step.
    QPainter p(this);
    p.drawPixmap(0, 0, render(devicePixelRatioF()));
    if (hasFocus()) {
        p.setPen(QPen(style::kAccent, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TSheet::resizeEvent(QResizeEvent*) {
    relayout();
}

pitch::QuestionNote TSheet::noteAt(int, int y) const {
    const int staff = entryStaff_ != 0 ? entryStaff_ : inputStaff;
    const bool upper = n::InputStaff{staff}.upper(y, geometry_);
    const int alteration = keyAlterationSet_ ? keyAlteration_ : dragAlteration_;
    return n::PitchAtPoint(y, upper, geometry_, {lowestPitch, highestPitch}, keySig, showKeySignature,
                           alteration);
}

void TSheet::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        setTool(tool_ == Tool::Add ? Tool::Delete : Tool::Add);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    // Beyond five ledger lines' reach of the staves a press enters nothing.
    if (at.y() < geometry_.top - kReach * geometry_.spacing ||
        at.y() > geometry_.lowerBottom() + kReach * geometry_.spacing)
        return;
    if (n::InClefArea(picture_, at.x(), at.y())) {
        emit clefClicked();
        return;
    }
    if (tool_ == Tool::Delete) {
        if (const auto index = n::NoteNear(picture_, at.x(), at.y())) emit deleteRequested(*index);
        return;
    }
    // The first press of an entry chooses the staff, which stays while the button is held.
    entryStaff_ = inputStaff != 0 ? inputStaff : (n::InputStaff{0}.upper(at.y(), geometry_) ? 1 : -1);
    pressing_ = true;
    anchorX_ = at.x();
    dragAlteration_ = 0;
    lastY_ = at.y();
    pressed_ = noteAt(at.x(), at.y());
    emit notePressed(pressed_);
}

void TSheet::mouseMoveEvent(QMouseEvent* event) {
    if (!pressing_) return;
    const QPoint at = event->position().toPoint();
    const auto drag = n::DragToAlteration(anchorX_, at.x());
    anchorX_ = drag.anchorX;
    dragAlteration_ = drag.alteration;
    lastY_ = at.y();
    const auto note = noteAt(at.x(), at.y());
    if (note != pressed_) {
        pressed_ = note;
        emit noteChanged(pressed_);
    }
}

void TSheet::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressing_ || event->button() != Qt::LeftButton) return;
    pressing_ = false;
    keyAlterationSet_ = false;
    entryStaff_ = 0;
    emit noteReleased(pressed_);
}

void TSheet::keyPressEvent(QKeyEvent* event) {
    const QString t = event->text();
    const auto alteration = t.size() == 1 ? n::AlterationKey(t.at(0).toLatin1()) : std::nullopt;
    if (!alteration) {
        QWidget::keyPressEvent(event);
        return;
    }
    keyAlteration_ = *alteration;
    keyAlterationSet_ = true;
    if (!pressing_) return;
    const auto note = noteAt(anchorX_, lastY_);
    if (note != pressed_) {
        pressed_ = note;
        emit noteChanged(pressed_);
    }
}

void TSheet::leaveEvent(QEvent*) {
    // A release outside the box still arrives (the press grabbed the mouse); nothing to do here
    // but forget a key alteration chosen without a press.
    if (!pressing_) keyAlterationSet_ = false;
}

}  // namespace kalvintor::ui
