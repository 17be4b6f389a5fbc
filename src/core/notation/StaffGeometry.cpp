// The grand staff's geometry: spacing and top for the box, and note positions.
#include "notation/StaffGeometry.h"

#include "theory/Tables.h"

#include <algorithm>

namespace kalvintor::notation {

using theory::floorDiv;
using theory::floorMod;

int DiatonicNumber(int naturalPitch) {
    return floorDiv(naturalPitch, 12) * 7 +
           theory::SharpSteps[static_cast<std::size_t>(floorMod(naturalPitch, 12))].step;
}

int StaffGeometry::noteY(int naturalPitch, bool lowerStaff) const {
    const int d = DiatonicNumber(naturalPitch);
    const int half = spacing / 2;
    return lowerStaff ? lowerTop() + (DiatonicNumber(kLowerTopPitch) - d) * half
                      : top + (DiatonicNumber(kUpperTopPitch) - d) * half;
}

StaffGeometry StaffLayout(int boxHeight, int highestPitch, bool progression, int clefPreference) {
    StaffGeometry g;
    // High questions need room above the staff for their ledger lines.
    const int needed = std::max(progression ? 180 : 162, (30 * highestPitch - 2520) / 8 + 162);
    g.setSpacing(needed < boxHeight ? 10 : 8);
    if (boxHeight < 10 * g.spacing + g.gap) {
        g.top =
            clefPreference < 0 ? boxHeight * 2 / 3 - 6 * g.spacing - g.gap : boxHeight / 2 - 2 * g.spacing;
    } else if (progression) {
        g.top = ((std::min(highestPitch, 84) * 2 - 168) / 7) * g.spacing +
                (boxHeight - 8 * g.spacing - g.gap) / 3;
    } else {
        g.top = (boxHeight - 8 * g.spacing - g.gap) * 2 / 3;
    }
    return g;
}

}  // namespace kalvintor::notation
