// The 380-byte record of a result file (one finished exercise session) and the key that identifies it.
#pragma once

#include "records/Binary.h"
#include "records/DateTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::data {

inline constexpr std::size_t kResultRecordSize = 380;
inline constexpr std::size_t kItemCount = 60;

namespace result_offsets {
inline constexpr std::size_t kUserId = 0;
inline constexpr std::size_t kExercise = 2;
inline constexpr std::size_t kSessionStart = 4;
inline constexpr std::size_t kDuration = 12;
inline constexpr std::size_t kAnswerTime = 20;
inline constexpr std::size_t kTutorName = 28;  // ShortString[51]
inline constexpr std::size_t kSetupName = 80;  // ShortString[51]
inline constexpr std::size_t kTutorStep = 132;
inline constexpr std::size_t kCorrect = 134;
inline constexpr std::size_t kQuestions = 136;
inline constexpr std::size_t kItemStats = 138;  // 60 × (correct, asked), unsigned 16-bit each
}  // namespace result_offsets

inline constexpr std::size_t kResultNameRoom = 51;

struct ItemStat {
    std::uint16_t correct = 0;
    std::uint16_t asked = 0;
    friend bool operator==(const ItemStat&, const ItemStat&) = default;
};

struct ResultRecord {
    std::int16_t userId = 0;  // 0 = dropped by a purge
    std::uint16_t exercise = 0;
    records::DateTime sessionStart = 0;
    records::Duration duration = 0;
    records::Duration answerTime = 0;
    std::string tutorName;
    std::string setupName;
    std::uint16_t tutorStep = 0;
    std::uint16_t correct = 0;  // rhythm exercises: average score
    std::uint16_t questions = 0;
    std::array<ItemStat, kItemCount> itemStats{};

    friend bool operator==(const ResultRecord&, const ResultRecord&) = default;
};

using ResultBytes = std::array<std::uint8_t, kResultRecordSize>;

std::optional<ResultRecord> decodeResultRecord(records::Bytes bytes);
ResultBytes encodeResultRecord(const ResultRecord& record);

// The whole part of SessionStart × 100000, taken modulo 2^32 as an unsigned number, in decimal,
// directly followed by the exercise number in decimal.
std::string ResultKey(const ResultRecord& record);

}  // namespace kalvintor::data
