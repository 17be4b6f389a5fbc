// Word wrap.
#include "app/WordWrap.h"

namespace kalvintor::app {

void AddParagraph(std::vector<std::string>& lines, std::string_view text, int limit, const TextWidth& width) {
    lines.emplace_back();
    std::string line;
    while (true) {
        const std::size_t space = text.find(' ');
        const std::string word(text.substr(0, space));
        if (width(line + " " + word) > limit) {
            lines.push_back(line);  // even when still empty: a word too wide for any line
            line = word;
        } else {
            line = line.empty() ? word : line + " " + word;
        }
        if (space == std::string_view::npos) break;
        text.remove_prefix(space + 1);
    }
    if (!line.empty()) lines.push_back(line);
}

}  // namespace kalvintor::app
