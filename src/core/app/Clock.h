// The shared millisecond clock that taps, claps and retry pauses are measured on.
#pragma once

#include <cstdint>
#include <functional>

namespace kalvintor::app {

// Milliseconds on a steady clock (the platform's millisecond counter).
std::int64_t MillisecondClock();

// For tests: a clock of their own (nullptr restores the real one).
void SetMillisecondClock(std::function<std::int64_t()> clock);

}  // namespace kalvintor::app
