// The microphone session.
#include "sound/MicSession.h"

#include <cmath>

namespace kalvintor::sound {

namespace {
constexpr double kToneThresholdBase = 196608.0;
constexpr std::uint8_t kMaxSensitivity = 8;
}  // namespace

MicConfigureArguments MicSetupArguments(std::uint8_t rhythmSensitivity, std::uint8_t toneSensitivity,
                                        bool highPrecision) {
    const int r = std::min(rhythmSensitivity, kMaxSensitivity);
    const int t = std::min(toneSensitivity, kMaxSensitivity);
    return {(r + 1) * (r + 1) + 2, static_cast<std::uint8_t>(highPrecision ? 1 : 0),
            kToneThresholdBase * std::ldexp(1.0, t)};
}

void MicSession::MicSetup(const settings::Settings& settings) {
    const MicConfigureArguments a =
        MicSetupArguments(settings.rhythmSensitivity, settings.toneSensitivity, settings.highPrecision);
    component_.MicConfigure(a.rhythmThreshold, a.highPrecision, a.toneThreshold);
}

void MicSession::MicBegin(std::uint8_t exercise) {
    mode_ = exercise;
    if (exercise >= 4 && exercise <= 6) {
        component_.MicStartRhythm();
    } else {
        component_.MicStartTone();
    }
}

void MicSession::MicEnd(const std::function<void()>& processPending) {
    if (mode_ == 0) return;
    mode_ = 0;
    if (processPending) processPending();
    component_.MicStop();
}

std::optional<MicNoteForExercise> MicSession::OnMicNote(std::uint32_t wParam) {
    if (mode_ == 0) return std::nullopt;
    component_.MicAcknowledge();
    std::uint8_t unread = 0;
    const std::uint8_t note = component_.MicGetNote(static_cast<std::uint8_t>(wParam & 0xFF), unread);
    switch (mode_) {
        case 1:
        case 2:
        case 7:
        case 8:
        case 9:
            return MicNoteForExercise{mode_, note};
        default:
            return std::nullopt;
    }
}

std::optional<MicClap> MicSession::OnMicEvent(std::uint32_t wParam, std::int64_t lParam) {
    if (wParam >= kMicClapParam) {
        if (mode_ == 4 || mode_ == 5) return MicClap{mode_, lParam};
        return std::nullopt;
    }
    if (mode_ != 0) component_.MicHandleMessage(wParam);
    return std::nullopt;
}

}  // namespace kalvintor::sound
