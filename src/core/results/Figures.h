// Figures beyond the result list: which catalogue entries a class gets wrong, and how a
// student's score moves from session to session.
#pragma once

#include "data/DataStore.h"

#include <cstdint>
#include <vector>

namespace kalvintor::results {

// One catalogue entry (chord type, interval, inversion, scale or progression) over a period.
struct EntryFigure {
    int entry = 0;  // 1..60
    std::uint32_t asked = 0;
    std::uint32_t correct = 0;
    int percent() const { return asked == 0 ? 0 : static_cast<int>(correct * 100 / asked); }
};

// Adds the per-entry counts of `results` into `into` (60 entries, made on first use).
void AddEntryFigures(const std::vector<data::TResultInfo*>& results, std::vector<EntryFigure>& into);

// The class table: for every user of the class, the entries of `exercise` asked from `earliest`
// on, weakest first (lowest percentage, then the most asked). Loads each user's results in turn.
std::vector<EntryFigure> ClassEntryTable(data::DataStore& store, std::int16_t classId, int exercise,
                                         records::DateTime earliest);

// One session of a student's progress and the period's average percentage.
struct ProgressPoint {
    records::DateTime sessionStart = 0;
    int percent = 0;
};
struct Progress {
    std::vector<ProgressPoint> sessions;  // in time order
    int average = 0;                      // over the sessions, weighted by questions where counted
};
Progress ProgressOf(const std::vector<data::TResultInfo*>& results, int exercise);

}  // namespace kalvintor::results
