// Interval comparison: the offered intervals, drawing a pair, and judging the choice.
#include "exercises/pitch/IntervalComparison.h"

#include "app/Random.h"
#include "exercises/pitch/Answer.h"
#include "language/Language.h"

#include <algorithm>
#include <cmath>

namespace kalvintor::pitch {

using app::Random;

void ApplyComparisonSetup(IntervalComparisonState& state, const SetupBlock& block,
                          const theory::ChordCatalogue& catalogue, bool reset) {
    state.items.clear();
    for (int number = 1; number <= theory::kOfferedIntervals; ++number) {
        const auto& entry = catalogue.intervals().entry(number);
        if (!block.entryOn(number) || entry.noteCount() == 0) continue;
        ComparisonItem item;
        item.entry = number;
        for (int k = 0; k < entry.noteCount(); ++k)
            item.relative.push_back(entry.notes[static_cast<std::size_t>(k)].pitch - entry.notes[0].pitch);
        item.name = theory::cutToRoom(entry.name, kComparisonNameLength);
        state.items.push_back(std::move(item));
    }
    state.styles.clear();
    if (block.playTogether != 0) state.styles.push_back(PlayStyle::Together);
    if (block.arpeggioUp != 0) state.styles.push_back(PlayStyle::Up);
    if (block.arpeggioDown != 0) state.styles.push_back(PlayStyle::Down);
    if (state.styles.empty()) state.styles.push_back(PlayStyle::Together);
    state.lowest = block.lowerLimit;
    // Limits upside down leave no range: every root is the lower limit.
    state.range = std::max(0, block.upperLimit - block.lowerLimit);
    state.commonTone = block.commonTone();
    if (reset) {
        state.questionCount = 0;
        state.correctCount = 0;
    }
    state.answered = true;
}

bool CanCompare(const IntervalComparisonState& state) {
    return state.items.size() >= 2;
}

bool GenerateComparison(IntervalComparisonState& state) {
    if (!CanCompare(state)) return false;
    app::Randomize();
    const int rootA = state.lowest + Random(state.range);
    const int rootB = state.commonTone ? rootA : state.lowest + Random(state.range);
    state.style = state.styles[static_cast<std::size_t>(Random(static_cast<int>(state.styles.size())))];
    const int n = static_cast<int>(state.items.size());
    state.itemA = Random(n) + 1;
    // A different item; with two or more items the draw ends.
    do {
        state.itemB = Random(n) + 1;
    } while (state.itemB == state.itemA);
    auto notesOf = [](const ComparisonItem& item, int root) {
        std::vector<int> notes;
        for (int r : item.relative) notes.push_back(root + r);
        return notes;
    };
    state.notesA = notesOf(state.items[static_cast<std::size_t>(state.itemA - 1)], rootA);
    state.notesB = notesOf(state.items[static_cast<std::size_t>(state.itemB - 1)], rootB);
    state.rightAnswer = LargerInterval(state.notesA, state.notesB);
    state.answered = false;
    return true;
}

ComparisonChoice LargerInterval(const std::vector<int>& a, const std::vector<int>& b) {
    auto size = [](const std::vector<int>& notes) { return notes.size() >= 2 ? notes[1] - notes[0] : 0; };
    return size(b) < size(a) ? ComparisonChoice::A : ComparisonChoice::B;
}

std::optional<ComparisonJudgement> JudgeComparison(IntervalComparisonState& state, ComparisonChoice choice,
                                                   const language::Language& language) {
    if (state.answered) return std::nullopt;
    state.answered = true;
    ++state.questionCount;
    ComparisonJudgement j;
    j.rightAnswer = state.rightAnswer;
    j.right = choice == state.rightAnswer;
    if (j.right) {
        ++state.correctCount;
        j.label = language.text(judge_texts::kCorrect, "Correct");
    } else {
        j.label = language.text(kTextComparisonWrong, "Wrong, the other interval is the larger one");
    }
    return j;
}

int ScoreGauge(int correct, int asked) {
    if (asked <= 0) return 100;
    return static_cast<int>(std::lround(correct * 100.0 / asked));
}

}  // namespace kalvintor::pitch
