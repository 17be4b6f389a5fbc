// The program-wide random generator and the millisecond clock hooks.
#include "app/Clock.h"
#include "app/Random.h"

#include <gtest/gtest.h>

#include <set>

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

TEST(Clock, TestsCanFixTheMillisecondClock) {
    SetMillisecondClock([] { return std::int64_t{1234}; });
    EXPECT_EQ(MillisecondClock(), 1234);
    SetMillisecondClock(nullptr);
    const auto a = MillisecondClock();
    EXPECT_GE(MillisecondClock(), a);
}
