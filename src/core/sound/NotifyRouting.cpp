// The notification routing table.
#include "sound/NotifyRouting.h"

#include "sound/SeqEvent.h"

namespace kalvintor::sound {

bool IsPitchExercise(std::uint8_t exercise) {
    switch (exercise) {
        case 1:
        case 2:
        case 7:
        case 8:
        case 9:
        case 10:
            return true;
        default:
            return false;
    }
}

std::optional<NotifyRoute> RouteNotification(std::uint16_t code, const NotifyContext& context) {
    const int low = code & 0xFF;
    if (low >= 1 && low <= 2) {
        if (!context.settingsDialogShown) return std::nullopt;
        return NotifyRoute{kClickTrack, kWindowSettingsDialog, code};
    }
    if (low >= 10 && low <= 19) return NotifyRoute{kClickTrack, kWindowRhythmImitation, code};
    if (low >= 20 && low <= 29) return NotifyRoute{kClickTrack, kWindowRhythmReading, code};
    if (low >= 30 && low <= 39) return NotifyRoute{kClickTrack, kWindowRhythmCorrection, code};
    if (low >= 40 && low <= 49) return NotifyRoute{kQuestionTrack, kWindowIntervalComparison, code};
    if (low >= 50 && low <= 59) {
        if (!IsPitchExercise(context.currentExercise)) return std::nullopt;
        return NotifyRoute{kQuestionTrack, context.currentExercise, code};
    }
    if (low >= 100 && low <= 120) {
        return NotifyRoute{kClickTrack, kWindowMain,
                           static_cast<std::uint16_t>(code - kMainWindowCodeOffset)};
    }
    return std::nullopt;
}

}  // namespace kalvintor::sound
