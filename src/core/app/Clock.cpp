// The millisecond clock on std::chrono::steady_clock.
#include "app/Clock.h"

#include <chrono>

namespace kalvintor::app {
namespace {
std::function<std::int64_t()>& override() {
    static std::function<std::int64_t()> clock;
    return clock;
}
}  // namespace

std::int64_t MillisecondClock() {
    if (override()) return override()();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SetMillisecondClock(std::function<std::int64_t()> clock) {
    override() = std::move(clock);
}

namespace {
// 0: no event is being handled. Only the user-interface thread opens scopes.
std::int64_t handledEventMs = 0;
}  // namespace

EventTimeScope::EventTimeScope(std::int64_t atMs) : previous_(handledEventMs) {
    handledEventMs = atMs;
}

EventTimeScope::~EventTimeScope() {
    handledEventMs = previous_;
}

std::int64_t EventTimeOrNow() {
    return handledEventMs != 0 ? handledEventMs : MillisecondClock();
}

}  // namespace kalvintor::app
