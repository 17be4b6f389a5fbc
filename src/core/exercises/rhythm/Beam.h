// Beaming of a voice: which short notes share a beam, where partial beams point, and the ties
// that a rest breaks.
#pragma once

#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/RhythmNote.h"

namespace kalvintor::rhythm {

// Sets beamGroup and beamSide of every note of `voice` and removes ties into rests. Eighths and
// shorter are beamed within a beat group (group 1's length) and never across a bar line; quarter
// and longer notes break a beam, rests inside a beam do not.
void Beam(Voice& voice, const Meter& meter);

}  // namespace kalvintor::rhythm
