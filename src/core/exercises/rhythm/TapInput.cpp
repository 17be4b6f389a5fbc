// Tap lateness, the tap gate and the calibration measurement.
#include "exercises/rhythm/TapInput.h"

#include "exercises/rhythm/NoteValues.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kalvintor::rhythm {

std::int64_t CorrectedTapTime(std::int64_t heardMs, TapSource source, const LatencyOffsets& offsets) {
    return heardMs - offsets.of(source);
}

bool TapGate::Accept(std::int64_t timeMs) {
    if (last_ && timeMs - *last_ < kMinTapGapMs && timeMs >= *last_) return false;
    last_ = timeMs;
    return true;
}

std::int64_t EventStampMapper::ToClock(std::uint64_t stamp, std::int64_t nowMs) {
    if (stamp == 0) return nowMs;
    const std::int64_t sample = nowMs - static_cast<std::int64_t>(stamp);
    if (!offset_ || sample < *offset_ || sample - *offset_ > kMaxEventDelayMs) offset_ = sample;
    return static_cast<std::int64_t>(stamp) + *offset_;
}

namespace {

std::int64_t beatMs(int tempo) {
    return std::int64_t{NoteDurations[kQuarter]} * kTickTempo / std::clamp(tempo, 20, 250);
}

}  // namespace

std::vector<std::int64_t> CalibrationClickTimes(std::int64_t firstClickMs, int tempo) {
    std::vector<std::int64_t> times;
    for (int i = 0; i < kLeadInClicks + kCalibrationClicks; ++i)
        times.push_back(firstClickMs + i * beatMs(tempo));
    return times;
}

LatencyMeasurement MeasureLatency(const std::vector<std::int64_t>& clicks,
                                  const std::vector<std::int64_t>& taps, int tempo) {
    LatencyMeasurement m;
    const std::int64_t half = beatMs(tempo) / 2;
    const std::size_t first = clicks.size() > kCalibrationClicks ? clicks.size() - kCalibrationClicks : 0;
    std::vector<double> deviations;
    for (std::size_t c = first; c < clicks.size(); ++c) {
        std::optional<std::int64_t> best;
        for (std::int64_t t : taps) {
            const std::int64_t d = t - clicks[c];
            if (std::llabs(d) < half && (!best || std::llabs(d) < std::llabs(*best))) best = d;
        }
        if (best) deviations.push_back(static_cast<double>(*best));
    }
    m.matched = static_cast<int>(deviations.size());
    if (deviations.empty()) return m;
    double sum = 0;
    for (double d : deviations) sum += d;
    const double mean = sum / static_cast<double>(deviations.size());
    double squares = 0;
    for (double d : deviations) squares += (d - mean) * (d - mean);
    m.meanMs = static_cast<int>(std::lround(mean));
    m.spreadMs = static_cast<int>(std::lround(std::sqrt(squares / static_cast<double>(deviations.size()))));
    m.valid = m.matched >= kMinMatchedClicks && std::abs(m.meanMs) <= kMaxLatencyMs;
    return m;
}

}  // namespace kalvintor::rhythm
