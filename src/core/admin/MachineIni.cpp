// A reader of the INI format the machine settings are stored in.
#include "admin/MachineIni.h"

#include "app/ProgramPaths.h"
#include "files/Files.h"

#include <vector>

namespace kalvintor::admin {

namespace {

// Nothing a settings file holds comes near this.
constexpr std::uintmax_t kMaxSettingsFileSize = 1024 * 1024;

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Reads up to `maxDigits` digits of `base` at `at`; advances `at` past them.
unsigned readDigits(std::string_view s, std::size_t& at, int base, std::size_t maxDigits) {
    unsigned value = 0;
    for (std::size_t n = 0; n < maxDigits && at < s.size(); ++n) {
        const int d = hexDigit(s[at]);
        if (d < 0 || d >= base) break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        ++at;
    }
    return value;
}

// Key and group names: "%XX" is a byte, "%UXXXX" a character.
std::string unescapeKey(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 5 < s.size() && s[i + 1] == 'U') {
            std::size_t at = i + 2;
            const std::size_t start = at;
            const unsigned code = readDigits(s, at, 16, 4);
            if (at - start == 4) {
                appendUtf8(out, code);
                i = at - 1;
                continue;
            }
        }
        if (s[i] == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
            continue;
        }
        out += s[i];
    }
    return out;
}

// A value: quoted parts and escapes; a comma outside quotes separates the items of a list, and
// a list of several items is no text (the settings writer never stores one for these values).
std::string unescapeValue(std::string_view s) {
    std::vector<std::string> items(1);
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            // Blanks around the separator belong to neither item.
            items.back() = std::string(trim(items.back()));
            items.emplace_back();
        } else if (c == '\\' && i + 1 < s.size()) {
            const char e = s[++i];
            switch (e) {
                case 'a':
                    items.back() += '\a';
                    break;
                case 'b':
                    items.back() += '\b';
                    break;
                case 'f':
                    items.back() += '\f';
                    break;
                case 'n':
                    items.back() += '\n';
                    break;
                case 'r':
                    items.back() += '\r';
                    break;
                case 't':
                    items.back() += '\t';
                    break;
                case 'v':
                    items.back() += '\v';
                    break;
                case 'x': {
                    std::size_t at = i + 1;
                    appendUtf8(items.back(), readDigits(s, at, 16, 4));
                    i = at - 1;
                    break;
                }
                case '0':
                case '1':
                case '2':
                case '3':
                case '4':
                case '5':
                case '6':
                case '7': {
                    std::size_t at = i;
                    appendUtf8(items.back(), readDigits(s, at, 8, 3));
                    i = at - 1;
                    break;
                }
                default:
                    items.back() += e;
            }
        } else {
            items.back() += c;
        }
    }
    if (items.size() > 1) return {};
    return items.front();
}

// The value part of a line without its comment: a ';' outside quotes ends it.
std::string_view withoutComment(std::string_view s) {
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == '"') {
            quoted = !quoted;
        } else if (s[i] == ';' && !quoted) {
            return s.substr(0, i);
        }
    }
    return s;
}

}  // namespace

IniFile parseIni(std::string_view text) {
    IniFile ini;
    std::string group = "General";
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(at, end - at));
        at = end;
        while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
        // A backslash at the end of a line continues the value on the next line.
        while (!line.empty() && line.back() == '\\' && at < text.size()) {
            line.pop_back();
            std::size_t next = text.find_first_of("\r\n", at);
            if (next == std::string_view::npos) next = text.size();
            line += trim(text.substr(at, next - at));
            at = next;
            while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
        }
        const std::string_view content = trim(line);
        if (content.empty() || content.front() == ';' || content.front() == '#') continue;
        if (content.front() == '[') {
            const auto close = content.find(']');
            if (close != std::string_view::npos) group = unescapeKey(trim(content.substr(1, close - 1)));
            continue;
        }
        const auto equals = content.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = unescapeKey(trim(content.substr(0, equals)));
        if (key.empty()) continue;
        ini.groups[group][key] = unescapeValue(trim(withoutComment(content.substr(equals + 1))));
    }
    return ini;
}

bool IniRegistry::keyExists(std::string_view key) const {
    return file_.groups.contains(std::string(key));
}

std::optional<std::string> IniRegistry::readValue(std::string_view key, std::string_view value) const {
    const auto group = file_.groups.find(std::string(key));
    if (group == file_.groups.end()) return std::nullopt;
    const auto found = group->second.find(std::string(value));
    if (found == group->second.end()) return std::nullopt;
    return found->second;
}

std::filesystem::path defaultDataDirectory(const std::filesystem::path& programDir,
                                           const std::filesystem::path& settingsFile) {
    const auto paths = app::makeProgramPaths(programDir);
    const auto text = files::readFile(settingsFile, kMaxSettingsFileSize);
    IniRegistry registry(text ? parseIni(*text) : IniFile{});
    return app::readStartupValues(registry, paths.dataPath,
                                  [](const std::filesystem::path& dir) {
                                      std::error_code ec;
                                      return std::filesystem::is_directory(dir, ec);
                                  })
        .dataPath;
}

}  // namespace kalvintor::admin
