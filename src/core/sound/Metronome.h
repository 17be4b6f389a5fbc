// The free-running metronome: its sound and the beat grid it clicks on.
#pragma once

#include "settings/SettingRecord.h"

namespace kalvintor::sound {

struct MetronomeSettings {
    bool on = false;
    double periodMs = 672.0;  // one quarter note at the current tempo
    settings::TSoundRec click{9, 0, 110, 37};
    settings::TSoundRec firstBeat{9, 0, 125, 56};  // the first beat of a bar a playback marks
};

// How long a click's note sounds before its note-off.
inline constexpr double kClickLengthMs = 60.0;

// Beats every period through the anchor (the start of the latest playback, or the moment the
// metronome was switched on). While a playback marks its own beats (beat notices) the metronome
// clicks on those instead, accenting each bar's first; where the playback sounds clicks of its own
// it keeps quiet, so they are never doubled. Afterwards the grid resumes in step.
class MetronomeGrid {
public:
    MetronomeGrid() = default;
    MetronomeGrid(double anchorMs, double periodMs) : anchorMs_(anchorMs), periodMs_(periodMs) {}

    // Silences the beats in [fromMs, untilMs]: the caller's own clicks sound there.
    void Mute(double fromMs, double untilMs);
    // The first beat at or after atMs that is not muted.
    double NextClick(double atMs) const;
    double PeriodMs() const { return periodMs_; }

private:
    double anchorMs_ = 0;
    double periodMs_ = 672.0;
    double muteFromMs_ = 0;
    double muteUntilMs_ = -1;
};

}  // namespace kalvintor::sound
