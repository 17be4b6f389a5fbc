// Fuzz target: User.dat as the user list, lookups, login and class-wide rewrites read it.
#include "FuzzDir.h"
#include "data/DataStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-user");
    kalvintor::fuzzing::put(dir / "User.dat", data, size);
    DataStore store(dir);
    store.LoadUsers();
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
    return 0;
}
