// Structure pictures of catalogue entries.
#include "EntryPicture.h"

#include "app/Style.h"
#include "setup/PitchSetupRules.h"

#include <QPainter>

namespace kalvintor::ui {

namespace {

constexpr int kLowest = 48;  // C, three octaves up to C 84
constexpr int kWhiteKeys = 22;
constexpr int kKeyWidth = 6;

int whiteIndex(int pitch) {
    constexpr int steps[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    return (pitch - kLowest) / 12 * 7 + steps[(pitch - kLowest) % 12];
}

}  // namespace

QPixmap entryPicture(const theory::CatalogueEntry& entry, qreal pixelRatio) {
    QPixmap pixmap(QSize(kEntryPictureWidth, kEntryPictureHeight) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal h = kEntryPictureHeight - 1;
    painter.setPen(QPen(style::kInk, 0.8));
    for (int k = 0; k < kWhiteKeys; ++k) {
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(k * kKeyWidth + 0.5, 0.5, kKeyWidth, h));
    }
    painter.setBrush(style::kInk);
    for (int p = kLowest; p < kLowest + 36; ++p)
        if (setup::isBlackKey(p))
            painter.drawRect(QRectF((whiteIndex(p) + 1) * kKeyWidth - 1.5, 0.5, 4, h * 0.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kWrong);
    for (int i = 0; i < entry.noteCount(); ++i) {
        const int pitch = entry.notes[static_cast<std::size_t>(i)].pitch;
        if (pitch < kLowest || pitch > kLowest + 36) continue;
        const bool black = setup::isBlackKey(pitch);
        const qreal x = black ? (whiteIndex(pitch) + 1) * kKeyWidth + 0.5
                              : whiteIndex(pitch) * kKeyWidth + kKeyWidth / 2.0 + 0.5;
        painter.drawEllipse(QPointF(x, black ? h * 0.4 : h * 0.8), 2.2, 2.2);
    }
    return pixmap;
}

}  // namespace kalvintor::ui
