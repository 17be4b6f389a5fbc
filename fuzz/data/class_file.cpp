// Fuzz target: Class.dat as the class list and lookups read it. The list holds every live whole
// record and nothing else, and deleting a class frees exactly one record.
#include "FuzzDir.h"
#include "LiveRecords.h"
#include "data/DataStore.h"

#include <cstdlib>

namespace {

using namespace kalvintor::data;

std::multiset<std::int16_t> listedIds(const DataStore& store) {
    return kalvintor::fuzzing::listedIds(store.ClassList(), [](const auto& x) { return x.record.classId; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kalvintor::fuzzing::liveIds;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-class");
    const auto file = dir / "Class.dat";
    kalvintor::fuzzing::put(file, data, size);
    std::filesystem::remove(dir / "User.dat");
    auto live = liveIds(file, kClassRecordSize, class_offsets::kClassId);
    DataStore store(dir);
    store.LoadClasses();
    if (listedIds(store) != live) std::abort();
    store.ClassNameOf(1);
    store.ClassExists(1);
    if (!store.ClassList().empty()) {
        const std::int16_t id = store.ClassList().front()->record.classId;
        if (store.DeleteClass(id)) live.erase(live.find(id));
    }
    store.LoadClasses();
    if (listedIds(store) != live || liveIds(file, kClassRecordSize, class_offsets::kClassId) != live)
        std::abort();
    return 0;
}
