// Text decorations of the language loader.
#include "language/Decoration.h"

#include <cstdint>

namespace kalvintor::language {
namespace {

constexpr std::size_t kHeadingWidth = 32;

bool isContinuation(char c) { return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if (!isContinuation(c)) ++n;
    return n;
}

std::string toUpperLatin(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(utf8[i]);
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < utf8.size()) {
            // U+00E0..U+00FE except U+00F7 (division sign) map 0x20 down.
            auto next = static_cast<std::uint8_t>(utf8[i + 1]);
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next = static_cast<std::uint8_t>(next - 0x20);
            out += static_cast<char>(c);
            out += static_cast<char>(next);
            ++i;
        } else if (c == 0xC5 && i + 1 < utf8.size()) {
            // š→Š (A1→A0), œ→Œ (93→92), ž→Ž (BE→BD)
            auto next = static_cast<std::uint8_t>(utf8[i + 1]);
            if (next == 0xA1 || next == 0x93 || next == 0xBE) next = static_cast<std::uint8_t>(next - 1);
            out += static_cast<char>(c);
            out += static_cast<char>(next);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string decorate(std::string_view utf8, Decoration decoration) {
    std::string text(utf8);
    switch (decoration) {
    case Decoration::None:
        return text;
    case Decoration::MenuTitle:
        return "&" + text;
    case Decoration::OpensDialog:
    case Decoration::ReportCaption:
        return text + "...";
    case Decoration::Label:
        return text + ":";
    case Decoration::ChooserNote:
        return "* = " + text;
    case Decoration::SetupHeading: {
        const std::size_t length = characterCount(text);
        const std::size_t dashes = length < kHeadingWidth ? kHeadingWidth - length : 0;
        return "-- " + toUpperLatin(text) + " " + std::string(dashes, '-');
    }
    }
    return text;
}

}  // namespace kalvintor::language
