// The record search of the data files: fixed-size records from the start, a partial record at the
// end never used.
#pragma once

#include "records/Binary.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace kalvintor::data {

inline records::Bytes asBytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

inline std::size_t wholeRecords(std::string_view file, std::size_t recordSize) {
    return file.size() / recordSize;
}

inline records::Bytes recordAt(std::string_view file, std::size_t recordSize, std::size_t index) {
    return asBytes(file.substr(index * recordSize, recordSize));
}

// Offset of the first whole record for which `matches` holds.
template <typename Match>
std::optional<std::uint64_t> findRecord(std::string_view file, std::size_t recordSize, Match matches) {
    for (std::size_t i = 0; i < wholeRecords(file, recordSize); ++i)
        if (matches(recordAt(file, recordSize, i))) return static_cast<std::uint64_t>(i * recordSize);
    return std::nullopt;
}

}  // namespace kalvintor::data
