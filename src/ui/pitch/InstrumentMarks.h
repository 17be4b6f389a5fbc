// What the piano and the guitar mark: the answer's notes in their inks and the held note.
#pragma once

#include "notation/StaffPicture.h"

#include <QString>

#include <vector>

namespace kalvintor::ui {

struct InstrumentMark {
    int shownPitch = 0;  // the pitch as the instrument shows it (display shift taken off)
    int guitarString = 0;
    kalvintor::notation::Ink ink = kalvintor::notation::Ink::Pending;
    bool lit = false;  // sounding right now (the light display)
};

struct InstrumentHeld {
    int shownPitch = 0;  // 0 = none
    int guitarString = 0;
    QString name;
};

}  // namespace kalvintor::ui
