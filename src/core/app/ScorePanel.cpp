// Score panel layout.
#include "app/ScorePanel.h"

#include <algorithm>

namespace kalvintor::app {

bool HasWideScoreLabel(int exercise) {
    switch (exercise) {
    case 1: case 2: case 3: case 7: case 8: case 9: case 10:
        return true;
    default:
        return false;
    }
}

ScorePanelLayout LayOutScorePanel(int w, int h, int exercise, bool totalVisible, int totalWidth) {
    constexpr int kMargin = 3;
    ScorePanelLayout layout;
    if (h < 41) {
        w = std::max(w, 200);
        const int scoreWidth = (w >= 500 || !HasWideScoreLabel(exercise)) ? w / 2 : 2 * w / 3;
        layout.score = {0, 2, scoreWidth, h - 4};
        int next = scoreWidth + 2;
        if (totalVisible) {
            layout.total = {next, 2, totalWidth, h - 4};
            next += totalWidth + 4;
        }
        layout.gauge = {next, kMargin, std::max(0, w - next - kMargin), std::max(0, h - 2 * kMargin)};
        return layout;
    }
    w = std::max(w, 150);
    const int half = h / 2;
    layout.score = {4, 2, w - 8, half - 2};
    int next = 4;
    if (totalVisible) {
        layout.total = {next, half + 2, totalWidth, half - 4};
        next += totalWidth + 4;
    }
    layout.gauge = {next, half + kMargin, std::max(0, w - next - 4), std::max(0, half - 2 * kMargin)};
    return layout;
}

}  // namespace kalvintor::app
