// Notesheet input: the spelled pitch under the mouse, alterations by dragging or by the keys
// Z X C V B, and the notes' ledger lines.
#pragma once

#include "exercises/pitch/Question.h"
#include "notation/StaffGeometry.h"

#include <optional>

namespace kalvintor::notation {

// Which staff notesheet input uses: +-2 fixed, +-1 chosen by the press that started the entry,
// 0 free (chosen by the height of the press).
struct InputStaff {
    int choice = 0;
    bool upper(int y, const StaffGeometry& g) const {
        if (choice != 0) return choice > 0;
        return y < g.gapMiddle();
    }
};

struct PitchRange {
    int lowest = 36;
    int highest = 108;
};

// The written pitch at (x, y) with the key signature applied (when shown), then the alteration
// (-2..+2) added. The note's spelling follows: a sharp of the signature gives SpellOffset -1.
pitch::QuestionNote PitchAtPoint(int y, bool upperStaff, const StaffGeometry& g, const PitchRange& range,
                                 int keySig, bool keySignatureShown, int alteration);

// The alteration chosen by the keys Z X C V B, or none for any other key.
std::optional<int> AlterationKey(char key);

// While dragging: the horizontal distance from the anchor chooses the alteration; beyond +-80
// pixels the anchor follows the mouse.
struct DragAlteration {
    int anchorX = 0;
    int alteration = 0;
};
DragAlteration DragToAlteration(int anchorX, int x);

// Ledger lines of a note on its staff.
struct LedgerLineCount {
    int count = 0;
    bool above = false;
};
LedgerLineCount LedgerLines(const pitch::QuestionNote& note, bool lowerStaff, int keySig);

// The accidental rule of a measure: which alteration each written pitch carries so far,
// starting from the key signature.
class MeasureAccidentals {
public:
    explicit MeasureAccidentals(int keySig = 0);
    // The sign a note needs (-2..+2, 0 = natural), or none when the signature and the earlier notes
    // of the measure already imply its alteration. Records it for the notes after it.
    std::optional<int> Sign(const pitch::QuestionNote& note);
    void NewMeasure();

private:
    int implied(int naturalPitch) const;
    int keySig_;
    std::array<int, 128> written_{};
    std::array<bool, 128> set_{};
};

}  // namespace kalvintor::notation
