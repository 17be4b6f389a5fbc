// Fuzz target: Setting.dat as loading, saving and freeing settings records read it. A user's
// saved settings are the ones read back for him, saving and freeing touch his record alone, and a
// partial record at the end never hides a whole one.
#include "FuzzDir.h"
#include "LiveRecords.h"
#include "data/DataStore.h"
#include "settings/SettingRecord.h"

#include <cstdlib>

namespace {

using namespace kalvintor;

std::multiset<std::int16_t> keys(const std::filesystem::path& file) {
    return fuzzing::liveIds(file, settings::kSettingRecordSize, settings::offsets::kKey);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = fuzzing::scratchDir("fuzz-setting");
    const auto file = dir / "Setting.dat";
    fuzzing::put(file, data, size);
    DataStore store(dir);
    store.LoadSettings(7, false);
    store.LoadSettings(1, true);

    auto expected = keys(file);
    if (!expected.contains(7)) expected.insert(7);
    if (store.SaveSettings(7)) {
        if (keys(file) != expected) std::abort();
        const auto written = settings::encodeSettings(store.Settings);
        DataStore reader(dir);
        if (!reader.LoadSettings(7, false)) std::abort();
        if (settings::encodeSettings(reader.Settings) != written) std::abort();
    }
    expected = keys(file);
    if (store.DeleteSettings(7)) {
        if (const auto seven = expected.find(7); seven != expected.end()) expected.erase(seven);
        if (keys(file) != expected) std::abort();
    }
    return 0;
}
