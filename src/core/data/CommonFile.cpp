// Common.dat: the site-wide record and the id counters every workstation takes from.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"

#include <fstream>

namespace kalvintor::data {

void DataStore::LoadCommon() {
    const auto path = dataPath_ / file_names::kCommon;
    auto file = readSharedFile(path);
    if (!file) {
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) return;  // there but unreadable: keep what we have
        std::ofstream{path, std::ios::binary};
        file.emplace();
    }
    if (const auto record = decodeCommonRecord(asBytes(*file))) {
        Common = *record;
        return;
    }
    Common = CommonRecord{};
    SaveCommon();
}

bool DataStore::SaveCommon() {
    auto file = openForUpdate(dataPath_ / file_names::kCommon, texts::kSaveCommonBusy);
    if (!file) return false;
    CommonBytes stored{};
    CommonRecord record = Common;
    if (file->readAt(0, stored) == kCommonRecordSize) {
        // Ids handed out by other workstations must never be handed out again.
        const auto onFile = *decodeCommonRecord(stored);
        record.nextClassId = Common.nextClassId = onFile.nextClassId;
        record.nextUserId = Common.nextUserId = onFile.nextUserId;
    }
    return file->writeAt(0, encodeCommonRecord(record));
}

std::int16_t DataStore::NextId(IdKind kind) {
    auto file = openForUpdate(dataPath_ / file_names::kCommon, texts::kDataFileBusy);
    if (!file) return 0;
    CommonBytes stored{};
    CommonRecord record = Common;
    if (file->readAt(0, stored) == kCommonRecordSize) {
        record = *decodeCommonRecord(stored);
    } else {
        showError(std::string(texts::kIdErrorMessage));
    }
    std::int16_t& counter = kind == IdKind::Class ? record.nextClassId : record.nextUserId;
    const std::int16_t taken = counter;
    counter = static_cast<std::int16_t>(counter + 1);
    // An id that was not stored as taken could be handed out twice.
    if (!file->writeAt(0, encodeCommonRecord(record))) return 0;
    Common.nextClassId = record.nextClassId;
    Common.nextUserId = record.nextUserId;
    return taken;
}

}  // namespace kalvintor::data
