// The program-wide generator. Used from the user-interface thread only.
#include "app/Random.h"

#include <chrono>
#include <random>

namespace kalvintor::app {
namespace {

std::uint64_t clockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

std::mt19937_64& generator() {
    static std::mt19937_64 instance{clockSeed()};
    return instance;
}

std::function<std::uint64_t()>& randomizeClock() {
    static std::function<std::uint64_t()> clock;
    return clock;
}

}  // namespace

int Random(int n) {
    if (n <= 1) return 0;
    std::uniform_int_distribution<int> distribution(0, n - 1);
    return distribution(generator());
}

void Randomize() { generator().seed(randomizeClock() ? randomizeClock()() : clockSeed()); }

void SeedRandom(std::uint64_t seed) { generator().seed(seed); }

void SetRandomizeClock(std::function<std::uint64_t()> clock) { randomizeClock() = std::move(clock); }

}  // namespace kalvintor::app
