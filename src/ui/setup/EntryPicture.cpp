// Structure pictures of catalogue entries: piano, staff and guitar.
#include "EntryPicture.h"

#include "app/Style.h"
#include "setup/EntryStructure.h"
#include "setup/PitchSetupRules.h"

#include <QPainter>

#include <algorithm>

namespace kalvintor::ui {

namespace {

constexpr int kPianoRow = 24;
constexpr int kGuitarRow = 37;
constexpr int kStaffRow = 42;

constexpr int kLowest = 48;  // C, three octaves up to C 84
constexpr int kWhiteKeys = 22;
constexpr int kKeyWidth = 6;

// The staff: 3.5 pixels between lines, the bottom line placed so that C6 and F3 both fit.
constexpr qreal kSpace = 3.5;
constexpr qreal kBottomLineY = 27.5;
constexpr qreal kHeadsX = 40;
constexpr qreal kFirstColumnX = 30;
constexpr qreal kHeadWidth = 1.688 * kSpace;

// The guitar: strings 5.6 pixels apart, frets 8 pixels, the nut at x 10.
constexpr qreal kStringTop = 4;
constexpr qreal kStringGap = 5.6;
constexpr qreal kNutX = 10;
constexpr qreal kFretWidth = 8;
constexpr int kFretsShown = 15;

int whiteIndex(int pitch) {
    constexpr int steps[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    return (pitch - kLowest) / 12 * 7 + steps[(pitch - kLowest) % 12];
}

qreal stepY(int step) {
    return kBottomLineY - step * kSpace / 2;
}

char32_t signGlyph(int alteration) {
    switch (alteration) {
        case -2:
            return 0xE264;
        case -1:
            return 0xE260;
        case 1:
            return 0xE262;
        default:
            return 0xE263;
    }
}

void drawPiano(QPainter& painter, const theory::CatalogueEntry& entry) {
    const qreal h = kPianoRow - 3;
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
}

void drawStaff(QPainter& painter, const theory::CatalogueEntry& entry, bool inSequence) {
    painter.setPen(QPen(style::kInk, 0.7));
    for (int line = 0; line < 5; ++line) {
        const qreal y = stepY(2 * line);
        painter.drawLine(QPointF(1, y), QPointF(kEntryPictureWidth - 1, y));
    }
    const QFont font = style::musicFont(4 * kSpace);
    painter.setFont(font);
    painter.drawText(QPointF(3, stepY(2)), style::glyph(style::kGlyphTrebleClef));
    const auto heads = setup::StaffHeads(entry, inSequence);
    const qreal columnStep = heads.empty() ? 0
                                           : std::min<qreal>(14, (kEntryPictureWidth - kFirstColumnX - 8) /
                                                                     static_cast<qreal>(heads.size()));
    int signs = 0;
    for (const setup::StaffHead& head : heads) {
        qreal x = inSequence ? kFirstColumnX + head.column * columnStep : kHeadsX;
        if (head.displaced) x += kHeadWidth;
        const qreal y = stepY(head.step);
        // Ledger lines below and above the staff, at the even steps out to the head.
        painter.setPen(QPen(style::kInk, 0.7));
        for (int s = -2; s >= head.step; s -= 2)
            painter.drawLine(QPointF(x - 2, stepY(s)), QPointF(x + kHeadWidth + 2, stepY(s)));
        for (int s = 10; s <= head.step; s += 2)
            painter.drawLine(QPointF(x - 2, stepY(s)), QPointF(x + kHeadWidth + 2, stepY(s)));
        painter.setPen(style::kInk);
        painter.drawText(QPointF(x, y), style::glyph(style::kGlyphWholeNote));
        if (head.alteration != 0) {
            // A chord's signs stand in two staggered columns so that neighbours do not collide.
            const qreal shift = inSequence ? 0 : (signs++ % 2) * 5;
            painter.drawText(QPointF(x - 6 - shift, y), style::glyph(signGlyph(head.alteration)));
        }
    }
}

void drawGuitar(QPainter& painter, const theory::CatalogueEntry& entry) {
    const auto stringY = [](int string) { return kStringTop + (string - 1) * kStringGap; };
    painter.setPen(QPen(style::kInk, 0.7));
    for (int string = 1; string <= 6; ++string)
        painter.drawLine(QPointF(kNutX, stringY(string)),
                         QPointF(kNutX + kFretsShown * kFretWidth, stringY(string)));
    for (int fret = 1; fret <= kFretsShown; ++fret) {
        const qreal x = kNutX + fret * kFretWidth;
        painter.drawLine(QPointF(x, stringY(1)), QPointF(x, stringY(6)));
    }
    painter.setPen(QPen(style::kInk, 2));
    painter.drawLine(QPointF(kNutX, stringY(1)), QPointF(kNutX, stringY(6)));
    for (const setup::FretDot& dot : setup::FretDots(entry)) {
        if (dot.fret > kFretsShown) continue;
        const QPointF at(dot.fret == 0 ? kNutX - 5 : kNutX + (dot.fret - 0.5) * kFretWidth,
                         stringY(dot.string));
        if (dot.fret == 0) {
            painter.setPen(QPen(style::kWrong, 1));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(style::kWrong);
        }
        painter.drawEllipse(at, 2.4, 2.4);
    }
}

}  // namespace

EntryPictureKind entryPictureKind(int answerPicture) {
    if (answerPicture == 2) return EntryPictureKind::Piano;
    if (answerPicture == 4) return EntryPictureKind::Guitar;
    return EntryPictureKind::Staff;
}

int entryRowHeight(EntryPictureKind kind) {
    switch (kind) {
        case EntryPictureKind::Piano:
            return kPianoRow;
        case EntryPictureKind::Guitar:
            return kGuitarRow;
        default:
            return kStaffRow;
    }
}

QPixmap entryPicture(const theory::CatalogueEntry& entry, qreal pixelRatio, EntryPictureKind kind,
                     bool inSequence) {
    const int height = entryRowHeight(kind) - 2;
    QPixmap pixmap(QSize(kEntryPictureWidth, height) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    switch (kind) {
        case EntryPictureKind::Piano:
            drawPiano(painter, entry);
            break;
        case EntryPictureKind::Guitar:
            drawGuitar(painter, entry);
            break;
        case EntryPictureKind::Staff:
            drawStaff(painter, entry, inSequence);
            break;
    }
    return pixmap;
}

}  // namespace kalvintor::ui
