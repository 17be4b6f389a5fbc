// Keeps the audio libraries from printing pages of diagnostics on machines without sound hardware.
#pragma once

namespace kalvintor::sound {

// Installs a quiet handler for ALSA and keeps JACK from starting a server (once; safe to call
// often).
void QuietAudioLibraries();
// The same, and a quiet log for FluidSynth, which it opens: only where the synthesizer is set up.
void QuietSynthLibraries();

}  // namespace kalvintor::sound
