// Classes of Class.dat: the class list, lookups, saving and deleting.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"

#include <algorithm>

namespace kalvintor::data {

namespace r = records;
using namespace class_offsets;

namespace {
std::int16_t classIdOf(r::Bytes record) {
    return r::getI16(record, kClassId);
}
}  // namespace

void DataStore::LoadClasses() {
    classesLoaded_ = true;
    const auto file = readSharedFile(dataPath_ / file_names::kClasses);
    if (!file) return;
    std::size_t position = 0;
    for (std::size_t i = 0; i < wholeRecords(*file, kClassRecordSize); ++i) {
        const auto bytes = recordAt(*file, kClassRecordSize, i);
        if (classIdOf(bytes) == 0) continue;
        if (position == classList_.size()) classList_.push_back(std::make_unique<TClassInfo>());
        classList_[position++]->record = *decodeClassRecord(bytes);
    }
    classList_.resize(position);
    sortByName(classList_, [](const auto& c) -> const std::string& { return c->record.className; });
}

std::string DataStore::ClassNameOf(std::int16_t classId) {
    if (!classesLoaded_) LoadClasses();
    for (const auto& c : classList_)
        if (c->record.classId == classId) return c->record.className;
    return {};
}

bool DataStore::ClassExists(std::int16_t classId) const {
    if (classId == 0) return false;
    const auto file = readSharedFile(dataPath_ / file_names::kClasses);
    return file && findRecord(*file, kClassRecordSize, [&](r::Bytes b) { return classIdOf(b) == classId; });
}

bool DataStore::SaveClass(const ClassRecord& record) {
    // Id 0 marks a deleted class; saving it would overwrite the first hole.
    if (record.classId == 0) return false;
    auto file = openForUpdate(file_names::kClasses, texts::kDataFileBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kDataFileBusy);
    if (!content) return false;
    const auto at =
        findRecord(*content, kClassRecordSize, [&](r::Bytes b) { return classIdOf(b) == record.classId; });
    return finish(*file, texts::kDataFileBusy,
                  file->writeAt(at ? *at : file->appendOffset(kClassRecordSize), encodeClassRecord(record)));
}

bool DataStore::DeleteClass(std::int16_t classId) {
    if (classId == 0 || !ClearClass(classId)) return false;
    auto file = openForUpdate(file_names::kClasses, texts::kDataFileBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kDataFileBusy);
    if (!content) return false;
    const auto at =
        findRecord(*content, kClassRecordSize, [&](r::Bytes b) { return classIdOf(b) == classId; });
    if (!at) return false;
    ClassBytes bytes{};
    std::copy_n(content->begin() + static_cast<std::ptrdiff_t>(*at), kClassRecordSize, bytes.begin());
    r::putI16(bytes, kClassId, 0);
    return finish(*file, texts::kDataFileBusy, file->writeAt(*at, bytes));
}

}  // namespace kalvintor::data
