// Mixes answer sounds into the built-in synthesizer's output without locks in the audio thread.
#pragma once

#include "sound/WaveSound.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace kalvintor::sound {

inline constexpr int kWaveVoices = 4;

class WaveMixer {
public:
    // User-interface side: starts a sound; with every voice busy the oldest is not cut, the new
    // sound is dropped.
    bool Play(std::shared_ptr<const WaveSound> sound);
    // Level 0..255 as the wave-out volume byte.
    void SetLevel(std::uint8_t level) { gain_.store(static_cast<float>(level) / 255.0f); }
    std::uint8_t Level() const;

    // Audio side: adds the playing voices to the two output buffers.
    void Mix(float* left, float* right, int frames);

private:
    enum State : int { kFree = 0, kReady = 1, kPlaying = 2, kDone = 3 };
    struct Voice {
        std::atomic<int> state{kFree};
        std::shared_ptr<const WaveSound> sound;  // touched by the audio side only between kReady and kDone
        std::size_t position = 0;
    };
    std::array<Voice, kWaveVoices> voices_;
    std::atomic<float> gain_{110.0f / 255.0f};
};

}  // namespace kalvintor::sound
