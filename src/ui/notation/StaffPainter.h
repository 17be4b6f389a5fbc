// Painting a laid-out grand staff with the Bravura font: brace, clefs, key signature, heads,
// accidentals, ledger and bar lines, step labels, boxed labels and the held note.
#pragma once

#include "notation/StaffPicture.h"

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class QPainter;

namespace kalvintor::ui::notation {

QColor inkColour(kalvintor::notation::Ink ink);

// A boxed text above a note's column: the name of the answer or of the question after judging.
struct ColumnLabel {
    int noteIndex = 0;
    QString text;
    QColor colour;
};

// The note being entered on the notesheet, drawn at its column with its name.
struct HeldMark {
    kalvintor::notation::HeadMark head;
    QString name;
};

// Under the staves: the step and the name of a progression chord whose first note is `noteIndex`.
struct ChordMark {
    int noteIndex = 0;
    QString numeral;
    QString name;
    QColor colour;
};

struct StaffExtras {
    QString keyName;  // written in the gap beside the signature when not empty
    std::vector<ColumnLabel> labels;
    std::vector<ChordMark> chords;
    // Notes (indices into the laid-out notes) sounding right now: a glow behind their heads.
    std::vector<int> lit;
    std::optional<HeldMark> held;
};

// Paints at 1x logical coordinates; the painter's device may have any pixel ratio.
void PaintStaff(QPainter& painter, const kalvintor::notation::StaffPicture& picture,
                const StaffExtras& extras);

}  // namespace kalvintor::ui::notation
