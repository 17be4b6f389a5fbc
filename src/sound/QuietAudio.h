// Keeps the audio libraries from printing pages of diagnostics on machines without sound hardware.
#pragma once

namespace kalvintor::sound {

// Installs quiet handlers for ALSA and FluidSynth's log (once; safe to call often).
void QuietAudioLibraries();

}  // namespace kalvintor::sound
