// The columns of the user overview: their titles, widths and visibility, kept in the settings.
#pragma once

#include "settings/SettingRecord.h"

#include <array>
#include <cstdint>

namespace kalvintor::ui {

inline constexpr int kUserColumns = 10;

struct UserColumn {
    int titleId;
    const char* english;
    int width;
    bool visible;
};

using UserColumnTable = std::array<UserColumn, kUserColumns>;

UserColumnTable defaultUserColumns();

// The first ten 8-byte entries of the settings' column area: width (i32) and shown (byte).
// An area that never held a layout (all zero) leaves the table as it is.
void readUserColumns(const settings::Settings& from, UserColumnTable& table);
void writeUserColumns(const UserColumnTable& table, settings::Settings& into);

}  // namespace kalvintor::ui
