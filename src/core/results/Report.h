// The content of a printed results report: who, which exercises, which period, and per user and
// exercise one line per session with the exercise's totals. Pages are the window side's.
#pragma once

#include "data/DataStore.h"
#include "results/Figures.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::results {

enum class ReportUsers { SingleUser, Class, AllUsers, AllStudents };

// The exercises in the order of the report dialog's rows.
inline constexpr int kReportExerciseOrder[10] = {3, 2, 1, 7, 10, 8, 5, 4, 6, 9};

struct ReportRequest {
    ReportUsers users = ReportUsers::SingleUser;
    std::int16_t classId = 0;    // for ReportUsers::Class
    std::vector<int> exercises;  // checked exercises, in the dialog's row order
    std::string daysText = "7";  // the days box as typed
};

struct ReportLine {
    std::string date;
    std::string time;
    std::string setupName;
    std::string correct;  // "12 /", empty for the rhythm exercises
    std::string questions;
    std::string percent;  // "80%", empty when nothing was asked
    std::string duration;
};

struct ReportExercise {
    int exercise = 0;
    std::string heading;  // empty when only one exercise is reported
    std::vector<ReportLine> lines;
    std::optional<ReportLine> totals;  // when something was asked
    Progress progress;                 // the sessions' scores, for the report's chart
};

struct ReportUser {
    std::string name;       // the sort name
    std::string classLine;  // "Class: 3b", empty when hidden or without a class
    std::string tutorLine;  // "Tutor: ...", empty without a tutor
    std::vector<ReportExercise> exercises;
};

struct Report {
    std::string title;
    std::string printDate;
    std::string printTime;
    std::string selectionLine;  // empty for a single user
    std::string countLine;
    std::string periodLine;
    std::string exerciseName;  // with exactly one exercise
    bool columnHeads = false;  // at least one exercise
    std::vector<std::string> heads;
    std::vector<ReportUser> users;
};

// Texts by language id with their design-time English, and the exercises' captions.
struct ReportTexts {
    std::function<std::string(int id, std::string_view english)> text;
    std::function<std::string(int exercise)> exerciseName;
    std::string tutorCaption = "Tutor";  // the main window's "Tutor" command
};

// The days of the days box: its number, or 1 when it is not a positive number.
int ReportDays(std::string_view typed);

// Builds the report from the store: loads each user's results in turn. Nothing when the request
// names no one to report on (no single user selected, no such class).
std::optional<Report> BuildReport(data::DataStore& store, const ReportRequest& request, records::DateTime now,
                                  const ReportTexts& texts);

}  // namespace kalvintor::results
