// Fuzz target: a machine settings file as the admin tool reads it for the data directory.
#include "admin/MachineIni.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor;
    const auto ini = admin::parseIni(std::string_view(reinterpret_cast<const char*>(data), size));
    admin::IniRegistry registry(ini);
    const auto startup = app::readStartupValues(registry, "/nonexistent/Data/",
                                                [](const std::filesystem::path&) { return false; });
    // No directory exists, so the default must stand whatever the file says.
    if (startup.dataPath != "/nonexistent/Data/") std::abort();
    return 0;
}
