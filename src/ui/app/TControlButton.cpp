// Painting, hit testing and input of the control-button strip.
#include "TControlButton.h"

#include "Pictures.h"
#include "Program.h"
#include "Style.h"

#include <QKeyEvent>
#include <QPainter>

namespace kalvintor::ui {
namespace {
const QColor kSilver(192, 192, 192);
constexpr int kEdge = 30;          // background pixels this close to a face's sides miss
constexpr int kMiddleTop = 13;     // background pixels count between these rows
constexpr int kMiddleBottom = 35;
}  // namespace

TControlButton::TControlButton(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ControlButton"));
    setGeometry(4, 4, 641, 48);
    setMinimumSize(641, 48);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

void TControlButton::setCaption(int index, const QString& caption) {
    if (index < 0 || index >= kButtons || Captions[index] == caption) return;
    Captions[index] = caption;
    changed();
}

void TControlButton::setButtonEnabled(int index, bool enabled) {
    if (index < 0 || index >= kButtons || ButtonEnabled[index] == enabled) return;
    ButtonEnabled[index] = enabled;
    changed();
}

void TControlButton::FocusButton(int index) {
    FocusIndex = index;
    setFocus(Qt::OtherFocusReason);
    changed();
}

void TControlButton::PressButton(int index) {
    if (index < 0 || index >= kButtons || !ButtonEnabled[index]) return;
    PressedIndex = index;
    changed();
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
        const int cell = !enabled ? kFaceDisabled : pressed ? kFacePressed : i == HoverIndex ? kFaceHot : kFaceNormal;
        lists.controlButtonImageList.draw(p, left, 1, cell);

        QFont font = style::uiFont(fontSize, QFont::DemiBold);
        p.setFont(font);
        p.setPen(enabled && !pressed && i == HoverIndex ? QColor(Qt::white) : kSilver);
        const QFontMetrics metrics(font);
        const int shift = pressed ? 1 : 0;
        const int x = left + (kFaceWidth - metrics.horizontalAdvance(Captions[i])) / 2 + 1 + shift;
        const int top = 1 + (kFaceHeight - metrics.height()) / 2 + shift;  // centred on the face
        p.drawText(x, top + metrics.ascent(), Captions[i]);

        if (hasFocus() && i == FocusIndex)
            lists.rhythmResultPict.draw(p, left + kFaceWidth - 11, kFaceHeight - 5, kMarkFocus);
        if (enabled) {
            QFont keyFont = style::uiFont(7);
            p.setFont(keyFont);
            p.setPen(style::kSand);
            const QFontMetrics keyMetrics(keyFont);
            const QString key = QStringLiteral("F%1").arg(i + 5);
            p.drawText(left + kFaceWidth - 5 - keyMetrics.horizontalAdvance(key), 2 + keyMetrics.ascent(), key);
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

void TControlButton::focusInEvent(QFocusEvent*) {
    // The focus mark moves to the next enabled button when it is on none or on a disabled one.
    if (FocusIndex < 0 || FocusIndex >= kButtons || !ButtonEnabled[FocusIndex]) {
        for (int i = std::max(FocusIndex + 1, 0); i < kButtons; ++i) {
            if (ButtonEnabled[i]) {
                FocusIndex = i;
                break;
            }
        }
    }
    changed();
}

void TControlButton::focusOutEvent(QFocusEvent*) { changed(); }

void TControlButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        if (FocusIndex >= 0) PressButton(FocusIndex);
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
