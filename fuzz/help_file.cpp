// Fuzz target: help files and their contents page.
#include "language/HelpFile.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::language;
    const auto help = parseHelpFile(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)helpContents(help, "Contents");
    return 0;
}
