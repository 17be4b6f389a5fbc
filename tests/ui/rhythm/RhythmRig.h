// A rhythm exercise window on the recording MIDI device, played on the virtual clock: the
// sequencer's notices reach the window at their time, and the millisecond clock follows.
#pragma once

#include "app/Clock.h"
#include "app/Random.h"
#include "app/TControlButton.h"
#include "exercises/rhythm/RhythmSetup.h"
#include "rhythm/TapLatency.h"
#include "sound/MidiMessage.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <QSettings>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>

namespace kalvintor::ui::rhythm::testing {

// The shared millisecond clock starts well away from zero (a tap at 0 would mean "now").
inline constexpr std::int64_t kClockBase = 100000;

template <typename Window>
struct Rig {
    QTemporaryDir config;  // the local configuration with the tap lateness
    ui::testing::RecordingHost host;
    sound::RecordingNotificationSink sink;
    std::vector<std::pair<double, std::uint16_t>> delivered;  // virtual time, code
    // A busy user-interface thread: notices are handled this long after they fell due, inside an
    // event scope with their due time, as the main window hands them on.
    double handlingDelayMs = 0;
    std::vector<std::pair<double, sound::Notification>> waiting;  // due time, notice
    std::unique_ptr<Window> window;

    Rig(int exercise, const kalvintor::rhythm::RhythmSetup& block) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
        ReloadTapLatency();
        host.setup.setRhythmBlock(exercise, block);
        std::string device;
        host.out.SelectDeviceByName(device);
        host.out.SetNotifyContext({false, static_cast<std::uint8_t>(exercise)});
        host.sequencer.SetNotificationSink(&sink);
        app::SetMillisecondClock([this] { return kClockBase + static_cast<std::int64_t>(now()); });
        app::SetRandomizeClock([] { return std::uint64_t{11}; });
        window = std::make_unique<Window>(host);
        window->resize(1000, 600);
        window->show();
    }
    ~Rig() {
        window.reset();
        app::SetMillisecondClock(nullptr);
        app::SetRandomizeClock(nullptr);
    }

    double now() const { return host.system.Output()->Now(); }

    // Plays on to `untilMs`, handing each notice to the window at its time and running `actions`
    // (keyed by virtual time) when they fall due.
    void run(double untilMs, std::multimap<double, std::function<void()>> actions = {}) {
        auto* port = host.system.Output();
        for (double t = std::floor(port->Now()) + 1; t <= untilMs; t += 1) {
            port->Advance(t);
            for (auto it = actions.begin(); it != actions.end() && it->first <= t;) {
                it->second();
                it = actions.erase(it);
            }
            for (const auto& n : std::exchange(sink.received, {})) waiting.emplace_back(t, n);
            while (!waiting.empty() && waiting.front().first + handlingDelayMs <= t) {
                const auto [dueAt, n] = waiting.front();
                waiting.erase(waiting.begin());
                if (!host.sequencer.IsCurrent(n.generation) || n.window != window->exercise()) continue;
                delivered.emplace_back(dueAt, n.code);
                const app::EventTimeScope scope(kClockBase + static_cast<std::int64_t>(dueAt));
                window->SeqNotify(n.code);
            }
        }
    }
    // The time a code was last delivered, or -1.
    double timeOf(std::uint16_t code) const {
        double at = -1;
        for (const auto& [t, c] : delivered)
            if (c == code) at = t;
        return at;
    }
    void press(int button) const {
        window->ControlButton->PressButton(button);
        window->ControlButtonUpAction();
    }
    // Note-on times of the rhythm sound since the virtual clock began.
    std::vector<double> rhythmOnsets() const {
        std::vector<double> onsets;
        const int key = host.current.rhythmSound.key;
        for (const auto& m : host.system.Output()->Sent()) {
            const auto status = m.message & 0xF0;
            const int k = static_cast<int>((m.message >> 8) & 0x7F);
            const int velocity = static_cast<int>((m.message >> 16) & 0x7F);
            if (status == 0x90 && velocity > 0 && k == key) onsets.push_back(m.timeMs);
        }
        return onsets;
    }
};

// Four quarters in one bar of 4/4 at tempo 90: a quarter lasts 672 ms, a bar 2688 ms.
inline kalvintor::rhythm::RhythmSetup quarters(int exercise, kalvintor::rhythm::Strictness strictness,
                                               int bars = 1) {
    auto block =
        kalvintor::rhythm::defaultRhythmSetup(static_cast<kalvintor::rhythm::RhythmExercise>(exercise));
    block.noteValues = {0, 0, 1, 0, 0, 0};
    block.bars = static_cast<std::uint8_t>(bars);
    block.strictness = static_cast<std::int16_t>(strictness);
    block.showSecondTime = 0;
    return block;
}

inline constexpr double kQuarterMs = 672;
inline constexpr double kBarMs = 2688;

}  // namespace kalvintor::ui::rhythm::testing
