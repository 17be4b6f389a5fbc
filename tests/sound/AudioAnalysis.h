// Analysis of rendered audio for tests and benchmarks: pitch energies and note onsets.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kalvintor::sound::analysis {

inline double MidiFrequency(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Energy at one frequency over a Hann-windowed stretch (Goertzel).
inline double EnergyAt(const std::vector<float>& x, std::size_t from, std::size_t count, double hz,
                       double sampleRate) {
    const double w = 2.0 * std::numbers::pi * hz / sampleRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < count && from + i < x.size(); ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) /
                                                 static_cast<double>(count));
        const double s = x[from + i] * hann + coeff * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return s1 * s1 + s2 * s2 - coeff * s1 * s2;
}

// The first sample at or after `from` whose magnitude exceeds `threshold`; x.size() when none.
inline std::size_t FirstAbove(const std::vector<float>& x, std::size_t from, float threshold) {
    for (std::size_t i = from; i < x.size(); ++i) {
        if (std::fabs(x[i]) > threshold) return i;
    }
    return x.size();
}

// Onset times (ms) of the notes expected at `expectedMs`: the first sample above a fraction of the
// loudest sample, searched from a little before each expected time.
inline std::vector<double> FindOnsets(const std::vector<float>& x, const std::vector<double>& expectedMs,
                                      double sampleRate, double searchBeforeMs = 15.0) {
    float peak = 0;
    for (float v : x) peak = std::max(peak, std::fabs(v));
    std::vector<double> onsets;
    for (double t : expectedMs) {
        const double fromMs = std::max(0.0, t - searchBeforeMs);
        const auto from = static_cast<std::size_t>(fromMs * sampleRate / 1000.0);
        const std::size_t at = FirstAbove(x, from, peak * 0.02f);
        onsets.push_back(static_cast<double>(at) * 1000.0 / sampleRate);
    }
    return onsets;
}

}  // namespace kalvintor::sound::analysis
