// The help file of a language: topics by number, each a title and an HTML body.
//
// Format (UTF-8, code page 1252 bytes accepted): a line "@@topic N Title" starts topic N; the
// lines up to the next such line are its body. Lines before the first topic are ignored. A topic
// number given twice keeps its first body.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace kalvintor::language {

struct HelpTopic {
    std::string title;
    std::string body;  // HTML
};

using HelpFile = std::map<int, HelpTopic>;

HelpFile parseHelpFile(std::string_view bytes);

// The contents page: every topic as a link "topic:N", in number order.
std::string helpContents(const HelpFile& help, std::string_view heading);

inline constexpr int kHelpContentsTopic = 1;

}  // namespace kalvintor::language
