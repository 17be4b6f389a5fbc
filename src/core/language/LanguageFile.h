// The language file: lines of a numeric id, "=" and a text, read in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::language {

struct LanguageEntry {
    int id = 0;
    std::string text;  // UTF-8, everything after the first "=" as it stands

    friend bool operator==(const LanguageEntry&, const LanguageEntry&) = default;
};

// Every entry of the file in file order. A line is skipped when it is empty, begins with ";",
// holds no "=", or its part before the first "=" is not a decimal integer (surrounding blanks
// allowed). Line ends may be LF or CR LF; a UTF-8 byte order mark is dropped; bytes that are not
// valid UTF-8 are read as code page 1252.
std::vector<LanguageEntry> parseLanguageFile(std::string_view bytes);

// The decimal integer of an id field, or false.
bool parseIntegerField(std::string_view field, int& value);

}  // namespace kalvintor::language
