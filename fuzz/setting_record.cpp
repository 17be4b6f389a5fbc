// Fuzz target: stored settings records; whatever decodes must encode back to the same bytes.
#include "settings/SettingRecord.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::settings;
    const auto settings = decodeSettings(std::span<const std::uint8_t>(data, size));
    if (settings) {
        const auto bytes = encodeSettings(*settings);
        if (!std::equal(bytes.begin(), bytes.end(), data)) std::abort();
    }
    return 0;
}
