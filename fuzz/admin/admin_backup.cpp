// Fuzz target: a backup of a damaged data directory. The input is cut at each "@@" into User.dat,
// Class.dat, Common.dat and Result/User002.dat; the backup reads them again in its copy to raise
// the id counters, and must neither crash nor touch the data directory.
#include "../data/FuzzDir.h"
#include "admin/Admin.h"

#include <cstdlib>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const auto root = kalvintor::fuzzing::scratchDir("fuzz-admin-backup");
    fs::remove_all(root / "Data");
    fs::remove_all(root / "Backup");
    fs::create_directories(root / "Data" / "Result");
    const char* names[] = {"User.dat", "Class.dat", "Common.dat", "Result/User002.dat"};
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (const char* name : names) {
        const auto end = std::min(input.find("@@", at), input.size());
        kalvintor::fuzzing::put(root / "Data" / name, data + at, end - at);
        at = std::min(end + 2, input.size());
    }
    const auto common = fs::file_size(root / "Data" / "Common.dat");
    std::ostringstream out;
    std::ostringstream err;
    kalvintor::admin::Context context{root / "Data", root, out, err, {}, [](int) {}, 1};
    kalvintor::admin::backupData(context, root / "Backup");
    if (fs::file_size(root / "Data" / "Common.dat") != common) std::abort();
    return 0;
}
