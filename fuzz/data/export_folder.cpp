// Fuzz target: an export folder's exuser.dx4 and exresult.dx4 as the import reads them. The input
// is split at its first 620 bytes: the user record (possibly short), then the result file.
// Nothing is written outside the installation, and the school's files hold whole records only.
#include "FuzzDir.h"
#include "LiveRecords.h"
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
    // The school lists the live users of its User.dat, and no result file it holds ends in part
    // of a record: a short record on the stick is never taken over.
    const auto dataDir = root / "school" / "Data";
    store.LoadUsers();
    std::multiset<std::int16_t> listed;
    for (const auto& u : store.UserList()) listed.insert(u->record.userId);
    if (listed != kalvintor::fuzzing::liveIds(dataDir / "User.dat", kUserRecordSize, user_offsets::kUserId))
        std::abort();
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(dataDir, error))
        if (entry.path().parent_path().filename() == "Result" && entry.is_regular_file() &&
            entry.file_size() % kResultRecordSize != 0)
            std::abort();
    return 0;
}
