// The visual metronome's layout.
#include "app/VisualMetronome.h"

namespace kalvintor::app {

VisualMetronomeFrame DrawVisualMetronome(int beat, int beats, int w, int h, bool& pictureFlag) {
    VisualMetronomeFrame frame;
    if (beat != 0) {
        frame.pictureCell = pictureFlag ? 1 : 0;
        pictureFlag = !pictureFlag;
    }
    frame.pictureX = (w - 46) / 2;
    if (beats <= 0) return frame;
    const int m = 6 * ((beats < 6 ? 1 : 0) + (beats < 4 ? 1 : 0)) + (beats < 3 ? 5 : 2);
    const int s = (w - 2 * m) / beats;
    for (int i = 1; i <= beats; ++i) {
        DotColour colour = DotColour::Silver;
        if (beat != 0) {
            if (i == 1 && beat == 1) colour = DotColour::BrightGreen;
            else if (i == beat) colour = DotColour::DarkGreen;
        }
        frame.dots.push_back({(i - 1) * s + m + 1, h - s + 2, i * s + m - 1, h, colour});
    }
    return frame;
}

}  // namespace kalvintor::app
