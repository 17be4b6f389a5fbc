// Layout of the score panel: the score label, the "Total" label and the gauge.
#pragma once

namespace kalvintor::app {

struct PanelRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

struct ScorePanelLayout {
    PanelRect score;  // Label15
    PanelRect total;  // Label4 "Total", when visible
    PanelRect gauge;  // Gauge15
};

// The pitch exercises and interval comparison get the wider score label in a narrow one-row panel.
bool HasWideScoreLabel(int exercise);

// Lays the panel out for a client size of w × h. One row when h < 41, else two.
// `totalWidth` is the width of the "Total" text; `totalVisible` is true for exercises 4, 5 and 6.
ScorePanelLayout LayOutScorePanel(int w, int h, int exercise, bool totalVisible, int totalWidth);

}  // namespace kalvintor::app
