// Painting, hit testing and input of the control-button strip.
#include "TControlButton.h"

#include "Accessible.h"
#include "Pictures.h"
#include "Program.h"
#include "Style.h"
#include "Texts.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

namespace kalvintor::ui {
namespace {
const QColor kSilver(192, 192, 192);
constexpr int kEdge = 30;       // background pixels this close to a face's sides miss
constexpr int kMiddleTop = 13;  // background pixels count between these rows
constexpr int kMiddleBottom = 35;
constexpr int kTextStripName = 7100;

void tellAccessibility(TControlButton* strip, int index, QAccessible::Event type) {
    QAccessibleEvent event(strip, type);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void tellStateChange(TControlButton* strip, int index, QAccessible::State changed) {
    QAccessibleStateChangeEvent event(strip, changed);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

TControlButton::TControlButton(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ControlButton"));
    setGeometry(4, 4, 641, 48);
    // The five faces need 637 pixels: the strip fits a window 640 pixels wide.
    setMinimumSize(kButtons * kPitch - 3, 48);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    installAccessibility();
    bindText(this, kTextStripName, [this](const QString& t) { setAccessibleName(t); });
    setAccessibleName(text(kTextStripName, "Control buttons"));
}

void TControlButton::setCaption(int index, const QString& caption) {
    if (index < 0 || index >= kButtons || Captions[index] == caption) return;
    Captions[index] = caption;
    changed();
    tellAccessibility(this, index, QAccessible::NameChanged);
}

void TControlButton::setButtonEnabled(int index, bool enabled) {
    if (index < 0 || index >= kButtons || ButtonEnabled[index] == enabled) return;
    ButtonEnabled[index] = enabled;
    changed();
    QAccessible::State state;
    state.disabled = true;
    state.focusable = true;
    tellStateChange(this, index, state);
}

void TControlButton::FocusButton(int index) {
    FocusIndex = index;
    setFocus(Qt::OtherFocusReason);
    changed();
    if (hasFocus() && index >= 0 && index < kButtons) tellAccessibility(this, index, QAccessible::Focus);
}

void TControlButton::PressButton(int index) {
    if (index < 0 || index >= kButtons || !ButtonEnabled[index]) return;
    PressedIndex = index;
    changed();
    QAccessible::State state;
    state.pressed = true;
    tellStateChange(this, index, state);
}

void TControlButton::Click(int index) {
    if (index < 0 || index >= kButtons || !ButtonEnabled[index]) return;
    PressButton(index);
    if (onButtonUp) onButtonUp();
}

int TControlButton::nextEnabled(int from, int step) const {
    for (int i = from + step; i >= 0 && i < kButtons; i += step)
        if (ButtonEnabled[i]) return i;
    return -1;
}

void TControlButton::moveFocusMark(int index) {
    FocusIndex = index;
    changed();
    tellAccessibility(this, index, QAccessible::Focus);
}

bool TControlButton::focusNextPrevChild(bool next) {
    if (hasFocus()) {
        const int index = nextEnabled(FocusIndex, next ? 1 : -1);
        if (index >= 0) {
            moveFocusMark(index);
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void TControlButton::changed() {
    hitImage_ = QImage();
    update();
}

// A pixel of a face counts for its button. A pixel showing the control's own colour counts only
// in the middle of a face: at least 30 pixels from its sides and between rows 13 and 35.
int TControlButton::ControlButtonAt(int x, int y) const {
    const QImage& image = hitImage();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return -1;
    const int d = x % kPitch;
    if (image.pixel(x, y) != image.pixel(0, 0)) return x / kPitch;
    if (d < kEdge || d > kPitch - kEdge || y < kMiddleTop || y > kMiddleBottom) return -1;
    return x / kPitch;
}

const QImage& TControlButton::hitImage() const {
    if (hitImage_.isNull() || hitImage_.size() != size()) {
        hitImage_ = QImage(size(), QImage::Format_RGB32);
        QPainter painter(&hitImage_);
        paintStrip(painter);
    }
    return hitImage_;
}

void TControlButton::paintStrip(QPainter& p) const {
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setRenderHint(QPainter::TextAntialiasing);
    const auto& lists = imageLists();
    const int fontSize = 9;
    for (int i = 0; i < kButtons; ++i) {
        const int left = kPitch * i;
        const bool enabled = ButtonEnabled[i];
        const bool pressed = i == PressedIndex;
        const int cell = !enabled          ? kFaceDisabled
                         : pressed         ? kFacePressed
                         : i == HoverIndex ? kFaceHot
                                           : kFaceNormal;
        lists.controlButtonImageList.draw(p, left, 1, cell);

        QFont font = style::uiFont(fontSize, QFont::DemiBold);
        p.setFont(font);
        p.setPen(enabled && !pressed && i == HoverIndex ? QColor(Qt::white) : kSilver);
        const QFontMetrics metrics(font);
        const int shift = pressed ? 1 : 0;
        const int x = left + (kFaceWidth - metrics.horizontalAdvance(Captions[i])) / 2 + 1 + shift;
        const int top = 1 + (kFaceHeight - metrics.height()) / 2 + shift;  // centred on the face
        p.drawText(x, top + metrics.ascent(), Captions[i]);

        if (hasFocus() && i == FocusIndex) {
            // A ring inside the face makes the focus plain to see; the mark is the system's own.
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(style::kAccent, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(left + 2.5, 2.5, kFaceWidth - 5, kFaceHeight - 3), style::kCorner - 1,
                              style::kCorner - 1);
            p.setRenderHint(QPainter::Antialiasing, false);
            lists.rhythmResultPict.draw(p, left + kFaceWidth - 11, kFaceHeight - 5, kMarkFocus);
        }
        if (enabled) {
            QFont keyFont = style::uiFont(7);
            p.setFont(keyFont);
            p.setPen(style::kSand);
            const QFontMetrics keyMetrics(keyFont);
            const QString key = QStringLiteral("F%1").arg(i + 5);
            p.drawText(left + kFaceWidth - 5 - keyMetrics.horizontalAdvance(key), 2 + keyMetrics.ascent(),
                       key);
        }
    }
}

void TControlButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintStrip(painter);
}

void TControlButton::mousePressEvent(QMouseEvent* event) {
    PressButton(ControlButtonAt(event->position().toPoint().x(), event->position().toPoint().y()));
}

void TControlButton::mouseMoveEvent(QMouseEvent* event) {
    int index = ControlButtonAt(event->position().toPoint().x(), event->position().toPoint().y());
    if (index >= kButtons || (index >= 0 && !ButtonEnabled[index])) index = -1;
    if (index != HoverIndex) {
        HoverIndex = index;
        changed();
    }
}

void TControlButton::mouseReleaseEvent(QMouseEvent*) {
    if (onButtonUp) onButtonUp();
}

void TControlButton::leaveEvent(QEvent*) {
    HoverIndex = -1;
    changed();
}

void TControlButton::focusInEvent(QFocusEvent* event) {
    // Tabbing into the strip starts at its first enabled button, tabbing back at its last, so that
    // Tab reaches all five. Otherwise the focus mark moves to the next enabled button when it is
    // on none or on a disabled one.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        const bool back = event->reason() == Qt::BacktabFocusReason;
        const int index = nextEnabled(back ? kButtons : -1, back ? -1 : 1);
        if (index >= 0) FocusIndex = index;
    } else if (FocusIndex < 0 || FocusIndex >= kButtons || !ButtonEnabled[FocusIndex]) {
        const int index = nextEnabled(std::max(FocusIndex, -1), 1);
        if (index >= 0) FocusIndex = index;
    }
    changed();
    if (FocusIndex >= 0 && FocusIndex < kButtons) tellAccessibility(this, FocusIndex, QAccessible::Focus);
}

void TControlButton::focusOutEvent(QFocusEvent*) {
    changed();
}

void TControlButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        if (FocusIndex >= 0) PressButton(FocusIndex);
        return;
    }
    // The arrow keys move the focus mark along the strip without leaving it.
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) &&
        event->modifiers() == Qt::NoModifier) {
        const int index = nextEnabled(FocusIndex, event->key() == Qt::Key_Right ? 1 : -1);
        if (index >= 0) moveFocusMark(index);
        return;
    }
    event->ignore();
}

void TControlButton::keyReleaseEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        if (onButtonUp) onButtonUp();
        return;
    }
    event->ignore();
}

}  // namespace kalvintor::ui
