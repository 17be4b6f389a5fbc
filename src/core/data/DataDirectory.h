// The start-up check of the data directory and the first-run questions.
#pragma once

#include "data/DataStore.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kalvintor::app {
class MachineRegistry;
}

namespace kalvintor::data {

// The questions are asked by the user interface; without them nothing is asked, no folder is
// chosen and the answers are No.
struct DataDirectoryQuestions {
    std::function<void()> hideWelcome;
    std::function<bool(const std::string& question)> askYesNo;
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& start,
                                                       const std::string& title)>
        selectFolder;
    std::function<void(const std::string& text)> showMessage;
    // Makes the directory settled on usable (made when missing, with a user file) before Common is
    // read and written there; false when it cannot be, and then nothing is read or written.
    std::function<bool()> prepareDirectory;
};

// Accepts a directory holding User.dat, or one whose Data subdirectory holds it (the directory
// then becomes that subdirectory); the directory gets a trailing separator. A refusal is shown.
bool ValidateDataDirectory(std::filesystem::path& directory, const DataStore& store,
                           const DataDirectoryQuestions& questions);

// Checks the store's data directory, lets the user choose another on a first run or when it holds
// no users, stores an accepted one in the machine settings, has it prepared, loads Common and asks
// the first-run login question.
void ChooseDataDirectory(DataStore& store, bool firstRun, app::MachineRegistry* registry,
                         const DataDirectoryQuestions& questions);

}  // namespace kalvintor::data
