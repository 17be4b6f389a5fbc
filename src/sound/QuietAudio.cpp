// Quiet handlers for the audio libraries.
#include "sound/QuietAudio.h"

#include <alsa/asoundlib.h>
#include <fluidsynth.h>

#include <cstdlib>
#include <mutex>

namespace kalvintor::sound {

namespace {

// ALSA's handler is variadic C; it only needs to swallow the message.
void IgnoreAlsa(const char*, int, const char*, int, const char*, ...) {}

void IgnoreFluid(int, const char*, void*) {}

}  // namespace

void QuietAudioLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The program must never start an audio server of its own; an existing one is used.
        setenv("JACK_NO_START_SERVER", "1", 0);
        snd_lib_error_set_handler(&IgnoreAlsa);
    });
}

void QuietSynthLibraries() {
    QuietAudioLibraries();
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, &IgnoreFluid, nullptr);
        }
    });
}

}  // namespace kalvintor::sound
