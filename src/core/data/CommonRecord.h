// The 160-byte record of Common.dat: site-wide login options, the id counters and the common directory.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::data {

inline constexpr std::size_t kCommonRecordSize = 160;

namespace common_offsets {
inline constexpr std::size_t kUseSystemLogin = 0;
inline constexpr std::size_t kAllowNewUsers = 1;
inline constexpr std::size_t kAllowGuestLogin = 2;
inline constexpr std::size_t kReserved = 3;
inline constexpr std::size_t kNextClassId = 4;
inline constexpr std::size_t kNextUserId = 6;
inline constexpr std::size_t kCommonDirectory = 8;  // ShortString[151]
}  // namespace common_offsets

struct CommonRecord {
    bool useSystemLogin = true;
    bool allowNewUsers = true;
    bool allowGuestLogin = true;
    std::uint8_t reserved = 0;
    std::int16_t nextClassId = 1;
    std::int16_t nextUserId = 2;  // id 1 is the guest's
    std::string commonDirectory;  // shared *.lvs and *.tut files, with a trailing separator when set

    friend bool operator==(const CommonRecord&, const CommonRecord&) = default;
};

using CommonBytes = std::array<std::uint8_t, kCommonRecordSize>;

std::optional<CommonRecord> decodeCommonRecord(records::Bytes bytes);
CommonBytes encodeCommonRecord(const CommonRecord& record);

}  // namespace kalvintor::data
