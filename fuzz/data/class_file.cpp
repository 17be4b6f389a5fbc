// Fuzz target: Class.dat as the class list and lookups read it.
#include "FuzzDir.h"
#include "data/DataStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-class");
    kalvintor::fuzzing::put(dir / "Class.dat", data, size);
    DataStore store(dir);
    store.LoadClasses();
    store.ClassNameOf(1);
    store.ClassExists(1);
    if (!store.ClassList().empty()) store.DeleteClass(store.ClassList().front()->record.classId);
    store.LoadClasses();
    return 0;
}
