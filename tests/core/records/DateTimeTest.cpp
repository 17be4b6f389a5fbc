// Stored date-times: days since 30 December 1899.
#include "records/DateTime.h"

#include <gtest/gtest.h>

using namespace kalvintor::records;

TEST(DateTime, KnownDatesEncodeToTheirDayNumbers) {
    struct Case {
        CivilDateTime civil;
        double value;
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 0, 0, 0, 0}, 2.0},
        {{1970, 1, 1, 0, 0, 0, 0}, 25569.0},
        {{2000, 1, 1, 12, 0, 0, 0}, 36526.5},
        {{2026, 12, 10, 6, 0, 0, 0}, 46366.25},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(encodeDateTime(c.civil), c.value) << c.value;
        EXPECT_EQ(decodeDateTime(c.value), c.civil) << c.value;
    }
}

TEST(DateTime, MillisecondsSurviveARoundTrip) {
    const CivilDateTime c{2024, 2, 29, 23, 59, 59, 999};
    EXPECT_EQ(decodeDateTime(encodeDateTime(c)), c);
}

TEST(DateTime, GarbageValuesDecodeToTheEpoch) {
    EXPECT_EQ(decodeDateTime(std::numeric_limits<double>::quiet_NaN()), CivilDateTime{});
    EXPECT_EQ(decodeDateTime(1e300), CivilDateTime{});
}

TEST(DateTime, SystemTimeRoundTrip) {
    const auto now = std::chrono::system_clock::now();
    const auto back = toSystemTime(fromSystemTime(now));
    EXPECT_LE(std::chrono::abs(back - now), std::chrono::milliseconds(1));
}

TEST(DateTime, OnlyDurationsBetweenZeroAndOneDayAreBooked) {
    EXPECT_FALSE(isBookableDuration(0.0));
    EXPECT_TRUE(isBookableDuration(durationFromMilliseconds(1500)));
    EXPECT_FALSE(isBookableDuration(1.0));
    EXPECT_FALSE(isBookableDuration(-0.1));
}
