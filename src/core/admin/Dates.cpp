// Parsing and formatting of the dates kalvintor-admin reads and prints.
#include "admin/Dates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kalvintor::admin {

namespace {

// Reads exactly `digits` decimal digits at `at`.
std::optional<int> number(std::string_view text, std::size_t at, std::size_t digits) {
    if (text.size() < at + digits) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

constexpr double kSecondsPerDay = 86400.0;

}  // namespace

std::optional<records::DateTime> parseDate(std::string_view text) {
    if (text.size() != 10 && text.size() != 16) return std::nullopt;
    const auto year = number(text, 0, 4);
    const auto month = number(text, 5, 2);
    const auto day = number(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (*year < 1900 || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    records::CivilDateTime civil{*year, *month, *day, 0, 0, 0, 0};
    if (text.size() == 16) {
        const auto hour = number(text, 11, 2);
        const auto minute = number(text, 14, 2);
        if ((text[10] != 'T' && text[10] != ' ') || text[13] != ':' || !hour || !minute || *hour > 23 ||
            *minute > 59)
            return std::nullopt;
        civil.hour = *hour;
        civil.minute = *minute;
    }
    return records::encodeDateTime(civil);
}

std::string formatDate(records::DateTime value) {
    const auto c = records::decodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", c.year, c.month, c.day);
    return text;
}

std::string formatTime(records::DateTime value) {
    const auto c = records::decodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    return text;
}

double durationSeconds(records::Duration value) {
    if (!std::isfinite(value) || value <= 0) return 0;
    // Beyond a century a stored duration is damage; it is shown capped rather than overflowing.
    const double seconds = std::min(value, 36525.0) * kSecondsPerDay;
    return std::round(seconds * 1000.0) / 1000.0;
}

std::string formatDuration(records::Duration value) {
    const auto total = static_cast<long long>(std::llround(durationSeconds(value)));
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

}  // namespace kalvintor::admin
