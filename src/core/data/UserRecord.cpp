// Reading and writing the user record, password scrambling and name forms.
#include "data/UserRecord.h"

#include "records/Cp1252.h"

#include <algorithm>

namespace kalvintor::data {

namespace r = records;
using namespace user_offsets;

std::optional<UserRecord> decodeUserRecord(r::Bytes b) {
    if (b.size() < kUserRecordSize) return std::nullopt;
    UserRecord u;
    u.userId = r::getI16(b, kUserId);
    u.accessLevel = r::getI32(b, kAccessLevel);
    u.loginName = r::getShortString(b, kLoginName, kLoginNameRoom);
    std::copy_n(b.begin() + kPassword, u.password.size(), u.password.begin());
    u.fullName = r::getShortString(b, kFullName, kFullNameRoom);
    u.privateDirectory = r::getShortString(b, kPrivateDirectory, kPrivateDirectoryRoom);
    u.allowExerciseSetup = r::getBool(b, kAllowExerciseSetup);
    u.allowTutorChange = r::getBool(b, kAllowTutorChange);
    u.allowEditChords = r::getBool(b, kAllowEditChords);
    u.allowPrivateSettings = r::getBool(b, kAllowPrivateSettings);
    for (std::size_t e = 0; e < u.tutorStep.size(); ++e) u.tutorStep[e] = r::getI32(b, kTutorStep + 4 * e);
    std::copy_n(b.begin() + kReserved, kReservedSize, u.reserved.begin());
    u.tutorFile = r::getShortString(b, kTutorFile, kFileNameRoom);
    u.setupFile = r::getShortString(b, kSetupFile, kFileNameRoom);
    u.classId = r::getI16(b, kClassId);
    return u;
}

UserBytes encodeUserRecord(const UserRecord& u) {
    UserBytes bytes{};
    r::MutableBytes b(bytes);
    r::putI16(b, kUserId, u.userId);
    r::putI32(b, kAccessLevel, u.accessLevel);
    r::putShortString(b, kLoginName, kLoginNameRoom, u.loginName);
    std::copy(u.password.begin(), u.password.end(), bytes.begin() + kPassword);
    r::putShortString(b, kFullName, kFullNameRoom, u.fullName);
    r::putShortString(b, kPrivateDirectory, kPrivateDirectoryRoom, u.privateDirectory);
    r::putBool(b, kAllowExerciseSetup, u.allowExerciseSetup);
    r::putBool(b, kAllowTutorChange, u.allowTutorChange);
    r::putBool(b, kAllowEditChords, u.allowEditChords);
    r::putBool(b, kAllowPrivateSettings, u.allowPrivateSettings);
    for (std::size_t e = 0; e < u.tutorStep.size(); ++e) r::putI32(b, kTutorStep + 4 * e, u.tutorStep[e]);
    std::copy(u.reserved.begin(), u.reserved.end(), bytes.begin() + kReserved);
    r::putShortString(b, kTutorFile, kFileNameRoom, u.tutorFile);
    r::putShortString(b, kSetupFile, kFileNameRoom, u.setupFile);
    r::putI16(b, kClassId, u.classId);
    return bytes;
}

namespace {
// Byte i (1-based) of the field is character i + 47·(i−1) + 77.
std::uint8_t scrambleOffset(std::size_t i) {
    return static_cast<std::uint8_t>((47 * (i - 1) + 77) & 0xFF);
}
}  // namespace

PasswordField ScramblePassword(std::string_view utf8) {
    const std::string text = r::utf8ToCp1252(utf8);
    const std::size_t length = std::min(text.size(), kPasswordRoom);
    PasswordField field{};
    field[0] = static_cast<std::uint8_t>(length);
    for (std::size_t i = 1; i <= length; ++i)
        field[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i - 1]) + scrambleOffset(i));
    return field;
}

std::string UnscramblePassword(const PasswordField& field) {
    const std::size_t length = std::min<std::size_t>(field[0], kPasswordRoom);
    std::string text(length, '\0');
    for (std::size_t i = 1; i <= length; ++i)
        text[i - 1] = static_cast<char>(static_cast<std::uint8_t>(field[i] - scrambleOffset(i)));
    return r::cp1252ToUtf8(text);
}

std::string firstName(std::string_view fullName) {
    return std::string(fullName.substr(0, fullName.find(kNameSeparator)));
}

std::string lastName(std::string_view fullName) {
    const auto at = fullName.find(kNameSeparator);
    return at == std::string_view::npos ? std::string()
                                        : std::string(fullName.substr(at + kNameSeparator.size()));
}

std::string DisplayName(std::string_view fullName) {
    return firstName(fullName) + " " + lastName(fullName);
}

std::string SortName(std::string_view fullName) {
    if (fullName.find(kNameSeparator) == std::string_view::npos) return std::string(fullName);
    return lastName(fullName) + ", " + firstName(fullName);
}

std::string joinFullName(std::string_view first, std::string_view last) {
    return std::string(first) + std::string(kNameSeparator) + std::string(last);
}

std::string upperCp1252(std::string_view cp1252) {
    std::string upper(cp1252);
    for (char& c : upper) {
        const auto b = static_cast<std::uint8_t>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            c = static_cast<char>(b - 32);
        else if (b == 0x9A || b == 0x9C || b == 0x9E)  // š œ ž
            c = static_cast<char>(b - 16);
        else if (b == 0xFF)  // ÿ
            c = static_cast<char>(0x9F);
    }
    return upper;
}

std::string sortKey(std::string_view utf8) {
    return upperCp1252(r::utf8ToCp1252(utf8));
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    const int c = sortKey(a).compare(sortKey(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kalvintor::data
