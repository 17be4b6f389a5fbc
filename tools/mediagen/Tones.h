// The answer sounds, synthesized: each a short mono signal at 44.1 kHz.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalvintor::mediagen {

inline constexpr int kRate = 44100;

struct NamedSound {
    std::string name;  // file name without ".wav", as the settings store it
    std::vector<float> samples;
};

std::vector<NamedSound> AnswerSounds();

// A 16-bit PCM mono wave file.
std::vector<std::uint8_t> WaveFile(const std::vector<float>& samples);

}  // namespace kalvintor::mediagen
