// Date-times as stored in records: days since 30 December 1899, the fraction being the time of day.
#pragma once

#include <chrono>
#include <cstdint>

namespace kalvintor::records {

using DateTime = double;  // days since 1899-12-30 00:00, local time
using Duration = double;  // days

struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const CivilDateTime&, const CivilDateTime&) = default;
};

// Day 0 is 1899-12-30. Negative values count back whole days; their fraction is still the time
// of day (-1.25 is 29 December 1899, 06:00), as stored files have it.
DateTime encodeDateTime(const CivilDateTime& civil);
CivilDateTime decodeDateTime(DateTime value);

// Days between the epoch of the stored dates and 1970-01-01.
inline constexpr std::int64_t kUnixEpochDay = 25569;

// The current local date-time.
DateTime nowLocal();
// A local date-time from a point on the system clock, and back.
DateTime fromSystemTime(std::chrono::system_clock::time_point tp);
std::chrono::system_clock::time_point toSystemTime(DateTime value);

// Durations of exercise clocks: only 0 < d < 1 day counts as a booking.
inline bool isBookableDuration(Duration d) { return d > 0.0 && d < 1.0; }

inline constexpr double kMillisecondsPerDay = 86'400'000.0;
inline Duration durationFromMilliseconds(std::int64_t ms) {
    return static_cast<double>(ms) / kMillisecondsPerDay;
}

}  // namespace kalvintor::records
