// Names of the files of the data directory.
#pragma once

#include <string_view>

namespace kalvintor::data::file_names {

inline constexpr std::string_view kUsers = "User.dat";
inline constexpr std::string_view kClasses = "Class.dat";
inline constexpr std::string_view kCommon = "Common.dat";
inline constexpr std::string_view kSettings = "Setting.dat";
inline constexpr std::string_view kResultDir = "Result";
inline constexpr std::string_view kDataSubdir = "Data";
// A moved-aside result file while an import rewrites it: "x" in front of the name.
inline constexpr std::string_view kAsidePrefix = "x";

}  // namespace kalvintor::data::file_names
