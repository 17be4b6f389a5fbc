// Conditioning of microphone samples before analysis: a rate converter to the analysis rate, and
// the filters that take rumble, DC and mains hum away.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kalvintor::sound {

// One second-order section (direct form I, coefficients normalised by a0).
class Biquad {
public:
    static Biquad HighPass(double hz, double q, double rate);
    static Biquad Notch(double hz, double q, double rate);
    float Process(float x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return static_cast<float>(y);
    }
    void Reset() { x1_ = x2_ = y1_ = y2_ = 0; }

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A fourth-order high-pass below the lowest sung note (it also removes any DC offset), and
// narrow notches at 50 and 60 Hz and their second and third harmonics.
class HumFilter {
public:
    static constexpr double kHighPassHz = 65.0;
    explicit HumFilter(double rate);
    float Process(float x) {
        x = sections_[1].Process(sections_[0].Process(x));
        highPassed_ = x;
        for (std::size_t i = 2; i < sections_.size(); ++i) x = sections_[i].Process(x);
        return x;
    }
    // The latest sample before the notches: it still holds the hum, but never the notches' own
    // ringing once a sound near their frequencies stops.
    float HighPassed() const { return highPassed_; }
    void Reset() {
        for (Biquad& b : sections_) b.Reset();
        highPassed_ = 0;
    }

private:
    std::array<Biquad, 8> sections_;  // the two high-pass sections first
    float highPassed_ = 0;
};

// Converts a stream at another rate to the analysis rate by linear interpolation (what a capture
// device at 48 or 32 kHz delivers needs no more for pitch and onsets).
class RateConverter {
public:
    void Reset(double fromRate, double toRate);
    bool Converting() const { return step_ != 1.0; }
    // Appends the converted samples of `in` to `out`.
    void Convert(const float* in, std::size_t count, std::vector<float>& out);

private:
    double step_ = 1.0;    // input samples per output sample
    double position_ = 0;  // of the next output sample, relative to `previous_`
    float previous_ = 0;
    bool started_ = false;
};

}  // namespace kalvintor::sound
