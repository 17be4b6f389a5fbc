// A class roster as schools export it from their spreadsheets: the rows of accounts to create,
// and the checks that turn each row into a user record or a clear reason why not.
#pragma once

#include "data/ClassRecord.h"
#include "data/UserRecord.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::admin {

// Larger files are no roster: a school of 10,000 students fits in well under a megabyte.
inline constexpr std::size_t kMaxRosterBytes = 64u * 1024u * 1024u;

// One row as read, in UTF-8 with blanks at the ends of each field taken away.
struct RosterRow {
    int line = 0;  // where the row starts in the file (the header is line 1)
    std::string firstName;
    std::string lastName;
    std::string login;
    std::string className;
    std::string level;
    bool missingColumns = false;  // the row ends before a column the header names
};

struct Roster {
    std::vector<RosterRow> rows;
    char delimiter = ',';
    bool cp1252 = false;  // the file was not UTF-8 and was read as code page 1252
};

// The rows of a roster file, or a message saying why the file is no roster at all (not text, no
// header naming the columns, an unknown column layout, a quote left open).
struct RosterParse {
    std::optional<Roster> roster;
    std::string error;
};
RosterParse parseRoster(std::string_view bytes);

// An account the checks accepted, in the records' terms, with what it said about the row.
struct CheckedRow {
    RosterRow row;
    std::optional<std::int32_t> level;                  // nothing when the row was refused
    std::vector<std::string> warnings;                  // characters replaced
    std::string refusal;                                // why the row creates nothing; empty when accepted
    std::string firstName, lastName, login, className;  // as they will be stored (UTF-8)
};

// The level of a "level" field: student (the default when empty), teacher or administrator, in
// any letter case; nothing for an unknown one.
std::optional<std::int32_t> parseLevel(std::string_view text);

// Checks one row on its own: a login given and able to be typed at the login dialog, first and
// last name given, every text within its field in the records' code page (characters it cannot
// hold replaced with a warning), a known level.
CheckedRow checkRow(const RosterRow& row);

// A readable password: letters and digits without the ones easily mistaken for each other.
std::string generatePassword();

}  // namespace kalvintor::admin
