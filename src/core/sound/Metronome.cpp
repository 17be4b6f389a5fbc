// The metronome's beat grid.
#include "sound/Metronome.h"

#include <cmath>

namespace kalvintor::sound {

void MetronomeGrid::Mute(double fromMs, double untilMs) {
    muteFromMs_ = fromMs;
    // Half a beat of room, so a caller's last click that lands slightly off the grid is not
    // followed by a metronome beat right after it.
    muteUntilMs_ = untilMs + periodMs_ / 2;
}

double MetronomeGrid::NextClick(double atMs) const {
    // A beat that falls within a microsecond of atMs counts as at atMs: rounding must not skip it.
    constexpr double kSlackMs = 1e-3;
    double beats = std::ceil((atMs - anchorMs_ - kSlackMs) / periodMs_);
    double t = anchorMs_ + beats * periodMs_;
    if (t >= muteFromMs_ - kSlackMs && t <= muteUntilMs_) {
        beats = std::ceil((muteUntilMs_ - anchorMs_) / periodMs_);
        t = anchorMs_ + beats * periodMs_;
        if (t <= muteUntilMs_) t += periodMs_;
    }
    return t;
}

}  // namespace kalvintor::sound
