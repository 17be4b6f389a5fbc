// Taps from the space bar, a MIDI key or the microphone: how late each kind reaches the program
// on this workstation, the gate that drops a bouncing or stuck key, and the calibration that
// measures the lateness against clicks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kalvintor::rhythm {

// Where a tap came from. The mouse counts as the keyboard: both reach the window the same way.
enum class TapSource : std::uint8_t { Keyboard = 0, MidiKey = 1, Clap = 2 };
inline constexpr int kTapSources = 3;

// Milliseconds each kind of tap arrives after the student played it; judging takes them off.
struct LatencyOffsets {
    std::array<int, kTapSources> ms{};

    int of(TapSource source) const { return ms[static_cast<std::size_t>(source)]; }
    void set(TapSource source, int value) { ms[static_cast<std::size_t>(source)] = value; }
    friend bool operator==(const LatencyOffsets&, const LatencyOffsets&) = default;
};

// Offsets beyond this are not a machine's latency but a student who tapped off the beat.
inline constexpr int kMaxLatencyMs = 250;

// The time the student played a tap heard at `heardMs`.
std::int64_t CorrectedTapTime(std::int64_t heardMs, TapSource source, const LatencyOffsets& offsets);

// Two taps closer than this are one tap: a key that bounces, a stuck key repeating, a clap's echo.
// The shortest note the exercises offer, a thirty-second at tempo 240, lasts 31 ms.
inline constexpr int kMinTapGapMs = 25;

class TapGate {
public:
    // True when a tap at `timeMs` counts; the next one must come kMinTapGapMs after it.
    bool Accept(std::int64_t timeMs);
    void Reset() { last_.reset(); }

private:
    std::optional<std::int64_t> last_;
};

// Key and mouse events carry the windowing system's time of the press, on a clock of its own
// (milliseconds since some start of its own, possibly wrapping at 32 bits). The mapper puts that
// time on the millisecond clock: the smallest difference between the clock at handling and the
// event's stamp seen so far is the offset of the two clocks (an event is never handled before it
// happened), so a press handled late keeps the moment it was made.
class EventStampMapper {
public:
    // A stamp of 0 means the event has none: it happened now. A stamp whose implied delay is beyond
    // kMaxEventDelayMs puts the clocks in step again (another stamp source, a wrapped counter,
    // events made by a program).
    std::int64_t ToClock(std::uint64_t stamp, std::int64_t nowMs);
    void Reset() { offset_.reset(); }

private:
    std::optional<std::int64_t> offset_;
};

// No event waits this long in the queue of a working program: a longer delay means the stamps
// do not follow the clock.
inline constexpr int kMaxEventDelayMs = 200;

// The calibration: four clicks to find the beat, then eight the student taps along with.
inline constexpr int kLeadInClicks = 4;
inline constexpr int kCalibrationClicks = 8;
inline constexpr int kCalibrationTempo = 90;
// At least this many of the eight clicks need a tap near them for a measurement.
inline constexpr int kMinMatchedClicks = 6;

// Times of the lead-in and measured clicks when the first click sounds at `firstClickMs`.
std::vector<std::int64_t> CalibrationClickTimes(std::int64_t firstClickMs, int tempo);

struct LatencyMeasurement {
    bool valid = false;  // enough taps near the clicks and a plausible lateness
    int matched = 0;     // measured clicks with a tap within half a beat
    int meanMs = 0;      // how late the taps came on average (negative: early)
    int spreadMs = 0;    // their standard deviation
};

// Pairs each measured click (the last kCalibrationClicks of `clicks`) with the nearest tap within
// half a beat and measures how late the taps came.
LatencyMeasurement MeasureLatency(const std::vector<std::int64_t>& clicks,
                                  const std::vector<std::int64_t>& taps, int tempo);

}  // namespace kalvintor::rhythm
