// The program-wide random generator and the millisecond clock.
#include "app/Clock.h"
#include "app/Random.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

using namespace kalvintor::app;

TEST(Random, YieldsEveryValueBelowNAndIsRepeatableFromASeed) {
    SeedRandom(42);
    std::set<int> seen;
    std::vector<int> first;
    for (int i = 0; i < 500; ++i) {
        const int v = Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
        seen.insert(v);
        first.push_back(v);
    }
    EXPECT_EQ(seen.size(), 7u);
    SeedRandom(42);
    for (int expected : first) EXPECT_EQ(Random(7), expected);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-3), 0);
}

TEST(Random, RandomizeReadsTheInjectedClock) {
    SetRandomizeClock([] { return std::uint64_t{99}; });
    Randomize();
    const int a = Random(1000000);
    Randomize();
    EXPECT_EQ(Random(1000000), a);
    SetRandomizeClock(nullptr);
}

TEST(Clock, CountsMillisecondsOfTheSteadyClock) {
    using namespace std::chrono;
    const auto steadyMs = [] {
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    const auto before = steadyMs();
    const auto first = MillisecondClock();
    std::this_thread::sleep_for(milliseconds(30));
    const auto second = MillisecondClock();
    const auto after = steadyMs();
    EXPECT_GE(first, before);
    EXPECT_GE(second - first, 30) << "milliseconds, not a coarser unit";
    EXPECT_LE(second, after) << "milliseconds, not a finer unit";
}
