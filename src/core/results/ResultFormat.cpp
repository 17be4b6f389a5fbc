// Durations, dates, percentages and CSV fields of the results.
#include "results/ResultFormat.h"

#include <cmath>
#include <cstdio>

namespace kalvintor::results {

namespace {
std::string twoDigits(int v) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", v);
    return buffer;
}
}  // namespace

std::string FormatDuration(records::Duration value, bool withSeconds, std::string_view separator) {
    // A negative or damaged duration reads as none.
    const double fraction = value > 0.0 && std::isfinite(value) ? value - std::floor(value) : 0.0;
    const long long total = std::llround(fraction * 86400.0) % 86400;
    std::string text =
        std::to_string(total / 3600) + std::string(separator) + twoDigits(static_cast<int>(total / 60 % 60));
    if (withSeconds) text += std::string(separator) + twoDigits(static_cast<int>(total % 60));
    return text;
}

std::string FormatDate(records::DateTime value) {
    const auto c = records::decodeDateTime(value);
    return std::to_string(c.year) + "-" + twoDigits(c.month) + "-" + twoDigits(c.day);
}

std::string FormatTime(records::DateTime value) {
    const auto c = records::decodeDateTime(value);
    return twoDigits(c.hour) + ":" + twoDigits(c.minute);
}

bool holdsScore(int exercise) {
    return exercise >= 4 && exercise <= 6;
}

int BarPercent(int exercise, int correct, int questions) {
    if (questions == 0) return 100;
    return holdsScore(exercise) ? correct : correct * 100 / questions;
}

ResultBarLayout LayOutResultBar(int exercise, int correct, int questions, int width, bool withNumbers,
                                const std::function<int(const std::string&)>& textWidth) {
    // The "/" of "a/b" ends 31 pixels from the left edge; the bar starts at 60 with numbers.
    constexpr int kSlashEnd = 31;
    constexpr int kBarWithNumbers = 60;
    constexpr int kBarWithout = 3;
    constexpr int kRightInset = 3;
    constexpr int kMinimumBar = 30;
    ResultBarLayout l;
    l.percent = BarPercent(exercise, correct, questions);
    l.filled = questions != 0;
    if (withNumbers) {
        if (holdsScore(exercise)) {
            l.numbers = std::to_string(questions);
            l.numbersX = kSlashEnd;
        } else {
            const std::string head = std::to_string(correct) + "/";
            l.numbers = head + std::to_string(questions);
            l.numbersX = kSlashEnd - textWidth(head);
        }
    }
    l.barLeft = withNumbers ? kBarWithNumbers : kBarWithout;
    l.barRight = width - 1 - kRightInset;
    l.drawBar = width - l.barLeft >= kMinimumBar;
    return l;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",;\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace kalvintor::results
