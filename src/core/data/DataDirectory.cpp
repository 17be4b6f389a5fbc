// Choosing and checking the data directory.
#include "data/DataDirectory.h"

#include "app/MachineSettings.h"
#include "data/DataFiles.h"
#include "data/TextFormat.h"

namespace kalvintor::data {

namespace {

bool holdsUsers(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_regular_file(dir / file_names::kUsers, ec);
}

// The directory above the data directory: up to and including the separator before its last name.
std::filesystem::path parentDirectory(const std::filesystem::path& dataPath) {
    return app::withTrailingSeparator(dataPath.parent_path().parent_path());
}

}  // namespace

bool ValidateDataDirectory(std::filesystem::path& directory, const DataStore& store,
                           const DataDirectoryQuestions& questions) {
    directory = app::withTrailingSeparator(directory);
    if (holdsUsers(directory)) return true;
    const auto sub = app::withTrailingSeparator(directory / file_names::kDataSubdir);
    if (holdsUsers(sub)) {
        directory = sub;
        return true;
    }
    if (questions.showMessage)
        questions.showMessage(formatText(store.text(texts::kNoUserData), {directory.string()}));
    return false;
}

void ChooseDataDirectory(DataStore& store, bool firstRun, app::MachineRegistry* registry,
                         const DataDirectoryQuestions& questions) {
    const bool found = holdsUsers(store.DataPath());
    if (firstRun || !found) {
        if (questions.hideWelcome) questions.hideWelcome();
        const bool choose = questions.askYesNo && questions.askYesNo(store.text(texts::kChooseDataDirectory));
        if ((choose || !found) && questions.selectFolder) {
            while (auto chosen =
                       questions.selectFolder(store.DataPath(), store.text(texts::kDataDirectoryTitle))) {
                if (ValidateDataDirectory(*chosen, store, questions)) {
                    store.setDataPath(*chosen);
                    break;
                }
            }
        }
        // Machine-setting errors are of no consequence here.
        if (registry && holdsUsers(store.DataPath()))
            registry->writeValue(app::kProgramKey, app::kDataPathValue, store.DataPath().string());
    }
    if (questions.prepareDirectory && !questions.prepareDirectory()) return;
    store.LoadCommon();
    if (!firstRun) return;
    const std::string question = store.text(texts::kSystemLogin1) + "\n" + store.text(texts::kSystemLogin2) +
                                 "\n" + store.text(texts::kSystemLogin3) + "\n\n" +
                                 store.text(texts::kSystemLogin4);
    store.Common.useSystemLogin = questions.askYesNo && questions.askYesNo(question);
    if (store.Common.commonDirectory.empty() && holdsUsers(store.DataPath()))
        store.Common.commonDirectory = parentDirectory(store.DataPath()).string();
    store.SaveCommon();
}

}  // namespace kalvintor::data
