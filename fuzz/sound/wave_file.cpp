// Fuzz target: wave files decoded for the answer-sound mixer.
#include "sound/WaveSound.h"

#include <cmath>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kalvintor::sound::WaveLoad load = kalvintor::sound::DecodeWave(std::span(data, size), 44100.0);
    if (load.sound != nullptr) {
        // Whatever the file held, the mixer gets stereo samples within ±1.
        if (load.sound->frames.size() % 2 != 0) __builtin_trap();
        for (float v : load.sound->frames) {
            if (!(std::fabs(v) <= 1.0f)) __builtin_trap();
        }
    }
    return 0;
}
