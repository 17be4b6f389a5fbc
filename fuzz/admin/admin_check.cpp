// Fuzz target: the data directory check over damaged files. The input is cut at each "@@" into
// User.dat, Class.dat, Common.dat, Setting.dat and Result/User002.dat; the check must only read.
#include "../data/FuzzDir.h"
#include "admin/Admin.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const auto root = kalvintor::fuzzing::scratchDir("fuzz-admin-check");
    fs::remove_all(root / "Data");
    fs::create_directories(root / "Data" / "Result");
    const char* names[] = {"User.dat", "Class.dat", "Common.dat", "Setting.dat", "Result/User002.dat"};
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (const char* name : names) {
        const auto end = std::min(input.find("@@", at), input.size());
        kalvintor::fuzzing::put(root / "Data" / name, data + at, end - at);
        at = std::min(end + 2, input.size());
    }
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "Data"))
        files += entry.is_regular_file();
    kalvintor::admin::findFaults(root / "Data");
    std::size_t after = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "Data"))
        after += entry.is_regular_file();
    if (after != files) std::abort();
    return 0;
}
