// Interval comparison: two different intervals, A then B, and which one is larger.
#pragma once

#include "exercises/pitch/Question.h"
#include "exercises/pitch/SetupBlock.h"
#include "theory/ChordCatalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::pitch {

inline constexpr int kTextComparisonWrong = 233;
inline constexpr std::size_t kComparisonNameLength = 15;

struct ComparisonItem {
    int entry = 0;
    std::vector<int> relative;  // pitches relative to the entry's first note
    std::string name;           // the first 15 characters of the entry name
};

enum class ComparisonChoice { A = 1, B = 2 };

struct IntervalComparisonState {
    // From the setup.
    std::vector<ComparisonItem> items;
    std::vector<PlayStyle> styles{PlayStyle::Together};
    int lowest = 0;
    int range = 0;
    bool commonTone = false;

    // The current question.
    std::vector<int> notesA;
    std::vector<int> notesB;
    int itemA = 0;  // 1-based into items
    int itemB = 0;
    PlayStyle style = PlayStyle::Together;
    ComparisonChoice rightAnswer = ComparisonChoice::B;

    int questionCount = 0;
    int correctCount = 0;
    bool answered = true;
};

// Takes the exercise-3 block: the offered intervals (entries 1..30 with notes), play styles,
// the common-tone switch and the limits. Reset also zeroes both counts.
void ApplyComparisonSetup(IntervalComparisonState& state, const SetupBlock& block,
                          const theory::ChordCatalogue& catalogue, bool reset);

// Whether a question can be asked: two offered intervals at least.
bool CanCompare(const IntervalComparisonState& state);

// Reseeds the program's generator and draws two different intervals; false (nothing changed)
// with fewer than two offered intervals.
bool GenerateComparison(IntervalComparisonState& state);

// The larger interval (equal sizes count for B).
ComparisonChoice LargerInterval(const std::vector<int>& a, const std::vector<int>& b);

struct ComparisonJudgement {
    bool right = false;
    ComparisonChoice rightAnswer = ComparisonChoice::B;
    std::string label;
};

// Judges the choice once per question; nothing when the question is already answered (then the
// buttons only replay their interval).
std::optional<ComparisonJudgement> JudgeComparison(IntervalComparisonState& state, ComparisonChoice choice,
                                                   const language::Language& language);

// The score gauge: the share of right answers in percent, 100 before any question.
int ScoreGauge(int correct, int asked);

}  // namespace kalvintor::pitch
