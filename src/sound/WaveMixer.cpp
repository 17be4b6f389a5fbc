// The answer-sound mixer.
#include "sound/WaveMixer.h"

#include <cmath>

namespace kalvintor::sound {

bool WaveMixer::Play(std::shared_ptr<const WaveSound> sound) {
    if (sound == nullptr || sound->FrameCount() == 0) return false;
    for (Voice& v : voices_) {
        int state = v.state.load(std::memory_order_acquire);
        if (state == kDone) {
            v.sound.reset();  // freed here, never in the audio thread
            v.state.store(kFree, std::memory_order_release);
            state = kFree;
        }
        if (state != kFree) continue;
        v.sound = std::move(sound);
        v.position = 0;
        v.state.store(kReady, std::memory_order_release);
        return true;
    }
    return false;
}

std::uint8_t WaveMixer::Level() const {
    return static_cast<std::uint8_t>(std::lround(gain_.load() * 255.0f));
}

void WaveMixer::Mix(float* left, float* right, int frames) {
    const float gain = gain_.load(std::memory_order_relaxed);
    for (Voice& v : voices_) {
        int state = v.state.load(std::memory_order_acquire);
        if (state == kReady) state = kPlaying;
        if (state != kPlaying) continue;
        const std::vector<float>& data = v.sound->frames;
        const std::size_t total = v.sound->FrameCount();
        for (int i = 0; i < frames && v.position < total; ++i, ++v.position) {
            left[i] += data[v.position * 2] * gain;
            right[i] += data[v.position * 2 + 1] * gain;
        }
        v.state.store(v.position >= total ? kDone : kPlaying, std::memory_order_release);
    }
}

}  // namespace kalvintor::sound
