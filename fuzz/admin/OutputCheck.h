// Checks of what kalvintor-admin prints, for its fuzz targets: well-formed JSON, CSV records of
// one width, and text that is UTF-8 without control characters.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::fuzzing {

// A strict JSON reader that only tells whether the text is one JSON value (with blanks around
// it) and, for an array, how many elements it has.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : text_(text) {}

    // Nothing when the text is not JSON; otherwise the top-level array's length (0 for any other value).
    std::optional<std::size_t> check() {
        blanks();
        std::size_t elements = 0;
        if (!value(0, &elements)) return std::nullopt;
        blanks();
        if (at_ != text_.size()) return std::nullopt;
        return elements;
    }

private:
    static constexpr int kMaxDepth = 64;

    bool value(int depth, std::size_t* elements = nullptr) {
        if (depth > kMaxDepth || at_ >= text_.size()) return false;
        switch (text_[at_]) {
            case '{':
                return object(depth);
            case '[':
                return array(depth, elements);
            case '"':
                return string();
            case 't':
                return word("true");
            case 'f':
                return word("false");
            case 'n':
                return word("null");
            default:
                return number();
        }
    }
    bool object(int depth) {
        ++at_;
        blanks();
        if (take('}')) return true;
        do {
            blanks();
            if (!string()) return false;
            blanks();
            if (!take(':')) return false;
            blanks();
            if (!value(depth + 1)) return false;
            blanks();
        } while (take(','));
        return take('}');
    }
    bool array(int depth, std::size_t* elements) {
        ++at_;
        blanks();
        if (take(']')) return true;
        std::size_t count = 0;
        do {
            blanks();
            if (!value(depth + 1)) return false;
            ++count;
            blanks();
        } while (take(','));
        if (elements) *elements = count;
        return take(']');
    }
    bool string() {
        if (!take('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c != '\\') continue;
            if (at_ >= text_.size()) return false;
            const char e = text_[at_++];
            if (e == 'u') {
                for (int k = 0; k < 4; ++k)
                    if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_++])))
                        return false;
            } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                return false;
            }
        }
        return false;
    }
    bool number() {
        take('-');
        if (!take('0') && !digits()) return false;
        if (take('.') && !digits()) return false;
        if (take('e') || take('E')) {
            if (!take('+')) take('-');
            if (!digits()) return false;
        }
        return true;
    }
    bool digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ > start;
    }
    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }
    bool take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void blanks() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// The records of CSV text as RFC 4180 has them (CR LF after every record); nothing when a quote
// is left open or a record does not end in CR LF.
inline std::optional<std::vector<std::vector<std::string>>> csvRecords(std::string_view text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"' && field.empty()) {
            ++i;
            for (;;) {
                if (i >= text.size()) return std::nullopt;
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\r') return std::nullopt;
            continue;
        }
        if (text[i] == ',') {
            record.push_back(std::move(field));
            field.clear();
            ++i;
        } else if (text[i] == '\r') {
            if (i + 1 >= text.size() || text[i + 1] != '\n') return std::nullopt;
            record.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(record));
            record.clear();
            i += 2;
        } else if (text[i] == '\n' || text[i] == '"') {
            return std::nullopt;
        } else {
            field += text[i++];
        }
    }
    if (!field.empty() || !record.empty()) return std::nullopt;
    return records;
}

// Whether the text is UTF-8 (no overlong forms, no surrogates).
inline bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        if (length == 0 || i + length > text.size()) return false;
        std::uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = cp << 6 | (next & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// Whether text meant for a terminal holds a control character other than the line ends: C0
// controls, DEL, or the C1 controls U+0080..U+009F.
inline bool hasControls(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
            static_cast<unsigned char>(text[i + 1]) >= 0x80)
            return true;
    }
    return false;
}

}  // namespace kalvintor::fuzzing
