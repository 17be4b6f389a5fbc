// The one program-wide random generator: Random(n) yields 0..n-1; Randomize reseeds it from the clock.
#pragma once

#include <cstdint>
#include <functional>

namespace kalvintor::app {

// 0..n-1; 0 when n <= 1.
int Random(int n);

// Reseeds the generator from the clock (the pitch exercises do this before every question).
void Randomize();

// For tests: a fixed seed, and the clock Randomize reads (nullptr restores the real clock).
void SeedRandom(std::uint64_t seed);
void SetRandomizeClock(std::function<std::uint64_t()> clock);

}  // namespace kalvintor::app
