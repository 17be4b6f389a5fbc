// Geometry of the visual metronome: the pendulum picture and a dot per beat of the bar.
#pragma once

#include <vector>

namespace kalvintor::app {

enum class DotColour { Silver, BrightGreen, DarkGreen };

struct MetronomeDot {
    int left, top, right, bottom;  // the box of the filled circle
    DotColour colour;
};

struct VisualMetronomeFrame {
    int pictureCell = 2;  // 0 and 1 the swinging pendulum, 2 at rest
    int pictureX = 0;
    int pictureY = 1;
    std::vector<MetronomeDot> dots;
};

// One paint of the visual metronome in a box of w × h for a beat notice (beat 1 = the first beat
// of the bar, 0 = no beat). `pictureFlag` chooses the pendulum picture of a beat and flips with it.
VisualMetronomeFrame DrawVisualMetronome(int beat, int beats, int w, int h, bool& pictureFlag);

}  // namespace kalvintor::app
