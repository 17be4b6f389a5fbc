// This workstation's tap lateness per input kind. It belongs to the machine's keyboard, MIDI
// interface and sound card, so it lives in the local user configuration, not with the shared data.
#pragma once

#include "exercises/rhythm/TapInput.h"

namespace kalvintor::ui::rhythm {

// The offsets in force (read once, then kept with every change).
const kalvintor::rhythm::LatencyOffsets& TapLatency();
// Stores an offset for one kind of tap and puts it in force.
void StoreTapLatency(kalvintor::rhythm::TapSource source, int offsetMs);
// Reads the stored offsets again (a test that changed the configuration location).
void ReloadTapLatency();

}  // namespace kalvintor::ui::rhythm
