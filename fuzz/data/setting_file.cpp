// Fuzz target: Setting.dat as loading, saving and freeing settings records read it.
#include "FuzzDir.h"
#include "data/DataStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-setting");
    kalvintor::fuzzing::put(dir / "Setting.dat", data, size);
    DataStore store(dir);
    store.LoadSettings(7, false);
    store.LoadSettings(1, true);
    store.SaveSettings(7);
    store.DeleteSettings(7);
    return 0;
}
