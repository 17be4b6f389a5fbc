// Conversions between stored date-times, calendar dates and the system clock.
#include "records/DateTime.h"

#include <cmath>
#include <ctime>

namespace kalvintor::records {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

}  // namespace

DateTime encodeDateTime(const CivilDateTime& c) {
    const std::int64_t days = daysFromCivil(c.year, static_cast<unsigned>(c.month),
                                            static_cast<unsigned>(c.day)) +
                              kUnixEpochDay;
    const double time = (((c.hour * 60.0 + c.minute) * 60.0 + c.second) * 1000.0 + c.millisecond) /
                        kMillisecondsPerDay;
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

CivilDateTime decodeDateTime(DateTime value) {
    CivilDateTime c;
    if (!std::isfinite(value) || std::fabs(value) > 3'000'000.0) return c;
    const double whole = std::trunc(value);
    auto ms = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kMillisecondsPerDay));
    auto days = static_cast<std::int64_t>(whole);
    if (ms >= static_cast<std::int64_t>(kMillisecondsPerDay)) {
        ms -= static_cast<std::int64_t>(kMillisecondsPerDay);
        days += value >= 0 ? 1 : -1;
    }
    civilFromDays(days - kUnixEpochDay, c.year, c.month, c.day);
    c.millisecond = static_cast<int>(ms % 1000);
    c.second = static_cast<int>(ms / 1000 % 60);
    c.minute = static_cast<int>(ms / 60'000 % 60);
    c.hour = static_cast<int>(ms / 3'600'000);
    return c;
}

DateTime fromSystemTime(std::chrono::system_clock::time_point tp) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::seconds>(ms)));
    std::tm local{};
    localtime_r(&seconds, &local);
    CivilDateTime c{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min,        local.tm_sec,     static_cast<int>(ms.count() % 1000)};
    return encodeDateTime(c);
}

std::chrono::system_clock::time_point toSystemTime(DateTime value) {
    const CivilDateTime c = decodeDateTime(value);
    std::tm local{};
    local.tm_year = c.year - 1900;
    local.tm_mon = c.month - 1;
    local.tm_mday = c.day;
    local.tm_hour = c.hour;
    local.tm_min = c.minute;
    local.tm_sec = c.second;
    local.tm_isdst = -1;
    const std::time_t seconds = mktime(&local);
    return std::chrono::system_clock::from_time_t(seconds) + std::chrono::milliseconds(c.millisecond);
}

DateTime nowLocal() { return fromSystemTime(std::chrono::system_clock::now()); }

}  // namespace kalvintor::records
