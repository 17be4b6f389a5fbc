// The staff engraved from SMuFL glyphs: at a pixel size of four staff spaces each glyph's
// baseline sits on the staff position it refers to.
#include "notation/StaffPainter.h"

#include "app/Style.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace kalvintor::ui::notation {

namespace n = kalvintor::notation;

namespace {

constexpr char32_t kBrace = 0xE000;
constexpr char32_t kFlat = 0xE260;
constexpr char32_t kNatural = 0xE261;
constexpr char32_t kSharp = 0xE262;
constexpr char32_t kDoubleSharp = 0xE263;
constexpr char32_t kDoubleFlat = 0xE264;
constexpr char32_t kHalfDown = 0xE1D4;
constexpr char32_t kQuarterDown = 0xE1D6;

// SMuFL's engraving defaults, in staff spaces.
constexpr double kStaffLineThickness = 0.13;
constexpr double kLedgerThickness = 0.16;
constexpr double kLedgerExtension = 0.4;
constexpr double kThinBarline = 0.16;
constexpr double kThickBarline = 0.5;

char32_t accidentalGlyph(int alteration) {
    switch (alteration) {
        case -2:
            return kDoubleFlat;
        case -1:
            return kFlat;
        case 1:
            return kSharp;
        case 2:
            return kDoubleSharp;
        default:
            return kNatural;
    }
}

char32_t headGlyph(const n::HeadMark& h) {
    switch (h.noteValue) {
        case 2:
            return h.stemDown ? kHalfDown : style::kGlyphHalfNoteUp;
        case 3:
            return h.stemDown ? kQuarterDown : style::kGlyphQuarterNoteUp;
        default:
            return style::kGlyphWholeNote;
    }
}

void hLine(QPainter& p, double x1, double x2, double y, double thickness, const QColor& colour) {
    p.fillRect(QRectF(x1, y - thickness / 2, x2 - x1, thickness), colour);
}

void paintHead(QPainter& p, const n::HeadMark& h, const n::StaffGeometry& g, const QFont& music,
               const QColor& colour) {
    const double sp = g.spacing;
    const double head = n::kHeadWidthSpaces * sp;
    // Ledger lines run from the staff outwards, a little wider than the head; on the left they stop
    // short of the head's accidental.
    const double leftExtension =
        h.sign ? std::clamp(h.x - h.sign->x - 0.15 * sp, 0.0, kLedgerExtension * sp) : kLedgerExtension * sp;
    for (int k = 1; k <= h.ledgerCount; ++k) {
        const int staffEdge = h.lowerStaff ? (h.ledgerAbove ? g.lowerTop() : g.lowerBottom())
                                           : (h.ledgerAbove ? g.top : g.upperBottom());
        const double y = staffEdge + (h.ledgerAbove ? -k : k) * sp;
        hLine(p, h.x - leftExtension, h.x + head + kLedgerExtension * sp, y, kLedgerThickness * sp,
              style::kInk);
    }
    p.setFont(music);
    p.setPen(colour);
    p.drawText(QPointF(h.x, h.y), style::glyph(headGlyph(h)));
    if (h.sign) {
        const QString sign = style::glyph(accidentalGlyph(h.sign->alteration));
        const double width = QFontMetricsF(music).horizontalAdvance(sign);
        p.drawText(QPointF(h.sign->x - width, h.sign->y), sign);
    }
}

// The chord marks stand on one line below the lowest head or ledger line of the lower staff.
void paintChordMarks(QPainter& p, const n::StaffPicture& pic, const std::vector<ChordMark>& chords) {
    if (chords.empty()) return;
    const n::StaffGeometry& g = pic.geometry;
    const double sp = g.spacing;
    const double head = n::kHeadWidthSpaces * sp;
    double below = g.lowerBottom() + 1.5 * sp;
    for (const auto& h : pic.heads) below = std::max(below, h.y + 1.5 * sp);
    const QFont numeralFont = style::uiFont(9, QFont::Bold);
    const QFont nameFont = style::uiFont(8);
    const QFontMetricsF numeralMetrics(numeralFont);
    const QFontMetricsF nameMetrics(nameFont);
    for (const auto& c : chords) {
        double centre = -1;
        for (const auto& h : pic.heads)
            if (h.index == c.noteIndex) centre = h.x + head / 2;
        if (centre < 0) continue;  // the chord lies beyond the right edge
        const double top = below + numeralMetrics.ascent();
        p.setPen(c.colour);
        p.setFont(numeralFont);
        p.drawText(QPointF(centre - numeralMetrics.horizontalAdvance(c.numeral) / 2, top), c.numeral);
        p.setFont(nameFont);
        p.drawText(QPointF(centre - nameMetrics.horizontalAdvance(c.name) / 2, top + nameMetrics.height()),
                   c.name);
    }
}

}  // namespace

QColor inkColour(n::Ink ink) {
    switch (ink) {
        case n::Ink::Pending:
            return style::kAccent;
        case n::Ink::Right:
        case n::Ink::Question:
            return style::kRight;
        case n::Ink::Wrong:
            return style::kWrong;
        case n::Ink::Held:
            return style::kNavyLight;
    }
    return style::kInk;
}

void PaintStaff(QPainter& p, const n::StaffPicture& pic, const StaffExtras& extras) {
    const n::StaffGeometry& g = pic.geometry;
    const double sp = g.spacing;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont music = style::musicFont(4 * sp);

    // Ten staff lines and the line joining both staves.
    for (int k = 0; k < 5; ++k) {
        hLine(p, n::kLinesLeft, pic.linesRight, g.top + k * sp, kStaffLineThickness * sp, style::kInk);
        hLine(p, n::kLinesLeft, pic.linesRight, g.lowerTop() + k * sp, kStaffLineThickness * sp, style::kInk);
    }
    const double thin = kThinBarline * sp;
    p.fillRect(QRectF(n::kLinesLeft - 1, g.top, thin, g.lowerBottom() - g.top), style::kInk);
    p.fillRect(QRectF(pic.linesRight - thin, g.top, thin, g.lowerBottom() - g.top), style::kInk);

    // The brace is drawn for one staff's height and stretched over both.
    p.setFont(music);
    p.setPen(style::kInk);
    {
        const double height = g.lowerBottom() - g.top;
        p.save();
        p.translate(n::kBraceLeft, g.lowerBottom());
        // Stretched less in width than in height, so it stays a brace rather than a bar.
        const double stretch = height / (4 * sp);
        p.scale(std::sqrt(stretch) * 1.4, stretch);
        p.drawText(QPointF(0, 0), style::glyph(kBrace));
        p.restore();
    }
    p.drawText(QPointF(n::kClefX, g.noteY(67, false)), style::glyph(style::kGlyphTrebleClef));
    p.drawText(QPointF(n::kClefX, g.noteY(53, true)), style::glyph(style::kGlyphBassClef));

    for (const auto& k : pic.keySignature)
        p.drawText(QPointF(k.x, k.y), style::glyph(accidentalGlyph(k.alteration)));
    if (!extras.keyName.isEmpty()) {
        p.setFont(style::uiFont(7));
        p.setPen(style::kDisabled.darker(140));
        const QFontMetricsF m(p.font());
        p.drawText(QPointF(n::kKeyNameX, g.gapMiddle() + m.capHeight() / 2), extras.keyName);
    }

    for (const auto& b : pic.bars) {
        if (b.doubled) {
            p.fillRect(QRectF(b.x - 3 - thin, g.top, thin, g.lowerBottom() - g.top), style::kInk);
            p.fillRect(QRectF(b.x, g.top, kThickBarline * sp / 2, g.lowerBottom() - g.top), style::kInk);
        } else {
            p.fillRect(QRectF(b.x, g.top, thin, g.lowerBottom() - g.top), style::kInk);
        }
    }
    for (const auto& h : pic.heads) {
        if (std::find(extras.lit.begin(), extras.lit.end(), h.index) == extras.lit.end()) continue;
        const double head = n::kHeadWidthSpaces * sp;
        p.setPen(Qt::NoPen);
        p.setBrush(style::kSounding);
        p.drawEllipse(QPointF(h.x + head / 2, h.y), head * 0.95, sp * 1.05);
    }
    for (const auto& h : pic.heads) paintHead(p, h, g, music, inkColour(h.ink));
    paintChordMarks(p, pic, extras.chords);

    p.setFont(style::uiFont(8));
    p.setPen(style::kInk);
    for (const auto& s : pic.stepLabels) {
        const QString t = QString::fromStdString(s.text);
        const QFontMetricsF m(p.font());
        p.drawText(QPointF(s.x - m.horizontalAdvance(t) / 2, s.y + m.capHeight() / 2), t);
    }

    // Boxed names above the columns, kept inside the box.
    p.setFont(style::uiFont(8, QFont::Bold));
    const QFontMetricsF labelMetrics(p.font());
    for (const auto& l : extras.labels) {
        if (l.noteIndex < 0 || static_cast<std::size_t>(l.noteIndex) >= pic.columnX.size()) continue;
        const int x = pic.columnX[static_cast<std::size_t>(l.noteIndex)];
        if (x < 0) continue;
        const double w = labelMetrics.horizontalAdvance(l.text) + 8;
        const double h = labelMetrics.height() + 4;
        const double left = std::clamp(x - w / 2, 2.0, std::max(2.0, pic.width - w - 2));
        const QRectF box(left, std::max(2.0, g.top - 5 * sp - h), w, h);
        p.setPen(QPen(l.colour, 1.5));
        p.setBrush(style::kPaper);
        p.drawRoundedRect(box, 3, 3);
        p.setPen(l.colour);
        p.drawText(box, Qt::AlignCenter, l.text);
    }

    if (extras.held) {
        const auto& h = extras.held->head;
        paintHead(p, h, g, music, inkColour(n::Ink::Held));
        p.setFont(style::uiFont(9, QFont::Bold));
        p.setPen(inkColour(n::Ink::Held));
        const double above = h.ledgerAbove && h.ledgerCount > 0 ? h.ledgerCount * sp : 0;
        p.drawText(QPointF(h.x, std::min(h.y - 1.5 * sp - above, g.top - 1.0 * sp)), extras.held->name);
    }
}

}  // namespace kalvintor::ui::notation
