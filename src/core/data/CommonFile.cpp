// Common.dat: the site-wide record and the id counters every workstation takes from.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"

#include <limits>

namespace kalvintor::data {

void DataStore::LoadCommon() {
    FileError error;
    const auto file = readSharedFile(dataPath_ / file_names::kCommon, &error);
    if (file) {
        if (const auto record = decodeCommonRecord(asBytes(*file))) {
            Common = *record;
            return;
        }
    } else if (error.kind != FileFailure::Missing) {
        lastError_ = error;
        return;  // there but unreadable: keep what we have
    }
    // Missing or without a whole record. It is created only when nobody else has created it, and
    // read again under its lock: a workstation starting beside another one on a new data
    // directory must not reset the counters the other has begun to hand out.
    auto locked = openForUpdate(file_names::kCommon, texts::kSaveCommonBusy);
    if (!locked) {
        if (!file) Common = CommonRecord{};
        return;
    }
    CommonBytes stored{};
    if (locked->readAt(0, stored) == kCommonRecordSize) {
        Common = *decodeCommonRecord(stored);
        return;
    }
    Common = CommonRecord{};
    finish(*locked, texts::kSaveCommonBusy, locked->writeAt(0, encodeCommonRecord(Common)));
}

bool DataStore::SaveCommon() {
    auto file = openForUpdate(file_names::kCommon, texts::kSaveCommonBusy);
    if (!file) return false;
    CommonBytes stored{};
    CommonRecord record = Common;
    if (file->readAt(0, stored) == kCommonRecordSize) {
        // Ids handed out by other workstations must never be handed out again.
        const auto onFile = *decodeCommonRecord(stored);
        record.nextClassId = Common.nextClassId = onFile.nextClassId;
        record.nextUserId = Common.nextUserId = onFile.nextUserId;
    }
    return finish(*file, texts::kSaveCommonBusy, file->writeAt(0, encodeCommonRecord(record)));
}

// One id is a block of one: a counter that a damaged Common.dat leaves at 0 or below, or one past
// the largest id, hands out nothing rather than an id no record may hold.
std::int16_t DataStore::NextId(IdKind kind) {
    return NextIds(kind, 1);
}

std::int16_t DataStore::NextIds(IdKind kind, int count) {
    if (count < 1) return 0;
    auto file = openForUpdate(file_names::kCommon, texts::kDataFileBusy);
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
    // Ids are signed 16-bit and 0 marks a free slot: a block that would wrap is refused whole. A
    // block ending at the largest id leaves 0, which no later call hands out.
    constexpr int kLargest = std::numeric_limits<std::int16_t>::max();
    const int next = static_cast<int>(taken) + count;
    if (taken < 1 || next - 1 > kLargest) return 0;
    counter = static_cast<std::int16_t>(next > kLargest ? 0 : next);
    if (!finish(*file, texts::kDataFileBusy, file->writeAt(0, encodeCommonRecord(record)))) return 0;
    Common.nextClassId = record.nextClassId;
    Common.nextUserId = record.nextUserId;
    return taken;
}

}  // namespace kalvintor::data
