// Code page 1252 tables and UTF-8 coding.
#include "records/Cp1252.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kalvintor::records {
namespace {

// Unicode code points of bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t toCodePoint(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<std::uint8_t> toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// The valid UTF-8 sequence starting at `i`, or nothing (overlong forms and surrogates included).
std::optional<Decoded> decodeUtf8At(std::string_view s, std::size_t i) {
    const auto lead = static_cast<std::uint8_t>(s[i]);
    if (lead < 0x80) return Decoded{lead, 1};
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + length > s.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto cont = static_cast<std::uint8_t>(s[i + k]);
        if ((cont & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (cont & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return Decoded{cp, length};
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) appendUtf8(out, toCodePoint(static_cast<std::uint8_t>(c)));
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (auto d = decodeUtf8At(utf8, i)) {
            out += static_cast<char>(toByte(d->codePoint).value_or('?'));
            i += d->length;
        } else {
            out += utf8[i];
            ++i;
        }
    }
    return out;
}

std::string utf8WithCp1252Fallback(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (auto d = decodeUtf8At(bytes, i)) {
            out.append(bytes.substr(i, d->length));
            i += d->length;
        } else {
            appendUtf8(out, toCodePoint(static_cast<std::uint8_t>(bytes[i])));
            ++i;
        }
    }
    return out;
}

}  // namespace kalvintor::records
