// The 620-byte user record of User.dat, its scrambled password field and the names built from it.
#pragma once

#include "records/Binary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvintor::data {

inline constexpr std::size_t kUserRecordSize = 620;
inline constexpr int kExerciseCount = 10;

namespace user_offsets {
inline constexpr std::size_t kUserId = 0;
inline constexpr std::size_t kAccessLevel = 4;
inline constexpr std::size_t kLoginName = 8;          // ShortString[19]
inline constexpr std::size_t kPassword = 28;          // length byte + 15 scrambled bytes
inline constexpr std::size_t kFullName = 44;          // ShortString[31]
inline constexpr std::size_t kPrivateDirectory = 76;  // ShortString[149]
inline constexpr std::size_t kAllowExerciseSetup = 226;
inline constexpr std::size_t kAllowTutorChange = 227;
inline constexpr std::size_t kAllowEditChords = 228;
inline constexpr std::size_t kAllowPrivateSettings = 229;
inline constexpr std::size_t kTutorStep = 232;  // 10 × signed 32-bit
inline constexpr std::size_t kReserved = 272;
inline constexpr std::size_t kReservedSize = 40;
inline constexpr std::size_t kTutorFile = 312;  // ShortString[151]
inline constexpr std::size_t kSetupFile = 464;  // ShortString[151]
inline constexpr std::size_t kClassId = 616;
}  // namespace user_offsets

inline constexpr std::size_t kLoginNameRoom = 19;
inline constexpr std::size_t kPasswordRoom = 15;
inline constexpr std::size_t kFullNameRoom = 31;
inline constexpr std::size_t kPrivateDirectoryRoom = 149;
inline constexpr std::size_t kFileNameRoom = 151;

enum AccessLevel : std::int32_t { kGuest = 0, kStudent = 1, kTeacher = 2, kAdministrator = 3 };

// The character between first and last name in a stored full name (section sign, 167).
inline constexpr std::string_view kNameSeparator = "\xC2\xA7";

using PasswordField = std::array<std::uint8_t, kPasswordRoom + 1>;

struct UserRecord {
    std::int16_t userId = 1;
    std::int32_t accessLevel = kStudent;
    std::string loginName;
    PasswordField password{};
    std::string fullName;  // first name, section sign, last name
    std::string privateDirectory;
    bool allowExerciseSetup = true;
    bool allowTutorChange = true;
    bool allowEditChords = true;
    bool allowPrivateSettings = true;
    std::array<std::int32_t, kExerciseCount> tutorStep{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};  // index 0 = exercise 1
    std::array<std::uint8_t, user_offsets::kReservedSize> reserved{};
    std::string tutorFile;  // empty or "\" = no tutor
    std::string setupFile;
    std::int16_t classId = 0;

    bool isAdministrator() const { return (accessLevel & 15) == kAdministrator; }
    friend bool operator==(const UserRecord&, const UserRecord&) = default;
};

using UserBytes = std::array<std::uint8_t, kUserRecordSize>;

// Reads the first 620 bytes; nothing when fewer are given.
std::optional<UserRecord> decodeUserRecord(records::Bytes bytes);
// Padding and the bytes after each text are written as 0.
UserBytes encodeUserRecord(const UserRecord& record);

// The stored password field of a text (code page 1252, cut to 15 characters) and back.
PasswordField ScramblePassword(std::string_view utf8);
std::string UnscramblePassword(const PasswordField& field);

// "First§Last" → "First Last"; without the separator the whole name is the first name.
std::string firstName(std::string_view fullName);
std::string lastName(std::string_view fullName);
std::string DisplayName(std::string_view fullName);
// "Last, First", or the first name alone when there is no last name part.
std::string SortName(std::string_view fullName);
// Joins the two parts as stored.
std::string joinFullName(std::string_view first, std::string_view last);

// Code page 1252 upper case (ASCII and the accented Latin letters) of 8-bit text.
std::string upperCp1252(std::string_view cp1252);
// Case-insensitive order of two UTF-8 texts, as the sorted lists use.
int compareIgnoringCase(std::string_view a, std::string_view b);
// The form of a UTF-8 text that orders as compareIgnoringCase does under plain comparison.
std::string sortKey(std::string_view utf8);

// Sorts a list of objects by a name, case-insensitively; equal names keep their order.
template <typename List, typename Name>
void sortByName(List& list, Name name) {
    std::vector<std::pair<std::string, typename List::value_type>> keyed;
    keyed.reserve(list.size());
    for (auto& item : list) keyed.emplace_back(sortKey(name(item)), std::move(item));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) list[i] = std::move(keyed[i].second);
}

}  // namespace kalvintor::data
