// The listings: users, classes, results and the statistics of the user overview.
#include "admin/Dates.h"
#include "admin/Store.h"
#include "app/ExerciseNames.h"

#include "data/Statistics.h"
#include "tutor/TutorHeader.h"

#include <cmath>

namespace kalvintor::admin {

namespace {

using data::TUserInfo;

Json id(std::int64_t value) {
    return Json(value);
}

// A stored tutor name that means "none" is shown empty.
std::string tutorOf(const std::string& stored) {
    return tutor::isNoTutor(stored) ? std::string() : stored;
}

// The percentage the result bar shows: correct of questions for the pitch exercises, the average
// score itself for the rhythm exercises; nothing without questions.
Json percentage(int exercise, std::int64_t correct, std::int64_t questions) {
    if (questions <= 0) return {};
    if (data::isRhythmExercise(exercise)) return correct;
    return correct * 100 / questions;
}

std::string classNameOf(data::DataStore& store, std::int16_t classId) {
    return classId == 0 ? std::string() : store.ClassNameOf(classId);
}

// The users a command asks for: one by login or id, or every user of the list.
std::optional<std::vector<TUserInfo*>> chosenUsers(const Context& context, data::DataStore& store,
                                                   const std::string& user) {
    store.LoadUsers();
    std::vector<TUserInfo*> users;
    if (user.empty()) {
        for (const auto& u : store.UserList()) users.push_back(u.get());
        return users;
    }
    TUserInfo* found = findUser(store, user);
    if (!found) {
        context.err << "kalvintor-admin: no user \"" << user << "\" in " << store.DataPath().string() << '\n';
        return std::nullopt;
    }
    users.push_back(found);
    return users;
}

}  // namespace

int listUsers(const Context& context, Format format) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    store->LoadUsers();
    Table table{{"id", "login", "name", "level", "class_id", "class", "tutor", "setup"}, {}};
    for (const auto& u : store->UserList()) {
        const auto& r = u->record;
        table.rows.push_back({id(r.userId), r.loginName, data::DisplayName(r.fullName),
                              levelName(r.accessLevel), id(r.classId), classNameOf(*store, r.classId),
                              tutorOf(r.tutorFile), r.setupFile});
    }
    table.write(context.out, format);
    return kExitOk;
}

int listClasses(const Context& context, Format format) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    store->LoadUsers();
    store->LoadClasses();
    Table table{{"id", "name", "teacher_id", "teacher", "tutor", "members"}, {}};
    for (const auto& c : store->ClassList()) {
        const auto& r = c->record;
        std::string teacher;
        std::int64_t members = 0;
        for (const auto& u : store->UserList()) {
            if (r.teacherId != 0 && u->record.userId == r.teacherId) teacher = u->record.loginName;
            if (u->record.classId == r.classId) ++members;
        }
        table.rows.push_back(
            {id(r.classId), r.className, id(r.teacherId), teacher, tutorOf(r.tutorFile), members});
    }
    table.write(context.out, format);
    return kExitOk;
}

int listResults(const Context& context, const ResultsOptions& options) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    const auto users = chosenUsers(context, *store, options.user);
    if (!users) return kExitFailed;
    Table table{{"user_id", "login", "date", "time", "exercise", "exercise_name", "tutor", "step", "setup",
                 "correct", "questions", "percent", "duration", "answer_time"},
                {}};
    for (TUserInfo* user : *users) {
        if (!existingResultFile(*store, user->record.userId)) continue;
        store->LoadResults(user->record.userId);
        store->FilterResults(options.exercise > 0 ? options.exercise : -1,
                             options.since ? *options.since : -1.0);
        for (const auto* result : store->FilteredResults()) {
            const auto& r = result->record;
            const bool json = options.format == Format::Json;
            table.rows.push_back(
                {id(user->record.userId), user->record.loginName, formatDate(r.sessionStart),
                 formatTime(r.sessionStart), id(r.exercise), app::ExerciseEnglishName(r.exercise),
                 r.tutorName, id(r.tutorStep), r.setupName, id(r.correct), id(r.questions),
                 percentage(r.exercise, r.correct, r.questions),
                 json ? Json(durationSeconds(r.duration)) : Json(formatDuration(r.duration)),
                 json ? Json(durationSeconds(r.answerTime)) : Json(formatDuration(r.answerTime))});
        }
    }
    table.write(context.out, options.format);
    return kExitOk;
}

int showStatistics(const Context& context, const StatsOptions& options) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    const auto users = chosenUsers(context, *store, options.user);
    if (!users) return kExitFailed;
    std::optional<std::int16_t> classId;
    if (!options.className.empty()) {
        store->LoadClasses();
        const auto number = parseNumber(options.className);
        for (const auto& c : store->ClassList())
            if (number ? c->record.classId == *number
                       : data::compareIgnoringCase(c->record.className, options.className) == 0)
                classId = c->record.classId;
        if (!classId) {
            context.err << "kalvintor-admin: no class \"" << options.className << "\"\n";
            return kExitFailed;
        }
    }
    store->StatisticsPeriod = static_cast<std::uint8_t>(options.period);
    const bool json = options.format == Format::Json;
    Table table{{"user_id", "login", "name", "class", "exercise", "exercise_name", "last_date", "last_setup",
                 "last_tutor", "last_correct", "last_questions", "last_percent", "sessions", "period_correct",
                 "period_questions", "period_percent", "period_duration", "average_answer_time"},
                {}};
    for (TUserInfo* user : *users) {
        if (classId && user->record.classId != *classId) continue;
        // Every user's results are read fresh, as the overview's refresh does.
        store->LoadResults(user->record.userId);
        store->ComputeStatistics(*user);
        for (int e = 1; e <= data::kExerciseCount; ++e) {
            const auto& s = user->statistics[static_cast<std::size_t>(e - 1)];
            if (s.lastDate == 0 && s.periodSessions == 0) continue;
            table.rows.push_back(
                {id(user->record.userId), user->record.loginName, user->displayName, user->className, id(e),
                 app::ExerciseEnglishName(e), formatDate(s.lastDate), s.lastSetupName, s.lastTutorName,
                 id(s.lastCorrect), id(s.lastQuestions), percentage(e, s.lastCorrect, s.lastQuestions),
                 id(s.periodSessions), id(s.periodCorrect), id(s.periodQuestions),
                 percentage(e, s.periodCorrect, s.periodQuestions),
                 json ? Json(durationSeconds(s.periodDuration)) : Json(formatDuration(s.periodDuration)),
                 json ? Json(durationSeconds(s.averageAnswerTime))
                      : Json(formatDuration(s.averageAnswerTime))});
        }
    }
    table.write(context.out, options.format);
    return kExitOk;
}

}  // namespace kalvintor::admin
