// Synthesis of the answer sounds.
#include "Tones.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kalvintor::mediagen {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFmtChunkSize = 16;
constexpr std::uint32_t kRiffOverhead = 36;
constexpr double kPeak = 0.7;

double Hz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// Adds a struck tone: partials (ratio, level) decaying with the given time constant.
void Strike(std::vector<float>& out, double atSeconds, double midi, double decaySeconds,
            const std::vector<std::pair<double, double>>& partials, double level) {
    const auto start = static_cast<std::size_t>(atSeconds * kRate);
    const double f = Hz(midi);
    for (std::size_t i = start; i < out.size(); ++i) {
        const double t = static_cast<double>(i - start) / kRate;
        const double attack = std::min(1.0, t / 0.004);  // 4 ms, no click
        double v = 0;
        for (auto [ratio, amp] : partials)
            v += amp * std::sin(kTwoPi * f * ratio * t) * std::exp(-t * ratio / decaySeconds);
        out[i] += static_cast<float>(level * attack * v);
    }
}

// Scales to a common peak and fades the last 20 ms out.
std::vector<float> Finish(std::vector<float> x) {
    float peak = 0;
    for (float v : x) peak = std::max(peak, std::fabs(v));
    const auto fade = static_cast<std::size_t>(0.02 * kRate);
    for (std::size_t i = 0; i < x.size(); ++i) {
        double g = peak > 0 ? kPeak / peak : 1.0;
        if (i + fade > x.size()) g *= static_cast<double>(x.size() - i) / static_cast<double>(fade);
        x[i] = static_cast<float>(x[i] * g);
    }
    return x;
}

std::vector<float> Seconds(double s) {
    return std::vector<float>(static_cast<std::size_t>(s * kRate), 0.0f);
}

const std::vector<std::pair<double, double>> kMallet = {{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}};
const std::vector<std::pair<double, double>> kBell = {{1.0, 1.0}, {2.76, 0.5}, {5.4, 0.25}, {8.93, 0.1}};

}  // namespace

std::vector<NamedSound> AnswerSounds() {
    std::vector<NamedSound> sounds;

    // Right: a rising major third, bright and short.
    auto correct = Seconds(0.6);
    Strike(correct, 0.0, 84, 0.25, kMallet, 0.8);
    Strike(correct, 0.09, 88, 0.3, kMallet, 1.0);
    sounds.push_back({"Correct", Finish(correct)});

    // Wrong: two low, dull notes falling a semitone.
    auto wrong = Seconds(0.7);
    const std::vector<std::pair<double, double>> dull = {{1.0, 1.0}, {3.0, 0.3}, {5.0, 0.15}};
    Strike(wrong, 0.0, 50, 0.35, dull, 1.0);
    Strike(wrong, 0.16, 49, 0.4, dull, 1.0);
    sounds.push_back({"Wrong", Finish(wrong)});

    // A bell with inharmonic partials.
    auto bell = Seconds(1.2);
    Strike(bell, 0.0, 81, 0.8, kBell, 1.0);
    sounds.push_back({"Bell", Finish(bell)});

    // A quick major arpeggio.
    auto chime = Seconds(0.8);
    for (int i = 0; i < 3; ++i) Strike(chime, 0.07 * i, 79 + std::array{0, 4, 7}[i], 0.3, kMallet, 0.8);
    sounds.push_back({"Chime", Finish(chime)});

    // A short low buzz: odd partials of a square, quickly damped.
    auto buzz = Seconds(0.4);
    const std::vector<std::pair<double, double>> square = {
        {1, 1.0}, {3, 0.33}, {5, 0.2}, {7, 0.14}, {9, 0.11}};
    Strike(buzz, 0.0, 40, 0.5, square, 1.0);
    sounds.push_back({"Buzz", Finish(buzz)});
    return sounds;
}

std::vector<std::uint8_t> WaveFile(const std::vector<float>& samples) {
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&out](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(t[i]));
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(kRiffOverhead + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(kFmtChunkSize, 4);
    put(kPcmFormat, 2);
    put(1, 2);  // mono
    put(kRate, 4);
    put(kRate * 2, 4);  // bytes per second
    put(2, 2);          // bytes per frame
    put(kBitsPerSample, 2);
    tag("data");
    put(dataBytes, 4);
    for (float v : samples) {
        const auto s = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        put(static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

}  // namespace kalvintor::mediagen
