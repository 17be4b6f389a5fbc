// The 448-byte header at the start of a tutor file, and where a stored tutor name leads.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::tutor {

inline constexpr std::size_t kTutorHeaderSize = 448;
inline constexpr std::uint16_t kTutorVersion = 24229;  // hex 5EA5: the current layout
inline constexpr int kStepStartCount = 20;

namespace header_offsets {
inline constexpr std::size_t kTutorName = 0;     // ShortString[51]
inline constexpr std::size_t kDescription = 52;  // ShortString[255]
inline constexpr std::size_t kAuthor = 308;      // ShortString[39]
inline constexpr std::size_t kStepStart = 348;   // 20 × signed 16-bit
inline constexpr std::size_t kVersion = 388;
inline constexpr std::size_t kUnused = 390;
inline constexpr std::size_t kUnusedSize = 58;
}  // namespace header_offsets

inline constexpr std::size_t kTutorNameRoom = 51;
inline constexpr std::size_t kDescriptionRoom = 255;
inline constexpr std::size_t kAuthorRoom = 39;

struct TutorHeader {
    std::string tutorName;
    std::string description;
    std::string author;
    // StepStart(e) for e = 1..20 at index e − 1: the 1-based number of exercise e's first step.
    std::array<std::int16_t, kStepStartCount> stepStart{};
    std::uint16_t tutorVersion = kTutorVersion;
    std::array<std::uint8_t, header_offsets::kUnusedSize> unused{};

    // StepStart(e + 1) − StepStart(e) for exercise 1..10, as the file states it (may be negative
    // in a damaged file).
    int stepsOf(int exercise) const;

    friend bool operator==(const TutorHeader&, const TutorHeader&) = default;
};

using TutorHeaderBytes = std::array<std::uint8_t, kTutorHeaderSize>;

std::optional<TutorHeader> decodeTutorHeader(records::Bytes bytes);
TutorHeaderBytes encodeTutorHeader(const TutorHeader& header);

// Reads only the header of a tutor file; nothing when the file cannot be opened or is shorter.
std::optional<TutorHeader> ReadTutorHeader(const std::filesystem::path& file);

// A stored tutor name that holds a directory separator is a path; a bare name lies in the
// common directory.
std::filesystem::path ResolveTutorPath(std::string_view name, const std::filesystem::path& commonDirectory);
// Empty or "\" means the user or class has no tutor.
bool isNoTutor(std::string_view name);
// The part of a stored name after its last separator of either kind.
std::string storedFileName(std::string_view name);

}  // namespace kalvintor::tutor
