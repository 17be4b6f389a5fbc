// The 188-byte class record of Class.dat.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::data {

inline constexpr std::size_t kClassRecordSize = 188;

namespace class_offsets {
inline constexpr std::size_t kClassName = 0;  // ShortString[31]
inline constexpr std::size_t kClassId = 32;
inline constexpr std::size_t kTeacherId = 34;
inline constexpr std::size_t kTutorFile = 36;  // ShortString[151]
}  // namespace class_offsets

inline constexpr std::size_t kClassNameRoom = 31;
// The stored tutor name that means "no tutor".
inline constexpr std::string_view kNoTutor = "\\";

struct ClassRecord {
    std::string className;
    std::int16_t classId = 0;    // 0 marks a deleted class
    std::int16_t teacherId = 0;  // 0 = none
    std::string tutorFile{kNoTutor};

    friend bool operator==(const ClassRecord&, const ClassRecord&) = default;
};

using ClassBytes = std::array<std::uint8_t, kClassRecordSize>;

std::optional<ClassRecord> decodeClassRecord(records::Bytes bytes);
ClassBytes encodeClassRecord(const ClassRecord& record);

}  // namespace kalvintor::data
