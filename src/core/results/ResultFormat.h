// How results are written and drawn: durations, result bars, percentages and CSV fields.
#pragma once

#include "records/DateTime.h"

#include <functional>
#include <string>
#include <string_view>

namespace kalvintor::results {

// The time-of-day part of a duration as hours (no leading zero), the separator, two-digit
// minutes and, with seconds, the separator and two-digit seconds; whole days are not shown.
std::string FormatDuration(records::Duration value, bool withSeconds, std::string_view separator = ":");

// "YYYY-MM-DD" and "HH:MM" of a point in time.
std::string FormatDate(records::DateTime value);
std::string FormatTime(records::DateTime value);

// Whether an exercise's Correct holds an average score rather than a count (rhythm exercises).
bool holdsScore(int exercise);

// The percentage a result bar shows: Correct × 100 div Questions for counted exercises, the score
// itself for the rhythm exercises; 100 when nothing was asked.
int BarPercent(int exercise, int correct, int questions);

// Where a result bar's parts go inside a cell `width` wide, in the bar's own pixels.
struct ResultBarLayout {
    std::string numbers;   // "a/b", or "b" for the rhythm exercises; empty without numbers
    int numbersX = 0;      // where the number text starts
    bool drawBar = false;  // at least 30 pixels remain for the bar
    int barLeft = 0;       // the frame's left edge
    int barRight = 0;      // the frame's right edge (inclusive)
    bool filled = false;   // something was asked: fill and percentage are drawn
    int percent = 0;
};
// `textWidth` measures a text in the font the numbers are drawn in.
ResultBarLayout LayOutResultBar(int exercise, int correct, int questions, int width, bool withNumbers,
                                const std::function<int(const std::string&)>& textWidth);

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string CsvField(std::string_view text);

}  // namespace kalvintor::results
