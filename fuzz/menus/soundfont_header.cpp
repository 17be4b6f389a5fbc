// Fuzz target: the header check of SoundFont files chosen by the user.
#include "settings/SoundFonts.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)kalvintor::settings::IsSoundFontHeader(std::span<const std::uint8_t>(data, size));
    return 0;
}
