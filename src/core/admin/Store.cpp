// Opening the data store for the admin commands.
#include "admin/Store.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "data/RecordScan.h"
#include "data/SharedFile.h"

#include <array>
#include <charconv>
#include <chrono>
#include <thread>

namespace kalvintor::admin {

namespace fs = std::filesystem;

std::unique_ptr<data::DataStore> makeStore(const Context& context, const fs::path& directory) {
    data::StoreEnvironment environment;
    environment.languageDir = context.programDir / "Language";
    environment.now = context.now;
    data::StoreCallbacks callbacks;
    callbacks.lockWait.pause = context.pause ? context.pause : [](int ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    // A file held by a workstation is waited for a few series, then given up; a script must not
    // hang on a workstation that crashed with the file open.
    auto series = std::make_shared<int>(0);
    std::ostream* err = &context.err;
    const int limit = context.lockSeries;
    callbacks.lockWait.askRetry = [series, err, limit](const std::string& message) {
        if (++*series >= limit) {
            *err << "kalvintor-admin: gave up waiting: " << message << '\n';
            return false;
        }
        return true;
    };
    callbacks.showError = [err](const std::string& text) { *err << "kalvintor-admin: " << text << '\n'; };

    return std::make_unique<data::DataStore>(directory, std::move(environment), std::move(callbacks));
}

std::unique_ptr<data::DataStore> openStore(const Context& context) {
    auto store = makeStore(context, context.dataDir);
    fs::path directory = context.dataDir;
    std::ostream* err = &context.err;
    data::DataDirectoryQuestions questions;
    questions.showMessage = [err](const std::string& text) { *err << "kalvintor-admin: " << text << '\n'; };
    if (!data::ValidateDataDirectory(directory, *store, questions)) {
        *err << "kalvintor-admin: a new data directory is prepared with 'kalvintor-admin --data DIR init'\n";
        return nullptr;
    }
    store->setDataPath(directory);
    readCommon(*store);
    return store;
}

void readCommon(data::DataStore& store) {
    const auto bytes = data::readSharedFile(store.DataPath() / data::file_names::kCommon);
    const auto record = bytes ? data::decodeCommonRecord(data::asBytes(*bytes)) : std::nullopt;
    store.Common = record ? *record : data::CommonRecord{};
}

data::TUserInfo* findUser(const data::DataStore& store, std::string_view loginOrId) {
    const auto id = parseNumber(loginOrId);
    for (const auto& user : store.UserList()) {
        if (id ? user->record.userId == *id
               : data::compareIgnoringCase(user->record.loginName, loginOrId) == 0)
            return user.get();
    }
    return nullptr;
}

std::optional<fs::path> existingResultFile(const data::DataStore& store, std::int16_t userId) {
    std::error_code ec;
    // Without the result directory there are no results; asking for a name would create it.
    if (!fs::is_directory(store.DataPath() / data::file_names::kResultDir, ec)) return std::nullopt;
    auto file = store.ResultFileName(userId);
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    return file;
}

std::string_view levelName(std::int32_t accessLevel) {
    switch (accessLevel & 15) {
        case data::kStudent:
            return "student";
        case data::kTeacher:
            return "teacher";
        case data::kAdministrator:
            return "administrator";
        default:
            return "unknown";
    }
}

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace kalvintor::admin
