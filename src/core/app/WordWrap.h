// Word wrap of the start menu's paragraphs and exercise descriptions.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::app {

using TextWidth = std::function<int(std::string_view)>;

// Appends to `lines` an empty line, then the text split at single spaces into lines no wider than
// `limit` as `width` measures them (a line is closed when it plus a space and the next word would
// be wider, even when it is still empty).
void AddParagraph(std::vector<std::string>& lines, std::string_view text, int limit, const TextWidth& width);

}  // namespace kalvintor::app
