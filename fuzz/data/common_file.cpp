// Fuzz target: Common.dat as loading, saving and id taking read it.
#include "FuzzDir.h"
#include "data/DataStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-common");
    kalvintor::fuzzing::put(dir / "Common.dat", data, size);
    DataStore store(dir);
    store.LoadCommon();
    store.ResolveTutorPath("Course.tut");
    store.NextId(IdKind::User);
    store.NextId(IdKind::Class);
    store.SaveCommon();
    return 0;
}
