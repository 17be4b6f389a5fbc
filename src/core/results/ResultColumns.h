// The columns of the results window: the base columns the toggles show, then one column per
// catalogue entry that the listed sessions asked.
#pragma once

#include "data/ResultRecord.h"

#include <array>
#include <vector>

namespace kalvintor::results {

// Base columns: 0 date, 1 time, 2 duration, 3 answer time, 4 level name, 5 total result.
inline constexpr int kBaseColumns = 6;
// Entry i (1..60) of the exercise's material is column code kEntryColumn + i.
inline constexpr int kEntryColumn = 10;

// Whether an exercise breaks its results down by catalogue entry (the "Details" toggle).
bool hasEntryColumns(int exercise);

// The column codes shown: the base columns whose flag is set (date and total always), then with
// `details` the entries asked at least once in `rows`, in entry order.
std::vector<int> ShownColumns(const std::array<bool, kBaseColumns>& shown, bool details, int exercise,
                              const std::vector<data::ResultRecord>& rows);

}  // namespace kalvintor::results
