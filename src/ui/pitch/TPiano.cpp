// The screen piano's drawing and hit testing; the key under the mouse comes from the core's
// piano geometry (22 pixels per white key, 154 per octave, from F).
#include "pitch/TPiano.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "exercises/pitch/Instruments.h"
#include "notation/StaffPainter.h"
#include "pitch/InstrumentAccessible.h"
#include "theory/Spelling.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kalvintor::ui {

namespace p = kalvintor::pitch;

namespace {

constexpr int kNameRoom = 18;  // above the keys: the held key's name
constexpr int kKeysHeight = 96;
constexpr int kBlackWidth = 14;
constexpr std::array<bool, 12> kBlack{false, true,  false, true,  false, false,
                                      true,  false, true,  false, true,  false};

bool isBlack(int pitch) {
    return kBlack[static_cast<std::size_t>(pitch % 12)];
}

// White keys counted from F2.
int whiteIndex(int pitch) {
    int index = 0;
    for (int k = p::kPianoLowestKey; k < pitch; ++k)
        if (!isBlack(k)) ++index;
    return index;
}

}  // namespace

QString TPiano::keyName(int pitch) {
    return QString::fromStdString(theory::NoteName(pitch, theory::DefaultSpelling(pitch, 0))) +
           QString::number(pitch / 12 - 1);
}

TPiano::TPiano(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Piano"));
    installInstrumentAccessibility();
    setAccessibleName(text(8230, "Piano"));
    bindText(this, 8230, [this](const QString& t) { setAccessibleName(t); });
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(4 * p::kPianoOctaveWidth + 12, kKeysHeight + kNameRoom + 4);
    setFocusKey(focusKey_);
}

QSize TPiano::sizeHint() const {
    return {6 * p::kPianoOctaveWidth + 12, kKeysHeight + kNameRoom + 4};
}

int TPiano::octaves() const {
    return p::PianoOctaves(width());
}

int TPiano::highestKey() const {
    return p::PianoHighestKey(octaves());
}

int TPiano::left() const {
    return (width() - octaves() * p::kPianoOctaveWidth) / 2;
}

int TPiano::keysTop() const {
    return kNameRoom;
}

QRect TPiano::keyRect(int pitch) const {
    const int x0 = left();
    if (!isBlack(pitch))
        return {x0 + whiteIndex(pitch) * p::kPianoWhiteKeyWidth, keysTop(), p::kPianoWhiteKeyWidth,
                kKeysHeight};
    // A black key sits on the line between the white keys around it.
    const int boundary = x0 + whiteIndex(pitch + 1) * p::kPianoWhiteKeyWidth;
    return {boundary - kBlackWidth / 2, keysTop(), kBlackWidth, kKeysHeight * 6 / 10};
}

QPoint TPiano::keyCentre(int pitch) const {
    const QRect r = keyRect(pitch);
    return isBlack(pitch) ? r.center() : QPoint(r.center().x(), r.bottom() - 12);
}

std::optional<int> TPiano::keyAt(QPoint point) const {
    const int x = point.x() - left();
    const int y = point.y() - keysTop();
    if (x < 0 || y < 0 || y >= kKeysHeight || x >= octaves() * p::kPianoOctaveWidth) return std::nullopt;
    return p::PianoPitchAt(x, y < kKeysHeight * 6 / 10, octaves());
}

void TPiano::setMarks(std::vector<InstrumentMark> marks, InstrumentHeld held) {
    marks_ = std::move(marks);
    held_ = std::move(held);
    update();
}

const InstrumentMark* TPiano::markOf(int pitch) const {
    for (const auto& m : marks_)
        if (m.shownPitch == pitch) return &m;
    return nullptr;
}

void TPiano::playKey(int pitch) {
    if (pitch < p::kPianoLowestKey || pitch > highestKey()) return;
    setFocusKey(pitch);
    emit pressed(pitch);
    emit released(pitch, false);
}

void TPiano::setFocusKey(int pitch) {
    focusKey_ = std::clamp(pitch, p::kPianoLowestKey, highestKey());
    setAccessibleDescription(keyName(focusKey_));
    if (hasFocus()) {
        // Screen readers follow the key the arrows move to.
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(focusKey_ - p::kPianoLowestKey);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void TPiano::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int top = highestKey();
    const auto colourOf = [this](int pitch) -> std::optional<QColor> {
        if (held_.shownPitch == pitch) return style::kWrong;
        if (const InstrumentMark* m = markOf(pitch)) return notation::inkColour(m->ink);
        return std::nullopt;
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = p::kPianoLowestKey; k <= top; ++k) {
            if (isBlack(k) != (pass == 1)) continue;
            const QRectF r = QRectF(keyRect(k)).adjusted(0.5, 0.5, -0.5, -0.5);
            const auto mark = colourOf(k);
            const bool lit = std::any_of(marks_.begin(), marks_.end(),
                                         [k](const InstrumentMark& m) { return m.lit && m.shownPitch == k; });
            painter.setPen(QPen(style::kInk, 1));
            painter.setBrush(lit ? style::kSounding : isBlack(k) ? style::kInk : QColor(Qt::white));
            painter.drawRoundedRect(r, 2, 2);
            if (mark) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(*mark);
                const double d = isBlack(k) ? 10 : 14;
                painter.drawEllipse(QPointF(r.center().x(), r.bottom() - d), d / 2, d / 2);
            }
            if (k % 12 == 0 && !isBlack(k)) {
                painter.setPen(style::kDisabled);
                painter.setFont(style::uiFont(6));
                painter.drawText(r.adjusted(0, 0, 0, -2), Qt::AlignHCenter | Qt::AlignBottom,
                                 QStringLiteral("C%1").arg(k / 12 - 1));
            }
            if (hasFocus() && k == focusKey_) {
                painter.setPen(QPen(style::kAccent, 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(2, 2, -2, -2));
            }
        }
    }
    if (held_.shownPitch != 0 && held_.shownPitch >= p::kPianoLowestKey && held_.shownPitch <= top) {
        painter.setPen(style::kWrong);
        painter.setFont(style::uiFont(9, QFont::Bold));
        const QRect r = keyRect(held_.shownPitch);
        painter.drawText(QRect(r.center().x() - 40, 0, 80, kNameRoom), Qt::AlignCenter, held_.name);
    }
}

void TPiano::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    down_ = keyAt(event->position().toPoint());
    if (down_ && event->button() == Qt::LeftButton) {
        setFocusKey(*down_);
        emit pressed(*down_);
    }
}

void TPiano::mouseReleaseEvent(QMouseEvent* event) {
    if (!down_) return;
    const int key = *down_;
    down_.reset();
    emit released(key, event->button() == Qt::RightButton);
}

void TPiano::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            setFocusKey(focusKey_ - 1);
            return;
        case Qt::Key_Right:
            setFocusKey(focusKey_ + 1);
            return;
        case Qt::Key_Up:
            setFocusKey(focusKey_ + 12);
            return;
        case Qt::Key_Down:
            setFocusKey(focusKey_ - 12);
            return;
        case Qt::Key_Space:
            playKey(focusKey_);
            return;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            emit released(focusKey_, true);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace kalvintor::ui
