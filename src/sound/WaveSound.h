// Wave files decoded for the mixer: stereo float frames at the output's sample rate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace kalvintor::sound {

enum class WaveError { None, Missing, NotAudio, Empty };

struct WaveSound {
    std::vector<float> frames;  // interleaved left, right
    std::size_t FrameCount() const { return frames.size() / 2; }
};

struct WaveLoad {
    std::shared_ptr<const WaveSound> sound;  // null on error
    WaveError error = WaveError::None;
};

// Longest answer sound the mixer accepts, so a huge file cannot exhaust memory.
inline constexpr double kMaxWaveSeconds = 30.0;

WaveLoad LoadWaveFile(const std::filesystem::path& file, double sampleRate);
WaveLoad DecodeWave(std::span<const std::uint8_t> bytes, double sampleRate);

}  // namespace kalvintor::sound
