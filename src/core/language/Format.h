// Format texts from the language files: "%d" and "%s" placeholders filled in order.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kalvintor::language {

using FormatArgument = std::variant<long long, std::string>;

// Fills the placeholders of a language format text. A placeholder is "%" [index ":"] ["-"]
// [width] and one of d, u, s; "%%" is a percent sign. Placeholders take the arguments in order
// (an index chooses one). A placeholder without an argument, or of the wrong kind, is replaced
// by what the argument reads as, or left out: a translated text never makes formatting fail.
std::string FormatText(std::string_view format, const std::vector<FormatArgument>& arguments);

}  // namespace kalvintor::language
