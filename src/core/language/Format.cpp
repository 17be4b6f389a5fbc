// Language format texts.
#include "language/Format.h"

#include <cctype>

namespace kalvintor::language {
namespace {

std::string asText(const FormatArgument& argument) {
    if (const auto* number = std::get_if<long long>(&argument)) return std::to_string(*number);
    return std::get<std::string>(argument);
}

std::size_t readNumber(std::string_view s, std::size_t& i) {
    std::size_t value = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && value < 1000) {
        value = value * 10 + static_cast<std::size_t>(s[i] - '0');
        ++i;
    }
    return value;
}

}  // namespace

std::string FormatText(std::string_view format, const std::vector<FormatArgument>& arguments) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        const std::size_t start = i++;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            continue;
        }
        std::size_t index = next;
        std::size_t mark = i;
        const std::size_t number = readNumber(format, i);
        if (i < format.size() && format[i] == ':' && i > mark) {
            index = number;
            ++i;
        } else {
            i = mark;
        }
        const bool left = i < format.size() && format[i] == '-';
        if (left) ++i;
        const std::size_t width = readNumber(format, i);
        if (i >= format.size() || (format[i] != 'd' && format[i] != 'u' && format[i] != 's')) {
            out.append(format.substr(start, i - start + (i < format.size() ? 1 : 0)));
            continue;
        }
        std::string text = index < arguments.size() ? asText(arguments[index]) : std::string();
        next = index + 1;
        if (text.size() < width) {
            const std::string pad(width - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

}  // namespace kalvintor::language
