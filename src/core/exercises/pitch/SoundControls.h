// The piano panel's sound controls: stepping the piano's program and velocity.
#pragma once

#include "settings/SettingRecord.h"

namespace kalvintor::pitch {

inline constexpr int kVelocityStep = 5;

// The voice after `programSteps` steps of the program (kept within 0..127) and `velocitySteps`
// steps of kVelocityStep of the velocity (kept within 0..127, so its ends are reached).
settings::TSoundRec StepVoice(settings::TSoundRec voice, int programSteps, int velocitySteps);

}  // namespace kalvintor::pitch
