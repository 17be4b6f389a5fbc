// Stepping a voice's program and velocity within the MIDI range.
#include "exercises/pitch/SoundControls.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::pitch {

settings::TSoundRec StepVoice(settings::TSoundRec voice, int programSteps, int velocitySteps) {
    const int program = std::clamp(static_cast<int>(voice.program) + programSteps, 0, sound::kMaxDataValue);
    const int velocity =
        std::clamp(static_cast<int>(voice.velocity) + velocitySteps * kVelocityStep, 0, sound::kMaxDataValue);
    voice.program = static_cast<std::uint16_t>(program);
    voice.velocity = static_cast<std::uint16_t>(velocity);
    return voice;
}

}  // namespace kalvintor::pitch
