// Reading a class roster: encoding, delimiter and columns found from the file itself, fields as
// spreadsheets quote them, and each row checked against what a user record can hold.
#include "admin/Roster.h"

#include "records/Cp1252.h"

#include <algorithm>
#include <array>
#include <random>

namespace kalvintor::admin {

namespace {

enum class Column { First, Last, Login, Class, Level, Other };

constexpr std::array<std::string_view, 5> kColumnNames{"first name", "last name", "login", "class", "level"};

// Names a header cell may carry, compared without letter case, blanks, '_', '-' and '.'.
Column columnOf(std::string_view cell) {
    std::string key;
    for (const char c : cell) {
        if (c == ' ' || c == '_' || c == '-' || c == '.' || c == '\t') continue;
        key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    static const std::array<std::pair<std::string_view, Column>, 18> kNames{{
        {"firstname", Column::First},
        {"first", Column::First},
        {"givenname", Column::First},
        {"forename", Column::First},
        {"lastname", Column::Last},
        {"last", Column::Last},
        {"surname", Column::Last},
        {"familyname", Column::Last},
        {"login", Column::Login},
        {"loginname", Column::Login},
        {"username", Column::Login},
        {"user", Column::Login},
        {"class", Column::Class},
        {"classname", Column::Class},
        {"level", Column::Level},
        {"accesslevel", Column::Level},
        {"access", Column::Level},
        {"role", Column::Level},
    }};
    for (const auto& [name, column] : kNames)
        if (key == name) return column;
    return Column::Other;
}

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        std::size_t extra = 0;
        std::uint32_t minimum = 0;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
            minimum = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            minimum = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        std::uint32_t cp = b & (0x3Fu >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto c = static_cast<std::uint8_t>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// The text split into records of fields. A quoted field may hold the delimiter, doubled quotes
// and line breaks; line ends are CR LF, LF or a lone CR.
struct Record {
    int line = 0;
    std::vector<std::string> fields;
};

struct Split {
    std::vector<Record> records;
    int openQuoteLine = 0;  // a quote never closed, opened on this line
};

Split splitRecords(std::string_view text, char delimiter) {
    Split split;
    Record current{1, {std::string()}};
    int line = 1;
    bool quoted = false;
    bool fieldStarted = false;  // something other than blanks has been seen in the field
    int quoteLine = 0;
    auto endRecord = [&] {
        split.records.push_back(std::move(current));
        current = Record{line, {std::string()}};
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    current.fields.back() += '"';
                    ++i;
                } else {
                    quoted = false;
                }
                continue;
            }
            if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
            current.fields.back() += c;
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            quoteLine = line;
            current.fields.back().clear();
        } else if (c == delimiter) {
            current.fields.emplace_back();
            fieldStarted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++line;
            endRecord();
        } else {
            if (c != ' ' && c != '\t') fieldStarted = true;
            current.fields.back() += c;
        }
    }
    if (quoted) split.openQuoteLine = quoteLine;
    if (current.fields.size() > 1 || !current.fields.front().empty())
        split.records.push_back(std::move(current));
    return split;
}

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

struct Layout {
    std::array<int, 5> index{-1, -1, -1, -1, -1};  // field of each Column, -1 when absent
    std::string duplicate;                         // a column named twice
};

Layout layoutOf(const Record& header) {
    Layout layout;
    for (std::size_t f = 0; f < header.fields.size(); ++f) {
        const Column column = columnOf(trimmed(header.fields[f]));
        if (column == Column::Other) continue;
        auto& slot = layout.index[static_cast<std::size_t>(column)];
        if (slot >= 0) layout.duplicate = kColumnNames[static_cast<std::size_t>(column)];
        slot = static_cast<int>(f);
    }
    return layout;
}

bool hasRequired(const Layout& layout) {
    return layout.index[0] >= 0 && layout.index[1] >= 0 && layout.index[2] >= 0;
}

std::string firstLineOf(std::string_view text) {
    std::string line(text.substr(0, std::min(text.find_first_of("\r\n"), std::size_t{60})));
    return records::utf8WithCp1252Fallback(line);
}

// The characters of a UTF-8 text that code page 1252 cannot hold, each once.
std::vector<std::string> unholdable(std::string_view utf8) {
    std::vector<std::string> found;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        const std::string character(utf8.substr(i, length));
        i += length;
        if (records::cp1252ToUtf8(records::utf8ToCp1252(character)) != character &&
            std::ranges::find(found, character) == found.end())
            found.push_back(character);
    }
    return found;
}

bool hasControl(std::string_view cp1252) {
    return std::ranges::any_of(cp1252, [](char c) {
        const auto b = static_cast<std::uint8_t>(c);
        return b < 0x20 || b == 0x7F;
    });
}

std::string joined(const std::vector<std::string>& characters) {
    std::string text;
    for (const auto& c : characters) text += (text.empty() ? "" : " ") + c;
    return text;
}

// A name as stored: characters the code page cannot hold become '?' with a warning.
std::string storable(std::string_view what, const std::string& value, std::vector<std::string>& warnings) {
    const auto bad = unholdable(value);
    if (bad.empty()) return value;
    warnings.push_back(std::string(what) + " \"" + value + "\": " + joined(bad) +
                       " cannot be stored in the records' character set and is replaced by '?'");
    return records::cp1252ToUtf8(records::utf8ToCp1252(value));
}

}  // namespace

RosterParse parseRoster(std::string_view bytes) {
    RosterParse result;
    if (bytes.size() > kMaxRosterBytes) {
        result.error = "is too large for a roster (more than 64 MB)";
        return result;
    }
    const bool bom = bytes.starts_with("\xEF\xBB\xBF");
    if (bom) bytes.remove_prefix(3);
    if (bytes.find('\0') != std::string_view::npos) {
        result.error = "is not a text file (it holds zero bytes); save the roster as CSV";
        return result;
    }
    const bool utf8 = isValidUtf8(bytes);
    const std::string text = utf8 ? std::string(bytes) : records::cp1252ToUtf8(bytes);
    if (trimmed(text).find_first_not_of("\r\n") == std::string::npos) {
        result.error = "is empty";
        return result;
    }

    // The delimiter is the one that makes the header name the columns.
    const std::string_view firstLine = std::string_view(text).substr(0, text.find_first_of("\r\n"));
    Roster roster;
    roster.cp1252 = !utf8;
    std::optional<Layout> layout;
    Layout best;
    for (const char delimiter : {';', ','}) {
        const auto header = splitRecords(firstLine, delimiter);
        if (header.records.empty()) continue;
        const Layout candidate = layoutOf(header.records.front());
        if (hasRequired(candidate)) {
            layout = candidate;
            roster.delimiter = delimiter;
            break;
        }
        const auto found = [](const Layout& l) {
            return std::ranges::count_if(l.index, [](int i) { return i >= 0; });
        };
        if (found(candidate) > found(best)) best = candidate;
    }
    if (!layout) {
        std::string missing;
        for (std::size_t c = 0; c < 3; ++c)
            if (best.index[c] < 0) missing += (missing.empty() ? "" : ", ") + std::string(kColumnNames[c]);
        result.error =
            "is not a roster: its first line must name the columns first name, last name and login "
            "(class and level may follow), separated by commas or semicolons; " +
            std::string(best.index == Layout{}.index ? "no column is named" : "missing: " + missing) +
            " (first line: \"" + firstLineOf(text) + "\")";
        return result;
    }
    if (!layout->duplicate.empty()) {
        result.error = "is not a roster: its header names the column " + layout->duplicate + " twice";
        return result;
    }

    const Split split = splitRecords(text, roster.delimiter);
    if (split.openQuoteLine > 0) {
        result.error = "is not a roster: a quote opened on line " + std::to_string(split.openQuoteLine) +
                       " is never closed";
        return result;
    }
    const int needed = *std::ranges::max_element(layout->index);
    for (std::size_t r = 1; r < split.records.size(); ++r) {
        const Record& record = split.records[r];
        // Rows left empty in the spreadsheet come out as delimiters only.
        if (std::ranges::all_of(record.fields, [](const std::string& f) { return trimmed(f).empty(); }))
            continue;
        RosterRow row;
        row.line = record.line;
        row.missingColumns = static_cast<int>(record.fields.size()) <= needed;
        auto field = [&](Column column) {
            const int at = layout->index[static_cast<std::size_t>(column)];
            return at >= 0 && at < static_cast<int>(record.fields.size())
                       ? trimmed(record.fields[static_cast<std::size_t>(at)])
                       : std::string();
        };
        row.firstName = field(Column::First);
        row.lastName = field(Column::Last);
        row.login = field(Column::Login);
        row.className = field(Column::Class);
        row.level = field(Column::Level);
        roster.rows.push_back(std::move(row));
    }
    if (roster.rows.empty()) {
        result.error = "holds a header but no rows";
        return result;
    }
    result.roster = std::move(roster);
    return result;
}

std::optional<std::int32_t> parseLevel(std::string_view text) {
    std::string lower;
    for (const char c : text) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower.empty() || lower == "student") return data::kStudent;
    if (lower == "teacher") return data::kTeacher;
    if (lower == "administrator" || lower == "admin") return data::kAdministrator;
    return std::nullopt;
}

CheckedRow checkRow(const RosterRow& row) {
    CheckedRow checked;
    checked.row = row;
    auto refuse = [&](std::string why) {
        checked.refusal = std::move(why);
        checked.level.reset();
        return checked;
    };
    if (row.missingColumns) return refuse("has fewer fields than the header names columns");
    if (row.login.empty()) return refuse("has no login");
    if (row.firstName.empty() || row.lastName.empty())
        return refuse(std::string("has no ") + (row.firstName.empty() ? "first" : "last") + " name");
    const auto level = parseLevel(row.level);
    if (!level)
        return refuse("has the unknown level \"" + row.level + "\" (use student, teacher or administrator)");

    // The login is typed at the login dialog: it must be stored exactly as given.
    if (const auto bad = unholdable(row.login); !bad.empty())
        return refuse("login \"" + row.login + "\" holds " + joined(bad) +
                      ", which the records' character set cannot hold");
    const std::string login = records::utf8ToCp1252(row.login);
    if (hasControl(login) || login.find(' ') != std::string::npos)
        return refuse("login \"" + row.login + "\" holds a blank or a control character");
    if (login.size() > data::kLoginNameRoom)
        return refuse("login \"" + row.login + "\" is longer than " + std::to_string(data::kLoginNameRoom) +
                      " characters");

    checked.firstName = storable("first name", row.firstName, checked.warnings);
    checked.lastName = storable("last name", row.lastName, checked.warnings);
    checked.className = storable("class", row.className, checked.warnings);
    const std::string first = records::utf8ToCp1252(checked.firstName);
    const std::string last = records::utf8ToCp1252(checked.lastName);
    const std::string className = records::utf8ToCp1252(checked.className);
    if (hasControl(first + last + className)) return refuse("holds a control character in a name");
    // The section sign separates first and last name in the stored full name.
    if (first.find('\xA7') != std::string::npos || last.find('\xA7') != std::string::npos)
        return refuse("holds the character \xC2\xA7 in a name");
    if (first.size() + 1 + last.size() > data::kFullNameRoom)
        return refuse("name \"" + row.firstName + " " + row.lastName + "\" is longer than " +
                      std::to_string(data::kFullNameRoom - 1) +
                      " characters for first and last name together");
    if (className.size() > data::kClassNameRoom)
        return refuse("class \"" + row.className + "\" is longer than " +
                      std::to_string(data::kClassNameRoom) + " characters");
    checked.login = row.login;
    checked.level = *level;
    return checked;
}

std::string generatePassword() {
    // No 0/O/o, 1/l/I/i, 5/S/s, 2/Z/z, 8/B, u/v: what is read aloud or copied from paper is typed right.
    static constexpr std::string_view kAlphabet = "abcdefghjkmnpqrtwxyACDEFGHJKLMNPQRTWXY34679";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string password;
    for (int i = 0; i < 10; ++i) password += kAlphabet[pick(random)];
    return password;
}

}  // namespace kalvintor::admin
