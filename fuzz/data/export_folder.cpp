// Fuzz target: an export folder's exuser.dx4 and exresult.dx4 as the import reads them. The input
// is split at its first 620 bytes: the user record (possibly short), then the result file.
#include "FuzzDir.h"
#include "data/Transfer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    namespace fs = std::filesystem;
    const auto root = kalvintor::fuzzing::scratchDir("fuzz-export");
    fs::remove_all(root / "school");
    fs::create_directories(root / "school" / "Data");
    fs::create_directories(root / "stick");
    const std::size_t userPart = size < kUserRecordSize ? size : kUserRecordSize;
    kalvintor::fuzzing::put(root / "stick" / "exuser.dx4", data, userPart);
    kalvintor::fuzzing::put(root / "stick" / "exresult.dx4", data + userPart, size - userPart);

    DataStore store(root / "school" / "Data");
    UserRecord target;
    target.userId = 12;
    store.SaveUser(target);
    store.LoadUsers();
    TransferQuestions yes;
    yes.askYesNo = [](const std::string&) { return true; };
    ImportUser(store, root / "stick", {root / "school" / "Program", root / "school" / "Private"}, yes);
    // Nothing may be written outside the installation and the folder.
    for (const auto& entry : fs::directory_iterator(root))
        if (entry.path().filename() != "school" && entry.path().filename() != "stick") std::abort();
    return 0;
}
