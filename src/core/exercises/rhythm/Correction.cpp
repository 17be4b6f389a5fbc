// Marking and checking in the correction exercise.
#include "exercises/rhythm/Correction.h"

#include "exercises/rhythm/NotationLayout.h"

#include <algorithm>

namespace kalvintor::rhythm {

namespace {
constexpr int kLeftMargin = 5;
constexpr int kHeadSlack = 4;
}  // namespace

std::optional<int> NoteAtPress(const Voice& notes, int x, int y) {
    if (notes.empty() || x < notes.front().x - kLeftMargin) return std::nullopt;
    const int row = y / kRowHeight;
    for (int i = static_cast<int>(notes.size()) - 1; i >= 1; --i) {
        const auto& n = notes[static_cast<std::size_t>(i)];
        if (n.row == row && n.x - kHeadSlack <= x) return i;
    }
    return 0;
}

std::set<int> InvolvedNotes(const std::vector<InjectedError>& errors) {
    std::set<int> involved;
    for (const auto& e : errors) {
        involved.insert(e.note);
        if (e.kind != ErrorKind::Split) involved.insert(e.note + 1);
    }
    return involved;
}

CorrectionCheck CheckMarks(const std::vector<InjectedError>& errors, const std::set<int>& marks) {
    CorrectionCheck c;
    const std::set<int> expected = InvolvedNotes(errors);
    c.expected = static_cast<int>(expected.size());
    for (int m : marks) {
        if (expected.count(m))
            ++c.hits;
        else
            ++c.falseMarks;
    }
    c.correct = c.hits == c.expected && c.falseMarks == 0;
    c.points = c.expected > 0 ? std::max(0, 100 * c.hits - 50 * c.falseMarks) / c.expected : 0;
    return c;
}

}  // namespace kalvintor::rhythm
