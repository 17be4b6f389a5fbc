// The shared millisecond clock that taps, claps and retry pauses are measured on.
#pragma once

#include <cstdint>
#include <functional>

namespace kalvintor::app {

// Milliseconds on a steady clock (the platform's millisecond counter).
std::int64_t MillisecondClock();

// For tests: a clock of their own (nullptr restores the real one).
void SetMillisecondClock(std::function<std::int64_t()> clock);

// The moment the event being handled happened, on the millisecond clock: a sequencer notice at
// the time it fell due, MIDI input at the time it arrived. Whoever handles such an event opens a
// scope with its time; taps and tap time zero are taken from it rather than from the moment the
// user-interface thread gets round to the event.
class EventTimeScope {
public:
    explicit EventTimeScope(std::int64_t atMs);
    ~EventTimeScope();
    EventTimeScope(const EventTimeScope&) = delete;
    EventTimeScope& operator=(const EventTimeScope&) = delete;

private:
    std::int64_t previous_;
};

// The time of the event being handled, or now outside any event scope.
std::int64_t EventTimeOrNow();

}  // namespace kalvintor::app
