// The chord-type editor's keyboard.
#include "EditKeyboard.h"

#include "app/Style.h"
#include "setup/EntryEditing.h"
#include "setup/PitchSetupRules.h"
#include "theory/Spelling.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace kalvintor::ui {

namespace {

constexpr int kLeft = 28;
constexpr int kKey = 22;
constexpr int kHeight = 172;
constexpr int kBlackHeight = 99;
constexpr int kWhiteKeys = 19;  // F 53 .. C 84
constexpr std::array<int, 7> kWhiteFromF{0, 2, 4, 6, 7, 9, 11};

int whitePitch(int w) {
    return setup::kEditLowest + 12 * (w / 7) + kWhiteFromF[static_cast<std::size_t>(w % 7)];
}
int whiteIndex(int pitch) {
    const int from = pitch - setup::kEditLowest;
    int i = 0;
    while (i < 6 && kWhiteFromF[static_cast<std::size_t>(i + 1)] <= from % 12) ++i;
    return from / 12 * 7 + i;
}

}  // namespace

EditKeyboard::EditKeyboard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EditKeyboard"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleDescription(
        tr("Left and Right choose a key, Space or Enter enters its note, Delete takes it out"));
}

QSize EditKeyboard::sizeHint() const {
    return {kLeft + kWhiteKeys * kKey + 8, kHeight};
}

int EditKeyboard::pitchAt(QPoint p) const {
    if (p.x() < kLeft || p.y() < 0 || p.y() >= kHeight) return 0;
    const int w = (p.x() - kLeft) / kKey;
    if (w >= kWhiteKeys) return 0;
    if (p.y() < kBlackHeight) {
        // A black key lies across the boundary to the right of F, G, A, C and D.
        const int offset = (p.x() - kLeft) % kKey;
        const int pitch = whitePitch(w);
        if (offset >= kKey - 7 && setup::isBlackKey(pitch + 1)) return pitch + 1;
        if (offset < 7 && w > 0 && setup::isBlackKey(pitch - 1)) return pitch - 1;
    }
    const int pitch = whitePitch(w);
    return pitch <= setup::kEditHighest ? pitch : 0;
}

QPoint EditKeyboard::keyCentre(int pitch) const {
    if (setup::isBlackKey(pitch)) return {kLeft + (whiteIndex(pitch - 1) + 1) * kKey, kBlackHeight / 2};
    return {kLeft + whiteIndex(pitch) * kKey + kKey / 2, kHeight - 30};
}

void EditKeyboard::mousePressEvent(QMouseEvent* event) {
    held_ = pitchAt(event->position().toPoint());
    if (held_ != 0 && notePressed) notePressed(held_);
    update();
}

void EditKeyboard::mouseMoveEvent(QMouseEvent* event) {
    if (held_ == 0) return;
    const int pitch = pitchAt(event->position().toPoint());
    if (pitch != 0 && pitch != held_) {
        held_ = pitch;
        if (notePressed) notePressed(held_);
        update();
    }
}

void EditKeyboard::mouseReleaseEvent(QMouseEvent* event) {
    const int pitch = held_;
    held_ = 0;
    if (pitch != 0 && noteChosen) noteChosen(pitch, event->button() == Qt::RightButton);
    update();
}

void EditKeyboard::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            cursorPitch_ = std::max(cursorPitch_ - 1, setup::kEditLowest);
            break;
        case Qt::Key_Right:
            cursorPitch_ = std::min(cursorPitch_ + 1, setup::kEditHighest);
            break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (noteChosen) noteChosen(cursorPitch_, false);
            break;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            if (noteChosen) noteChosen(cursorPitch_, true);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    update();
}

void EditKeyboard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    auto entered = [this](int pitch) {
        if (entry_ == nullptr) return false;
        for (int i = 0; i < entry_->noteCount(); ++i)
            if (entry_->notes[static_cast<std::size_t>(i)].pitch == pitch) return true;
        return false;
    };
    painter.setPen(QPen(style::kInk, 1));
    for (int w = 0; w < kWhiteKeys; ++w) {
        const int pitch = whitePitch(w);
        painter.setBrush(pitch == held_ ? style::kWrong : Qt::white);
        painter.drawRect(QRectF(kLeft + w * kKey + 0.5, 0.5, kKey, kHeight - 1));
    }
    for (int pitch = setup::kEditLowest; pitch <= setup::kEditHighest; ++pitch) {
        if (!setup::isBlackKey(pitch)) continue;
        const QPoint c = keyCentre(pitch);
        painter.setBrush(pitch == held_ ? style::kWrong : style::kInk);
        painter.drawRect(QRectF(c.x() - 7, 0.5, 14, kBlackHeight));
    }
    for (int pitch = setup::kEditLowest; pitch <= setup::kEditHighest; ++pitch) {
        const QPoint c = keyCentre(pitch);
        if (entered(pitch)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(setup::isBlackKey(pitch) ? style::kSounding : style::kNavyLight);
            painter.drawEllipse(QPointF(c.x(), setup::isBlackKey(pitch) ? kBlackHeight - 16 : kHeight - 18),
                                6, 6);
        }
        if (hasFocus() && pitch == cursorPitch_) {
            painter.setPen(QPen(style::kAccent, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(c.x() - 8, setup::isBlackKey(pitch) ? 4 : kBlackHeight + 4, 16, 16));
        }
    }
    if (held_ != 0) {
        painter.setPen(style::kInk);
        painter.setFont(style::uiFont(9, QFont::Bold));
        const QPoint c = keyCentre(held_);
        painter.drawText(
            QRect(c.x() - 20, setup::isBlackKey(held_) ? kBlackHeight + 2 : kHeight - 52, 40, 16),
            Qt::AlignCenter, QString::fromStdString(theory::NoteName(held_, 0)));
    }
}

}  // namespace kalvintor::ui
