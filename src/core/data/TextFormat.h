// Language formats: "%s" and "%d" in a text are replaced by the arguments in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kalvintor::data {

// "%%" gives one "%"; a placeholder without an argument left is dropped.
std::string formatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace kalvintor::data
