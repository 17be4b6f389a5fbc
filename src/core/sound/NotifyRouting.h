// Which window a notification code goes to, on which track, and the code the window receives.
#pragma once

#include <cstdint>
#include <optional>

namespace kalvintor::sound {

// Window handles carried by notifications: the exercise windows by their exercise number, the
// program settings dialog by the MIDI input target it shares, and the main window.
inline constexpr std::uint16_t kWindowIntervalComparison = 3;
inline constexpr std::uint16_t kWindowRhythmImitation = 4;
inline constexpr std::uint16_t kWindowRhythmReading = 5;
inline constexpr std::uint16_t kWindowRhythmCorrection = 6;
inline constexpr std::uint16_t kWindowSettingsDialog = 15;
inline constexpr std::uint16_t kWindowMain = 100;

// Codes 100..120 (by their low byte) reach the main window lowered by this much.
inline constexpr std::uint16_t kMainWindowCodeOffset = 100;

struct NotifyContext {
    bool settingsDialogShown = false;
    std::uint8_t currentExercise = 0;  // 0 = none
};

struct NotifyRoute {
    std::uint8_t track = 0;
    std::uint16_t window = 0;
    std::uint16_t code = 0;  // what the window receives

    friend bool operator==(const NotifyRoute&, const NotifyRoute&) = default;
};

bool IsPitchExercise(std::uint8_t exercise);

// Nothing when the code's low byte belongs to no window, or its window cannot receive it now.
std::optional<NotifyRoute> RouteNotification(std::uint16_t code, const NotifyContext& context);

}  // namespace kalvintor::sound
