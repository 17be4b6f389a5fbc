// Carrying one user's record, results, tutor and setup between installations through a folder.
#pragma once

#include "data/DataStore.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kalvintor::data {

inline constexpr std::string_view kExportUserFile = "exuser.dx4";
inline constexpr std::string_view kExportResultFile = "exresult.dx4";
// Below this many free bytes in the export folder nothing is exported.
inline constexpr std::uintmax_t kMinimumExportSpace = 5000;

enum class Answer { Yes, No, Cancel };

// The dialog's questions and messages; without them every question is answered No (Cancel for
// three-way questions) and messages are dropped.
struct TransferQuestions {
    std::function<Answer(const std::string& question)> askYesNoCancel;
    std::function<bool(const std::string& question)> askYesNo;
    std::function<void(const std::string& text)> showMessage;
    // Offers to store the running session's results before exporting; false = the user cancelled.
    std::function<bool()> saveSessionResults;
    // Free bytes where the folder lies; the file system's figure without it.
    std::function<std::uintmax_t(const std::filesystem::path& folder)> freeSpace;
};

// Directories the import may place a tutor in, besides the common directory.
struct TransferDirectories {
    std::filesystem::path programDir;
    std::filesystem::path setupDir;
};

enum class TransferResult { Done, Stopped, Failed };

// Exports `user` into `folder`: the user record, a copy of the result file, the tutor and the
// setup file.
TransferResult ExportUser(DataStore& store, const UserRecord& user, const std::filesystem::path& folder,
                          const TransferQuestions& questions);

// Imports `folder` into the store's selected user: the newer tutor, the tutor steps when the
// tutors agree, and every result not yet in the user's result file.
TransferResult ImportUser(DataStore& store, const std::filesystem::path& folder,
                          const TransferDirectories& dirs, const TransferQuestions& questions);

}  // namespace kalvintor::data
