// Fuzz target: User.dat as the user list, lookups, login and class-wide rewrites read it. The list
// holds every live whole record and nothing else (no free slot with id 0, no partial record at
// the end), and the class-wide rewrites neither lose nor make up a user.
#include "FuzzDir.h"
#include "LiveRecords.h"
#include "data/DataStore.h"

#include <cstdlib>

namespace {

using namespace kalvintor::data;

std::multiset<std::int16_t> listedIds(const DataStore& store) {
    return kalvintor::fuzzing::listedIds(store.UserList(), [](const auto& x) { return x.record.userId; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kalvintor::fuzzing::liveIds;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-user");
    const auto file = dir / "User.dat";
    kalvintor::fuzzing::put(file, data, size);
    const auto live = liveIds(file, kUserRecordSize, user_offsets::kUserId);
    DataStore store(dir);
    store.LoadUsers();
    if (listedIds(store) != live) std::abort();
    store.FilterUsers(-1, -1);
    store.FilterUsers(kMaskTeacher, 1);
    store.CheckLogin("ANNA", "abc");
    store.FindUser(2, "", true);
    store.CountAdministrators();
    if (!store.UserList().empty()) {
        UserRecord first = store.UserList().front()->record;
        store.ReloadUser(first);
        store.SetClassTutor(first.classId, "Course.tut");
        store.ClearClass(first.classId);
    }
    store.LoadUsers();
    if (listedIds(store) != live || liveIds(file, kUserRecordSize, user_offsets::kUserId) != live)
        std::abort();
    return 0;
}
