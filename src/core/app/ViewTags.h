// Command tags of the main window: view × 256 + exercise, and their decoding.
#pragma once

namespace kalvintor::app {

inline constexpr int kViewExercise = 1;
inline constexpr int kViewSetup = 2;
inline constexpr int kViewResults = 3;
inline constexpr int kViewUserOverview = 4;

inline constexpr int kTagOverview = 511;
inline constexpr int kTagTutor = 4352;
inline constexpr int kTagTutorEditor = 8704;

struct ViewChoice {
    int exercise = 0;
    int view = 1;
    friend bool operator==(const ViewChoice&, const ViewChoice&) = default;
};

// Exercise := tag mod 256 (0 keeps the current exercise, 255 means the overview);
// view := (tag div 256) mod 16, or the current view when that is 0.
ViewChoice DecodeTag(int tag, int currentExercise, int currentView);

constexpr int MakeTag(int view, int exercise) { return view * 256 + exercise; }

}  // namespace kalvintor::app
