// Filling the placeholders of language formats.
#include "data/TextFormat.h"

namespace kalvintor::data {

std::string formatText(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string out;
    auto next = arguments.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char kind = pattern[i + 1];
        if (kind == '%') {
            out += '%';
            ++i;
        } else if (kind == 's' || kind == 'd') {
            if (next != arguments.end()) out += *next++;
            ++i;
        } else {
            out += '%';
        }
    }
    return out;
}

}  // namespace kalvintor::data
