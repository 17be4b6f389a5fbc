// Dates and times on the command line and in listings: ISO text to stored date-times and back.
#pragma once

#include "records/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::admin {

// "YYYY-MM-DD" (midnight) or "YYYY-MM-DDTHH:MM" (a space may stand for the T), local time.
// Nothing for anything else, an impossible date included.
std::optional<records::DateTime> parseDate(std::string_view text);

// "YYYY-MM-DD" and "HH:MM:SS" of a stored date-time.
std::string formatDate(records::DateTime value);
std::string formatTime(records::DateTime value);

// A duration as hours, minutes and seconds, "H:MM:SS"; whole days count into the hours, so a
// session of 26 hours reads 26:00:00. Negative or non-finite durations read 0:00:00.
std::string formatDuration(records::Duration value);
// Whole seconds of a duration, rounded to milliseconds; 0 for negative or non-finite values.
double durationSeconds(records::Duration value);

}  // namespace kalvintor::admin
