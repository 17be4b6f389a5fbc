// Building a report's content from the store.
#include "results/Report.h"

#include "results/ResultFormat.h"

#include <charconv>
#include <cmath>

namespace kalvintor::results {

namespace {

std::string textOf(const ReportTexts& t, int id, std::string_view english) {
    return t.text ? t.text(id, english) : std::string(english);
}

std::string percentText(int value) {
    return std::to_string(value) + "%";
}

ReportExercise exercisePart(data::DataStore& store, int exercise, records::DateTime cutOff, bool withHeading,
                            const ReportTexts& texts) {
    ReportExercise part;
    part.exercise = exercise;
    store.FilterResults(exercise, cutOff);
    const bool score = holdsScore(exercise);
    std::uint64_t sumCorrect = 0;
    std::uint64_t sumQuestions = 0;
    records::Duration sumDuration = 0;
    for (const data::TResultInfo* result : store.FilteredResults()) {
        const data::ResultRecord& r = result->record;
        ReportLine line;
        line.date = FormatDate(r.sessionStart);
        line.time = FormatTime(r.sessionStart);
        line.setupName = r.setupName;
        line.questions = std::to_string(r.questions);
        if (score) {
            line.percent = percentText(r.correct);
        } else {
            line.correct = std::to_string(r.correct) + " /";
            if (r.questions != 0) line.percent = percentText(r.correct * 100 / r.questions);
        }
        line.duration = FormatDuration(r.duration, true);
        part.lines.push_back(std::move(line));
        sumCorrect += r.correct;
        sumQuestions += r.questions;
        sumDuration += r.duration;
    }
    part.progress = ProgressOf(store.FilteredResults(), exercise);
    if (withHeading && !part.lines.empty())
        part.heading = texts.exerciseName ? texts.exerciseName(exercise) : std::string("error");
    if (sumQuestions > 0) {
        ReportLine totals;
        totals.questions = std::to_string(sumQuestions);
        if (score) {
            totals.percent = percentText(static_cast<int>(sumCorrect / part.lines.size()));
        } else {
            totals.correct = std::to_string(sumCorrect) + " /";
            totals.percent = percentText(static_cast<int>(sumCorrect * 100 / sumQuestions));
        }
        totals.duration = FormatDuration(sumDuration, true);
        part.totals = totals;
    }
    return part;
}

}  // namespace

int ReportDays(std::string_view typed) {
    while (!typed.empty() && typed.front() == ' ') typed.remove_prefix(1);
    while (!typed.empty() && typed.back() == ' ') typed.remove_suffix(1);
    int days = 0;
    const auto [end, error] = std::from_chars(typed.data(), typed.data() + typed.size(), days);
    if (error != std::errc() || end != typed.data() + typed.size() || days < 1) return 1;
    return days;
}

std::optional<Report> BuildReport(data::DataStore& store, const ReportRequest& request, records::DateTime now,
                                  const ReportTexts& texts) {
    Report report;
    report.title = textOf(texts, 6000, "Results report");
    report.printDate = FormatDate(now);
    report.printTime = FormatTime(now);
    const std::string usersWord = textOf(texts, 6002, "Users");

    std::vector<data::TUserInfo*> users;
    bool classLines = true;
    switch (request.users) {
        case ReportUsers::SingleUser: {
            data::TUserInfo* user = store.SelectedUser();
            if (user == nullptr) return std::nullopt;
            if (!user->statisticsValid) store.ComputeStatistics(*user);
            users.push_back(user);
            report.countLine = usersWord + ": 1";
            break;
        }
        case ReportUsers::Class: {
            if (!store.ClassExists(request.classId)) return std::nullopt;
            store.FilterUsers(-1, request.classId);
            users = store.FilteredUsers();
            report.selectionLine = textOf(texts, 6006, "Class:") + " " + store.ClassNameOf(request.classId);
            classLines = false;
            break;
        }
        case ReportUsers::AllStudents:
            store.FilterUsers(data::kMaskStudent, -1);
            users = store.FilteredUsers();
            report.selectionLine = textOf(texts, 6004, "All students");
            break;
        case ReportUsers::AllUsers:
            for (const auto& user : store.UserList()) users.push_back(user.get());
            report.selectionLine = textOf(texts, 6003, "All users");
            break;
    }
    if (request.users != ReportUsers::SingleUser) {
        report.countLine = usersWord + ": " + std::to_string(users.size());
        store.ComputeAllStatistics(false);
    }

    const int days = ReportDays(request.daysText);
    const records::DateTime cutOff = std::floor(now) - days;
    report.periodLine = textOf(texts, 6014, "Results from past") + " " + std::to_string(days) + " " +
                        textOf(texts, 6016, "day(s)");
    const bool single = request.exercises.size() == 1;
    if (single && texts.exerciseName) report.exerciseName = texts.exerciseName(request.exercises.front());
    report.columnHeads = !request.exercises.empty();
    if (report.columnHeads)
        report.heads = {textOf(texts, 4500, "Date"),       textOf(texts, 4502, "Time"),
                        textOf(texts, 4506, "Level name"), textOf(texts, 230, "Correct") + " /",
                        textOf(texts, 240, "Total"),       "%",
                        textOf(texts, 4504, "Duration")};

    const std::string classCaption = textOf(texts, 6006, "Class:");
    for (data::TUserInfo* user : users) {
        ReportUser part;
        part.name = user->sortName;
        if (classLines && !user->className.empty()) part.classLine = classCaption + " " + user->className;
        if (!user->tutorTitle.empty()) part.tutorLine = texts.tutorCaption + ": " + user->tutorTitle;
        store.LoadResults(user->record.userId);
        for (int exercise : request.exercises)
            part.exercises.push_back(exercisePart(store, exercise, cutOff, !single, texts));
        report.users.push_back(std::move(part));
    }
    return report;
}

}  // namespace kalvintor::results
