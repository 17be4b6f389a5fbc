// The program's side of the microphone component: setting it up from the settings, starting and
// ending detection for an exercise, and what messages 1281 and 1282 mean.
#pragma once

#include "settings/SettingRecord.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace kalvintor::sound {

// wParam of message 1282 from this value on is a clap; below it, a message of the component's own.
inline constexpr std::uint32_t kMicClapParam = 999;

// The microphone component's operations.
class MicComponent {
public:
    virtual ~MicComponent() = default;
    virtual int MicOpen() = 0;  // > 0: ready
    virtual void MicConfigure(std::int32_t rhythmThreshold, std::uint8_t highPrecision,
                              double toneThreshold) = 0;
    virtual void MicStartTone() = 0;
    virtual void MicStartRhythm() = 0;
    virtual void MicStop() = 0;
    virtual void MicAcknowledge() = 0;
    virtual std::uint8_t MicGetNote(std::uint8_t lowByte, std::uint8_t& unread) = 0;
    virtual void MicHandleMessage(std::uint32_t wParam) = 0;
    virtual void MicClose() = 0;
};

struct MicConfigureArguments {
    std::int32_t rhythmThreshold = 0;
    std::uint8_t highPrecision = 0;
    double toneThreshold = 0;

    friend bool operator==(const MicConfigureArguments&, const MicConfigureArguments&) = default;
};

// Sensitivities 0..8, 0 = high: ((r + 1)² + 2, flag, 196608 × 2^t).
MicConfigureArguments MicSetupArguments(std::uint8_t rhythmSensitivity, std::uint8_t toneSensitivity,
                                        bool highPrecision);

// The level the microphone hears (dB below full scale) and its state, as the exercise windows show
// them while detection runs.
inline constexpr double kMicSilentDb = -120.0;
struct MicReading {
    enum class State {
        Off,        // no detection running
        Listening,  // samples arrive
        NoSignal,   // only zeros: a muted or dead input
        Clipping,   // overdriven
        Lost,       // the device went away; switching the microphone on again reopens it
    } state = State::Off;
    double levelDb = kMicSilentDb;
};

struct MicNoteForExercise {
    std::uint8_t exercise = 0;
    std::uint8_t note = 0;
};

struct MicClap {
    std::uint8_t exercise = 0;  // 4 or 5
    std::int64_t timeMs = 0;
};

class MicSession {
public:
    explicit MicSession(MicComponent& component) : component_(component) {}

    // At switch-on after MicOpen, and when the program settings are accepted.
    void MicSetup(const settings::Settings& settings);
    // Rhythm detection for exercises 4..6, tone detection for the others.
    void MicBegin(std::uint8_t exercise);
    // `processPending` runs the messages already posted before detection stops.
    void MicEnd(const std::function<void()>& processPending);
    std::uint8_t MicMode() const { return mode_; }

    // Message 1281: acknowledges it and gives the note to a pitch exercise.
    std::optional<MicNoteForExercise> OnMicNote(std::uint32_t wParam);
    // Message 1282: a clap for exercise 4 or 5, or the component's own message handled.
    std::optional<MicClap> OnMicEvent(std::uint32_t wParam, std::int64_t lParam);

private:
    MicComponent& component_;
    std::uint8_t mode_ = 0;
};

}  // namespace kalvintor::sound
