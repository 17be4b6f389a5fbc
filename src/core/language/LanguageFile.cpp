// Parsing of language files.
#include "language/LanguageFile.h"

#include "records/Cp1252.h"

#include <charconv>

namespace kalvintor::language {
namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool parseIntegerField(std::string_view field, int& value) {
    field = trimBlanks(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    const char* end = field.data() + field.size();
    auto [ptr, ec] = std::from_chars(field.data(), end, value);
    return ec == std::errc() && ptr == end;
}

std::vector<LanguageEntry> parseLanguageFile(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());

    std::vector<LanguageEntry> entries;
    while (!bytes.empty()) {
        const std::size_t lineEnd = bytes.find('\n');
        std::string_view line = bytes.substr(0, lineEnd);
        bytes.remove_prefix(lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (line.empty() || line.front() == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        int id = 0;
        if (!parseIntegerField(line.substr(0, equals), id)) continue;
        entries.push_back({id, records::utf8WithCp1252Fallback(line.substr(equals + 1))});
    }
    return entries;
}

}  // namespace kalvintor::language
