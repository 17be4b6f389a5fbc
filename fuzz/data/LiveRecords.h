// What a data file holds, read straight from its bytes: the ids of its live whole records, for
// the fuzz targets to compare with what the store lists.
#pragma once

#include "data/RecordScan.h"
#include "records/Binary.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace kalvintor::fuzzing {

inline std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The 16-bit ids at `idOffset` of every whole record of `file` whose id is not 0 (a free slot);
// a partial record at the end is no record.
inline std::multiset<std::int16_t> liveIds(const std::filesystem::path& file, std::size_t recordSize,
                                           std::size_t idOffset) {
    const std::string content = contentOf(file);
    std::multiset<std::int16_t> ids;
    for (std::size_t i = 0; i < data::wholeRecords(content, recordSize); ++i) {
        const auto id = records::getI16(data::recordAt(content, recordSize, i), idOffset);
        if (id != 0) ids.insert(id);
    }
    return ids;
}

// The ids of what a store's list holds, for comparison with `liveIds`.
template <class List, class IdOf>
std::multiset<std::int16_t> listedIds(const List& list, IdOf idOf) {
    std::multiset<std::int16_t> ids;
    for (const auto& item : list) ids.insert(idOf(*item));
    return ids;
}

}  // namespace kalvintor::fuzzing
