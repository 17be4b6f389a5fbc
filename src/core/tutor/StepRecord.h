// The 448-byte record of one tutor step and the step object with its whole hint.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::tutor {

inline constexpr std::size_t kStepRecordSize = 448;
inline constexpr std::size_t kStepSetupSize = 100;
inline constexpr std::size_t kHintRoom = 255;
// Hint text kept beyond the record on loading; the editor accepts 2300 characters in all.
inline constexpr std::size_t kMaxHintRest = 2048;

namespace step_offsets {
inline constexpr std::size_t kStepName = 0;  // ShortString[51]
inline constexpr std::size_t kHint = 52;     // ShortString[255]
inline constexpr std::size_t kUpgradePercent = 308;
inline constexpr std::size_t kDowngradePercent = 309;
inline constexpr std::size_t kStepQuestions = 310;
inline constexpr std::size_t kUnused312 = 312;  // 4 bytes
inline constexpr std::size_t kStepSetup = 316;  // 100 bytes
inline constexpr std::size_t kUnused416 = 416;  // 30 bytes
inline constexpr std::size_t kHintRestLength = 446;
}  // namespace step_offsets

inline constexpr std::size_t kStepNameRoom = 51;

struct StepRecord {
    std::string stepName;
    std::string hint;  // the first 255 characters of the hint
    std::uint8_t upgradePercent = 90;
    std::uint8_t downgradePercent = 55;
    std::int16_t stepQuestions = 20;
    std::array<std::uint8_t, 4> unused312{};
    // The exercise's block of the setup record, byte for byte; the rest is unused.
    std::array<std::uint8_t, kStepSetupSize> stepSetup{};
    std::array<std::uint8_t, 30> unused416{};
    std::uint16_t hintRestLength = 0;

    friend bool operator==(const StepRecord&, const StepRecord&) = default;
};

using StepBytes = std::array<std::uint8_t, kStepRecordSize>;

std::optional<StepRecord> decodeStepRecord(records::Bytes bytes);
StepBytes encodeStepRecord(const StepRecord& record);

// One step: its record and the hint beyond the record's 255 characters.
struct TTutorObject {
    StepRecord record;
    std::string hintRest;  // UTF-8

    // Hint followed by HintRest.
    std::string fullHint() const { return record.hint + hintRest; }
    // Splits a hint (UTF-8) into the record's 255 characters and the remainder, and sets the
    // remainder's stored length.
    void setHint(const std::string& utf8);
    // The remainder as stored after the record (code page 1252).
    std::string hintRestBytes() const;
};

}  // namespace kalvintor::tutor
