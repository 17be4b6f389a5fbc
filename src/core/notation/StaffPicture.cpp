// Laying out the staff's notes: columns, displaced seconds, accidentals of the measure, ledger
// lines, bar lines and the step labels of scales.
#include "notation/StaffPicture.h"

#include "notation/StaffInput.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kalvintor::notation {

namespace {

// Written pitches of the key-signature symbols on the upper staff, in the order they are added.
constexpr std::array<int, 7> kSharpPlaces{77, 72, 79, 74, 69, 76, 71};
constexpr std::array<int, 7> kFlatPlaces{71, 76, 69, 74, 67, 72, 65};
constexpr int kLowerStaffDrop = 24;  // the same places two octaves lower on the lower staff
constexpr int kEdgeRoom = 50;

int headWidth(const StaffGeometry& g) {
    return static_cast<int>(std::lround(kHeadWidthSpaces * g.spacing));
}

bool onLowerStaff(const pitch::QuestionNote& note, int clefPreference) {
    return clefPreference < 0 || (clefPreference == 0 && note.pitch < 60) || note.addedBass != 0;
}

const char* stepText(int semitones) {
    switch (semitones) {
        case 1:
            return "\u00BD";
        case 2:
            return "1";
        case 3:
            return "1\u00BD";
        default:
            return nullptr;
    }
}

int columnCount(const StaffInputs& in) {
    int ends = 0;
    for (const auto& n : in.notes)
        if (n.note.endMark != 0) ++ends;
    if (in.chordLike) {
        if (in.notes.empty() || in.notes.back().note.endMark == 0) ++ends;
        return ends * 3;
    }
    return static_cast<int>(in.notes.size()) + ends + 1;
}

}  // namespace

int FirstColumnX(int keySig, bool shown) {
    return kKeySigX + (shown ? std::abs(keySig) * kKeySigStep : 0) + 10;
}

StaffPicture LayoutStaff(const StaffInputs& in) {
    StaffPicture p;
    p.geometry = in.geometry;
    p.width = in.width;
    p.linesRight = in.width - kLinesRightMargin;
    const StaffGeometry& g = in.geometry;

    if (in.showKeySignature) {
        const int n = std::min(7, std::abs(in.keySig));
        const auto& places = in.keySig > 0 ? kSharpPlaces : kFlatPlaces;
        for (int k = 0; k < n; ++k) {
            const int x = kKeySigX + k * kKeySigStep;
            const int place = places[static_cast<std::size_t>(k)];
            const int alteration = in.keySig > 0 ? 1 : -1;
            p.keySignature.push_back({x, g.noteY(place, false), alteration});
            p.keySignature.push_back({x, g.noteY(place - kLowerStaffDrop, true), alteration});
        }
    }
    p.firstColumnX = FirstColumnX(in.keySig, in.showKeySignature);
    const int free = p.linesRight - p.firstColumnX;
    p.columnStep = std::min(46, std::max(25, free / std::max(1, columnCount(in))));
    const int step = p.columnStep;
    const int head = headWidth(g);

    MeasureAccidentals measure(in.showKeySignature ? in.keySig : 0);
    int column = in.chordLike ? p.firstColumnX + step : p.firstColumnX + step / 2;
    bool offScreen = false;
    bool chordStart = true;
    int chordFirst = 0;
    int signLevel = 0;
    // The height of the last sign of the column; no sign yet while haveSign is false.
    int lastSignY = 0;
    bool haveSign = false;
    p.columnX.assign(in.notes.size(), -1);

    for (std::size_t i = 0; i < in.notes.size(); ++i) {
        const auto& n = in.notes[i].note;
        if (offScreen) continue;
        if (chordStart) {
            chordFirst = static_cast<int>(i);
            haveSign = false;
            signLevel = 0;
        }
        HeadMark h;
        h.index = static_cast<int>(i);
        h.lowerStaff = onLowerStaff(n, in.clefPreference);
        h.y = g.noteY(n.pitch + n.spellOffset, h.lowerStaff);
        h.noteValue = n.noteValue;
        h.ink = in.notes[i].ink;
        const int middle = h.lowerStaff ? g.lowerTop() + 2 * g.spacing : g.top + 2 * g.spacing;
        h.stemDown = h.y <= middle;
        if (in.chordLike && !chordStart && !p.heads.empty()) {
            const HeadMark& before = p.heads.back();
            const auto& first = in.notes[static_cast<std::size_t>(chordFirst)].note;
            const bool hasNext = i + 1 < in.notes.size() && n.endMark == 0;
            const std::size_t chordSize = [&] {
                std::size_t k = static_cast<std::size_t>(chordFirst);
                while (k < in.notes.size() && in.notes[k].note.endMark == 0) ++k;
                return std::min(k, in.notes.size() - 1) - static_cast<std::size_t>(chordFirst) + 1;
            }();
            // A second is moved aside; so is the fourth of a cluster such as C-F-G.
            const bool second = before.lowerStaff == h.lowerStaff && before.y - h.y < g.spacing;
            const bool cluster = chordSize > 2 && n.pitch - first.pitch == 5 && hasNext &&
                                 in.notes[i + 1].note.pitch - n.pitch == 2;
            h.displaced = !before.displaced && (second || cluster);
        }
        h.x = column - head / 2 + (h.displaced ? kDisplacement : 0);
        const auto ledger = LedgerLines(n, h.lowerStaff, in.keySig);
        h.ledgerCount = ledger.count;
        h.ledgerAbove = ledger.above;
        if (const auto sign = measure.Sign(n)) {
            if (in.chordLike && haveSign && std::abs(lastSignY - h.y) < 3 * g.spacing)
                signLevel = std::min(signLevel + 1, 2);
            else
                signLevel = 0;
            lastSignY = h.y;
            haveSign = true;
            // x is where the sign ends: just left of the column's heads.
            const int gap = std::max(2, static_cast<int>(std::lround(kSignGapSpaces * g.spacing)));
            h.sign = SignMark{column - head / 2 - gap - signLevel * kAccidentalStagger, h.y, *sign};
        }
        p.columnX[i] = column;
        p.heads.push_back(h);

        chordStart = !in.chordLike;
        if (!in.chordLike) column += step;
        if (n.endMark != 0) {
            const int barX = in.chordLike ? column + step : column - step / 2 + 2;
            column = in.chordLike ? column + 2 * step : column + 3;
            p.bars.push_back({barX, n.endMark == pitch::kEndOfQuestion});
            measure.NewMeasure();
            chordStart = true;
        }
        // What does not fit before the right edge is placed beyond it and not shown.
        if (column > p.linesRight - kEdgeRoom) offScreen = true;
    }

    if (in.stepLabels) {
        for (std::size_t i = 0; i + 1 < in.notes.size(); ++i) {
            const auto& a = in.notes[i].note;
            const auto& b = in.notes[i + 1].note;
            if (a.endMark != 0 || p.columnX[i] < 0 || p.columnX[i + 1] < 0) continue;
            const char* text = stepText(std::abs(b.pitch - a.pitch));
            if (!text) continue;
            const bool sameSide = (a.pitch < 60) == (b.pitch < 60);
            const int y = sameSide ? g.gapMiddle() : g.lowerBottom() + 2 * g.spacing;
            p.stepLabels.push_back({(p.columnX[i] + p.columnX[i + 1]) / 2, y, text});
        }
    }
    return p;
}

HeadMark HeldNoteMark(const StaffGeometry& g, const pitch::QuestionNote& note, int x, bool lowerStaff,
                      int keySig, bool keySignatureShown) {
    HeadMark h;
    h.ink = Ink::Held;
    h.lowerStaff = lowerStaff;
    h.y = g.noteY(note.pitch + note.spellOffset, lowerStaff);
    const int head = headWidth(g);
    h.x = x - head / 2;
    const auto ledger = LedgerLines(note, lowerStaff, keySig);
    h.ledgerCount = ledger.count;
    h.ledgerAbove = ledger.above;
    MeasureAccidentals measure(keySignatureShown ? keySig : 0);
    if (const auto sign = measure.Sign(note)) h.sign = SignMark{x - head / 2 - 2, h.y, *sign};
    return h;
}

std::optional<int> NoteNear(const StaffPicture& picture, int x, int y) {
    const int head = headWidth(picture.geometry);
    for (const auto& h : picture.heads) {
        if (h.ink == Ink::Question || h.ink == Ink::Held) continue;
        if (std::abs(h.x + head / 2 - x) <= 7 && std::abs(h.y - y) <= 4) return h.index;
    }
    return std::nullopt;
}

bool InClefArea(const StaffPicture& picture, int x, int y) {
    const auto& g = picture.geometry;
    return x < picture.firstColumnX && y >= g.top && y <= g.lowerBottom();
}

}  // namespace kalvintor::notation
