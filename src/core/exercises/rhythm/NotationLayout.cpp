// Laying out one-line rhythm notation: note positions and row breaks, then the engraving of
// stems, beams, flags, dots, ties, triplet marks and bar lines.
#include "exercises/rhythm/NotationLayout.h"

#include <algorithm>
#include <cmath>

namespace kalvintor::rhythm {
namespace {

constexpr double sp(double spaces) {
    return spaces * kStaffSpace;
}

constexpr double kBlackHeadWidth = 1.18;
constexpr double kWholeHeadWidth = 1.688;
constexpr double kDotGap = 0.45;
constexpr double kTieDrop = 0.6;     // tie ends below the staff line
constexpr double kStubLength = 1.1;  // partial beam
constexpr double kTupletDigitHalfWidth = 0.62;
constexpr double kTupletDigitMiddle = 0.73;  // above the digit's baseline
constexpr double kTupletGap = 0.3;
constexpr double kTupletHook = 0.5;
constexpr int kTupletLineY = 9;  // from the row top: above the beams
constexpr int kFirstRowStaffStartX = 10;

double headWidth(const TRhythmNote& n) {
    return n.value == kWhole ? sp(kWholeHeadWidth) : sp(kBlackHeadWidth);
}

Glyph headGlyph(int value) {
    if (value == kWhole) return Glyph::NoteheadWhole;
    if (value == kHalf) return Glyph::NoteheadHalf;
    return Glyph::NoteheadBlack;
}

Glyph restGlyph(int value) {
    static constexpr Glyph kRests[] = {Glyph::RestWhole,   Glyph::RestWhole, Glyph::RestHalf,
                                       Glyph::RestQuarter, Glyph::Rest8th,   Glyph::Rest16th,
                                       Glyph::Rest32nd};
    return kRests[std::clamp(value, kWhole, kShortestValue)];
}

// Rest widths in staff spaces, by value code.
double restWidth(int value) {
    static constexpr double kWidths[] = {1.128, 1.128, 1.128, 1.08, 0.988, 1.28, 1.452};
    return sp(kWidths[std::clamp(value, kWhole, kShortestValue)]);
}

Glyph flagGlyph(int value) {
    if (value == kEighth) return Glyph::Flag8thUp;
    if (value == kSixteenth) return Glyph::Flag16thUp;
    return Glyph::Flag32ndUp;
}

double rowTop(int row) {
    return static_cast<double>(kRowHeight * row);
}
double lineY(int row) {
    return rowTop(row) + kStaffLineY;
}

// The stem of an up-stemmed note: its right edge meets the right of the note head.
double stemRight(const TRhythmNote& n) {
    return n.x + headWidth(n);
}
double stemLeft(const TRhythmNote& n) {
    return stemRight(n) - sp(kStemThickness);
}
bool hasStem(const TRhythmNote& n) {
    return !n.rest && n.value > kWhole;
}

// Advance of a note in the drawing (the dotted extra only with the tighter settings).
int advanceOf(const TRhythmNote& n, Spacing spacing) {
    const bool extra = n.dotted() && (spacing == Spacing::Slightly || spacing == Spacing::FixedSpace);
    return noteSpacing(n, spacing) + (extra ? kDottedExtra : 0);
}

// The width the bar starting at `first` needs, counting 3 more per dotted note whatever the setting.
int barWidth(const Voice& voice, std::size_t first, Spacing spacing) {
    int width = 0;
    for (std::size_t i = first; i < voice.size(); ++i) {
        width += noteSpacing(voice[i], spacing) + (voice[i].dotted() ? kDottedExtra : 0);
        if (voice[i].endsBar) break;
    }
    return width;
}

void addRect(NotationLayout& l, RectMark::Kind kind, double x, double y, double w, double h) {
    l.rects.push_back(RectMark{kind, x, y, w, h});
}

void addStaffLine(NotationLayout& l, int row, double from, double to) {
    if (to <= from) return;
    addRect(l, RectMark::Kind::Staff, from, lineY(row) - sp(kStaffLineThickness) / 2, to - from,
            sp(kStaffLineThickness));
}

void addBarLine(NotationLayout& l, int row, double x, bool final) {
    const double top = rowTop(row) + kBarLineTop;
    const double height = kBarLineBottom - kBarLineTop;
    addRect(l, RectMark::Kind::BarLine, x, top, sp(kThinBarLine), height);
    if (final)
        addRect(l, RectMark::Kind::BarLine, x + sp(kThinBarLine + kBarLineSeparation), top, sp(kThickBarLine),
                height);
}

void addNoteSymbols(NotationLayout& l, const Voice& voice, std::size_t i) {
    const auto& n = voice[i];
    const int index = static_cast<int>(i);
    const double y = lineY(n.row);
    double right = 0;
    if (n.rest) {
        l.glyphs.push_back(GlyphMark{restGlyph(n.value), static_cast<double>(n.x + 1), y, index});
        right = n.x + 1 + restWidth(n.value);
    } else {
        l.glyphs.push_back(GlyphMark{headGlyph(n.value), static_cast<double>(n.x), y, index});
        right = n.x + headWidth(n);
        if (hasStem(n)) {
            const double top = rowTop(n.row) + kBeamTopY;
            addRect(l, RectMark::Kind::Stem, stemLeft(n), top, sp(kStemThickness),
                    y - sp(kStemAttachY) - top);
            if (n.beamGroup == 0 && n.value >= kEighth)
                l.glyphs.push_back(GlyphMark{flagGlyph(n.value), stemLeft(n), top, index});
        }
    }
    if (n.dotted()) {
        // On a line the dot moves up into the space above it.
        double dotX = right + sp(kDotGap);
        if (!n.rest && n.beamGroup == 0 && n.value >= kEighth) dotX += sp(1.0);  // clear of the flag
        l.glyphs.push_back(GlyphMark{Glyph::AugmentationDot, dotX, y - sp(0.5), index});
    }
}

void addBeams(NotationLayout& l, const Voice& voice) {
    std::size_t i = 0;
    while (i < voice.size()) {
        if (voice[i].beamGroup == 0) {
            ++i;
            continue;
        }
        const int group = voice[i].beamGroup;
        std::vector<std::size_t> members;
        std::size_t j = i;
        for (;
             j < voice.size() && (voice[j].beamGroup == group || (voice[j].rest && voice[j].beamGroup == 0));
             ++j)
            if (voice[j].beamGroup == group) members.push_back(j);
        i = j;
        if (members.size() < 2) continue;

        const int row = voice[members.front()].row;
        const double top = rowTop(row) + kBeamTopY;
        addRect(l, RectMark::Kind::Beam, stemLeft(voice[members.front()]), top,
                stemRight(voice[members.back()]) - stemLeft(voice[members.front()]), sp(kBeamThickness));

        for (int level = 2; level <= beamCount(kThirtySecond); ++level) {
            const double y = top + sp(kBeamDistance) * (level - 1);
            auto beams = [&](std::size_t m) { return beamCount(voice[members[m]].value) >= level; };
            for (std::size_t m = 0; m < members.size(); ++m) {
                if (!beams(m)) continue;
                const bool left = m > 0 && beams(m - 1);
                const bool right = m + 1 < members.size() && beams(m + 1);
                const auto& n = voice[members[m]];
                if (right) {
                    const auto& next = voice[members[m + 1]];
                    addRect(l, RectMark::Kind::Beam, stemLeft(n), y, stemRight(next) - stemLeft(n),
                            sp(kBeamThickness));
                }
                if (left || right) continue;
                // A partial beam, on its side unless there is no neighbour there.
                const bool pointsRight = m == 0 || (n.beamSide == BeamSide::Right && m + 1 < members.size());
                const auto& neighbour = voice[members[pointsRight ? m + 1 : m - 1]];
                const double room = std::abs(stemRight(neighbour) - stemRight(n)) / 2;
                const double length = std::min(sp(kStubLength), room);
                const double x = pointsRight ? stemLeft(n) : stemRight(n) - length;
                addRect(l, RectMark::Kind::Beam, x, y, length, sp(kBeamThickness));
            }
        }
    }
}

void addTies(NotationLayout& l, const Voice& voice, const std::vector<double>& rowEndX) {
    for (std::size_t i = 0; i + 1 < voice.size(); ++i) {
        const auto& a = voice[i];
        const auto& b = voice[i + 1];
        if (!a.tied || a.rest || b.rest) continue;
        const double from = a.x + headWidth(a) * 0.75;
        const double to = b.x + headWidth(b) * 0.25;
        if (a.row == b.row) {
            l.ties.push_back(TieMark{from, to, lineY(a.row) + sp(kTieDrop), a.row});
        } else {
            // Across a row break: to the bar line, and on from the start of the next row.
            l.ties.push_back(
                TieMark{from, rowEndX[static_cast<std::size_t>(a.row)], lineY(a.row) + sp(kTieDrop), a.row});
            l.ties.push_back(
                TieMark{static_cast<double>(kStaffStartX), to, lineY(b.row) + sp(kTieDrop), b.row});
        }
    }
}

void addTriplets(NotationLayout& l, const Voice& voice) {
    for (std::size_t i = 0; i + 2 < voice.size(); ++i) {
        const auto& first = voice[i];
        const auto& middle = voice[i + 1];
        const auto& third = voice[i + 2];
        if (!first.triplet() || first.tripletMiddle || !middle.tripletMiddle || !third.triplet()) continue;
        const double left = first.x;
        const double right = hasStem(third) ? stemRight(third) : third.x + headWidth(third);
        const double centre = (left + right) / 2;
        const double y = rowTop(first.row) + kTupletLineY;
        l.glyphs.push_back(GlyphMark{Glyph::Tuplet3, centre - sp(kTupletDigitHalfWidth),
                                     y + sp(kTupletDigitMiddle), static_cast<int>(i + 2)});
        // Three notes under a beam of their own need only the number; within a longer beam the
        // bracket shows which notes it counts.
        const int group = first.beamGroup;
        const bool beamed = group != 0 && middle.beamGroup == group && third.beamGroup == group &&
                            (i == 0 || voice[i - 1].beamGroup != group) &&
                            (i + 3 >= voice.size() || voice[i + 3].beamGroup != group);
        if (beamed) continue;
        const double gapLeft = centre - sp(kTupletDigitHalfWidth + kTupletGap);
        const double gapRight = centre + sp(kTupletDigitHalfWidth + kTupletGap);
        const double t = sp(kTupletLineThickness);
        addRect(l, RectMark::Kind::Bracket, left, y, gapLeft - left, t);
        addRect(l, RectMark::Kind::Bracket, gapRight, y, right - gapRight, t);
        addRect(l, RectMark::Kind::Bracket, left, y, t, sp(kTupletHook));
        addRect(l, RectMark::Kind::Bracket, right - t, y, t, sp(kTupletHook));
        i += 2;
    }
}

}  // namespace

Spacing spacingFromSetting(int setting) {
    return static_cast<Spacing>(std::clamp(setting, 0, static_cast<int>(Spacing::FixedSpace)));
}

int noteSpacing(const TRhythmNote& n, Spacing spacing) {
    switch (spacing) {
        case Spacing::TimeProportional:
            return n.duration / 8;
        case Spacing::Mostly:
            return n.duration / 21 + 13;
        case Spacing::Slightly:
            return n.duration / 45 + 15;
        case Spacing::FixedSpace:
            break;
    }
    return 17;
}

NotationLayout LayoutVoice(Voice& voice, const Meter& meter, int width, Spacing spacing) {
    NotationLayout l;
    l.width = width;
    if (voice.empty()) return l;
    l.rows = 1;
    l.timeSignature = TimeSignatureMark{kTimeSignatureX + sp(1.4), lineY(0) - sp(1.0), lineY(0) + sp(1.0),
                                        meter.numerator, meter.denominator};

    int row = 0;
    int x = kFirstNoteX;
    int barStart = kFirstBarStartX;
    double staffStart = kFirstRowStaffStartX;
    std::vector<double> rowEndX;
    int lastBarLine = -1;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        auto& n = voice[i];
        n.x = x;
        n.row = row;
        x += advanceOf(n, spacing);
        if (!n.endsBar) continue;

        const int lineX = x + kBarLineOffset;
        l.bars.push_back(BarPosition{row, barStart, lineX});
        lastBarLine = lineX;
        x += kBarGap;
        barStart = lineX + 1;
        if (i + 1 == voice.size()) break;  // the closing bar line follows
        addBarLine(l, row, lineX, false);
        if (barWidth(voice, i + 1, spacing) + kBarGap > width - lineX) {
            addStaffLine(l, row, staffStart, lineX);
            rowEndX.push_back(lineX);
            ++row;
            x = kFirstNoteX;
            barStart = kFirstBarStartX;
            staffStart = kStaffStartX;
        }
    }
    // The closing bar line: after the last bar, or after the notes of an unfinished one.
    const int endX = voice.back().endsBar ? lastBarLine : x + kBarLineOffset;
    if (!voice.back().endsBar) l.bars.push_back(BarPosition{row, barStart, endX});
    const double finalWidth = sp(kThinBarLine + kBarLineSeparation + kThickBarLine);
    addStaffLine(l, row, staffStart, endX + finalWidth);
    addBarLine(l, row, endX, true);
    rowEndX.push_back(endX);

    for (std::size_t i = 0; i < voice.size(); ++i) addNoteSymbols(l, voice, i);
    addBeams(l, voice);
    addTies(l, voice, rowEndX);
    addTriplets(l, voice);

    l.rows = row + 1;
    l.height = kRowHeight * row + kHeightBelowLastRow;
    return l;
}

}  // namespace kalvintor::rhythm
