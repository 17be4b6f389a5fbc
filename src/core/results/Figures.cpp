// Per-entry figures of a class and a student's progress.
#include "results/Figures.h"

#include "results/ResultFormat.h"

#include <algorithm>

namespace kalvintor::results {

void AddEntryFigures(const std::vector<data::TResultInfo*>& results, std::vector<EntryFigure>& into) {
    if (into.size() != data::kItemCount) {
        into.assign(data::kItemCount, {});
        for (std::size_t i = 0; i < into.size(); ++i) into[i].entry = static_cast<int>(i) + 1;
    }
    for (const data::TResultInfo* result : results) {
        for (std::size_t i = 0; i < data::kItemCount; ++i) {
            into[i].asked += result->record.itemStats[i].asked;
            into[i].correct +=
                std::min(result->record.itemStats[i].correct, result->record.itemStats[i].asked);
        }
    }
}

std::vector<EntryFigure> ClassEntryTable(data::DataStore& store, std::int16_t classId, int exercise,
                                         records::DateTime earliest) {
    std::vector<EntryFigure> figures;
    store.FilterUsers(-1, classId);
    const std::vector<data::TUserInfo*> users = store.FilteredUsers();
    for (const data::TUserInfo* user : users) {
        store.LoadResults(user->record.userId);
        store.FilterResults(exercise, earliest);
        AddEntryFigures(store.FilteredResults(), figures);
    }
    std::erase_if(figures, [](const EntryFigure& f) { return f.asked == 0; });
    std::ranges::stable_sort(figures, [](const EntryFigure& a, const EntryFigure& b) {
        if (a.percent() != b.percent()) return a.percent() < b.percent();
        return a.asked > b.asked;
    });
    return figures;
}

Progress ProgressOf(const std::vector<data::TResultInfo*>& results, int exercise) {
    Progress progress;
    std::uint64_t correct = 0;
    std::uint64_t questions = 0;
    std::uint64_t scores = 0;
    for (const data::TResultInfo* result : results) {
        const data::ResultRecord& r = result->record;
        if (r.exercise != exercise || r.questions == 0) continue;
        progress.sessions.push_back({r.sessionStart, BarPercent(exercise, r.correct, r.questions)});
        correct += r.correct;
        questions += r.questions;
        scores += r.correct;
    }
    std::ranges::stable_sort(progress.sessions, {}, &ProgressPoint::sessionStart);
    if (!progress.sessions.empty())
        progress.average = holdsScore(exercise) ? static_cast<int>(scores / progress.sessions.size())
                                                : static_cast<int>(correct * 100 / questions);
    return progress;
}

}  // namespace kalvintor::results
