// Statistics per user and exercise from the user's result file.
#include "data/DataStore.h"
#include "data/TextFormat.h"
#include "tutor/TutorHeader.h"

#include <cmath>
#include <exception>

namespace kalvintor::data {

void DataStore::ComputeStatistics(TUserInfo& user) {
    std::array<ExerciseStatistics, kExerciseCount> statistics{};
    std::array<records::Duration, kExerciseCount> answerTimes{};
    try {
        const records::DateTime cutOff = std::floor(now()) - StatisticsPeriod;
        if (resultList_.empty() || resultList_.front()->record.userId != user.record.userId)
            LoadResults(user.record.userId);
        for (auto it = resultList_.rbegin(); it != resultList_.rend(); ++it) {
            const ResultRecord& result = (*it)->record;
            if (result.exercise < 1 || result.exercise > kExerciseCount) continue;
            const std::size_t e = result.exercise - 1u;
            ExerciseStatistics& s = statistics[e];
            if (result.sessionStart > cutOff) {
                s.periodDuration += result.duration;
                s.periodCorrect += result.correct;
                s.periodQuestions += result.questions;
                answerTimes[e] += result.answerTime;
                ++s.periodSessions;
            }
            if (result.sessionStart > s.lastDate) {
                s.lastDate = result.sessionStart;
                s.lastSetupName = result.setupName;
                s.lastTutorName = result.tutorName;
                s.lastCorrect = result.correct;
                s.lastQuestions = result.questions;
            }
        }
        for (std::size_t e = 0; e < statistics.size(); ++e) {
            ExerciseStatistics& s = statistics[e];
            // Summed answer time over summed questions, not a mean of the sessions' averages.
            if (s.periodQuestions > 0) s.averageAnswerTime = answerTimes[e] / s.periodQuestions;
            if (isRhythmExercise(static_cast<int>(e) + 1) && s.periodSessions > 0)
                s.periodCorrect /= static_cast<std::uint32_t>(s.periodSessions);
        }
        user.className = ClassNameOf(user.record.classId);
        user.displayName = DisplayName(user.record.fullName);
    } catch (const std::exception&) {
        showError(formatText(text(texts::kStatisticsFailed), {user.sortName}));
    }
    user.statistics = statistics;
    user.tutorTitle.clear();
    if (!tutor::isNoTutor(user.record.tutorFile)) {
        if (const auto header = tutor::ReadTutorHeader(ResolveTutorPath(user.record.tutorFile)))
            user.tutorTitle = header->tutorName;
    }
    user.statisticsValid = true;
}

void DataStore::ComputeAllStatistics(bool force) {
    const int count = static_cast<int>(userList_.size());
    for (int i = 0; i < count; ++i) {
        TUserInfo& user = *userList_[static_cast<std::size_t>(i)];
        const bool computing = force || !user.statisticsValid;
        if (callbacks_.progress) callbacks_.progress(i, count, computing);
        if (!computing) continue;
        // Every user's results are read fresh, so results other workstations saved are counted.
        LoadResults(user.record.userId);
        ComputeStatistics(user);
    }
    if (callbacks_.progressDone) callbacks_.progressDone();
}

}  // namespace kalvintor::data
