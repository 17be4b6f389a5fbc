// Reading help files.
#include "language/HelpFile.h"

#include "language/LanguageFile.h"
#include "records/Cp1252.h"

namespace kalvintor::language {
namespace {

constexpr std::string_view kTopicMark = "@@topic ";

std::string escapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

HelpFile parseHelpFile(std::string_view raw) {
    const std::string text = records::utf8WithCp1252Fallback(raw);
    std::string_view bytes = text;
    HelpFile help;
    HelpTopic* current = nullptr;
    bool keepBody = false;
    while (!bytes.empty()) {
        const std::size_t lineEnd = bytes.find('\n');
        std::string_view line = bytes.substr(0, lineEnd);
        bytes.remove_prefix(lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (line.starts_with(kTopicMark)) {
            std::string_view rest = line.substr(kTopicMark.size());
            const std::size_t space = rest.find(' ');
            int number = 0;
            if (parseIntegerField(rest.substr(0, space), number)) {
                const std::string title(space == std::string_view::npos ? "" : rest.substr(space + 1));
                auto [it, inserted] = help.try_emplace(number, HelpTopic{title, {}});
                current = &it->second;
                keepBody = inserted;
                continue;
            }
        }
        if (current && keepBody) {
            current->body.append(line);
            current->body += '\n';
        }
    }
    return help;
}

std::string helpContents(const HelpFile& help, std::string_view heading) {
    std::string html = "<h1>" + escapeHtml(heading) + "</h1>\n<ul>\n";
    for (const auto& [number, topic] : help) {
        if (number == kHelpContentsTopic) continue;
        html += "<li><a href=\"topic:" + std::to_string(number) + "\">" + escapeHtml(topic.title) +
                "</a></li>\n";
    }
    return html + "</ul>\n";
}

}  // namespace kalvintor::language
