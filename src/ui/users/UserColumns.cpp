// The user overview's column table and its place in the settings.
#include "users/UserColumns.h"

#include <algorithm>

namespace kalvintor::ui {

UserColumnTable defaultUserColumns() {
    return {{{0, "", 15, true},
             {6320, "Name", 150, true},
             {6322, "Last date", 150, true},
             {6324, "Last level", 150, true},
             {6326, "Last result", 150, true},
             {4512, "Week exercise time", 150, true},
             {4518, "Average answer time", 150, true},
             {4514, "Week result sum", 150, true},
             {6332, "Tutor", 150, false},
             {6330, "Class", 150, false}}};
}

void readUserColumns(const settings::Settings& from, UserColumnTable& table) {
    const auto& area = from.columnLayout;
    if (std::all_of(area.begin(), area.begin() + 8 * kUserColumns, [](std::uint8_t b) { return b == 0; }))
        return;
    for (int i = 0; i < kUserColumns; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 8;
        const int width = area[at] | area[at + 1] << 8 | area[at + 2] << 16 | area[at + 3] << 24;
        auto& column = table[static_cast<std::size_t>(i)];
        if (width > 0 && width < 2000) column.width = width;
        column.visible = i < 2 || area[at + 4] != 0;
    }
}

void writeUserColumns(const UserColumnTable& table, settings::Settings& into) {
    for (int i = 0; i < kUserColumns; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 8;
        const auto& column = table[static_cast<std::size_t>(i)];
        const auto width = static_cast<std::uint32_t>(column.width);
        for (std::size_t b = 0; b < 4; ++b)
            into.columnLayout[at + b] = static_cast<std::uint8_t>(width >> (8 * b));
        into.columnLayout[at + 4] = column.visible ? 1 : 0;
        for (std::size_t b = 5; b < 8; ++b) into.columnLayout[at + b] = 0;
    }
}

}  // namespace kalvintor::ui
