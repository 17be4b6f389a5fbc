// Microphone sample conditioning.
#include "sound/MicFilters.h"

#include <cmath>
#include <numbers>

namespace kalvintor::sound {

namespace {
// Two Butterworth sections (Q of a fourth-order Butterworth).
constexpr double kButterworthQ1 = 0.5412;
constexpr double kButterworthQ2 = 1.3066;
// Narrow enough to leave G2, B2 and D3 (2–4 Hz from 100, 120 and 150 Hz) nearly untouched; what
// they ring on after a note is left to the release of the note tracker.
constexpr double kNotchQ = 30.0;
constexpr double kMainsHz[] = {50.0, 60.0};
}  // namespace

Biquad Biquad::HighPass(double hz, double q, double rate) {
    const double w = 2 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    const double a0 = 1 + alpha;
    Biquad b;
    b.b0_ = (1 + c) / 2 / a0;
    b.b1_ = -(1 + c) / a0;
    b.b2_ = (1 + c) / 2 / a0;
    b.a1_ = -2 * c / a0;
    b.a2_ = (1 - alpha) / a0;
    return b;
}

Biquad Biquad::Notch(double hz, double q, double rate) {
    const double w = 2 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    const double a0 = 1 + alpha;
    Biquad b;
    b.b0_ = 1 / a0;
    b.b1_ = -2 * c / a0;
    b.b2_ = 1 / a0;
    b.a1_ = -2 * c / a0;
    b.a2_ = (1 - alpha) / a0;
    return b;
}

HumFilter::HumFilter(double rate) {
    std::size_t i = 0;
    sections_[i++] = Biquad::HighPass(kHighPassHz, kButterworthQ1, rate);
    sections_[i++] = Biquad::HighPass(kHighPassHz, kButterworthQ2, rate);
    for (double mains : kMainsHz) {
        for (int harmonic = 1; harmonic <= 3; ++harmonic) {
            sections_[i++] = Biquad::Notch(mains * harmonic, kNotchQ, rate);
        }
    }
}

void RateConverter::Reset(double fromRate, double toRate) {
    step_ = fromRate / toRate;
    position_ = 0;
    previous_ = 0;
    started_ = false;
}

void RateConverter::Convert(const float* in, std::size_t count, std::vector<float>& out) {
    for (std::size_t i = 0; i < count; ++i) {
        const float current = in[i];
        if (!started_) {
            // The first sample stands at position 0: output begins with it.
            previous_ = current;
            started_ = true;
            continue;
        }
        // Output samples between previous_ (0) and current (1).
        while (position_ < 1.0) {
            out.push_back(static_cast<float>(previous_ + (current - previous_) * position_));
            position_ += step_;
        }
        position_ -= 1.0;
        previous_ = current;
    }
}

}  // namespace kalvintor::sound
