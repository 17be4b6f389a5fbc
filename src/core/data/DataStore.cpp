// The data store's own state: paths, texts, messages and the clock.
#include "data/DataStore.h"

#include "data/DataFiles.h"
#include "language/Language.h"
#include "tutor/TutorHeader.h"

#include <cstdio>

namespace kalvintor::data {

DataStore::DataStore(std::filesystem::path dataPath, StoreEnvironment environment, StoreCallbacks callbacks)
    : environment_(std::move(environment)), callbacks_(std::move(callbacks)) {
    setDataPath(dataPath);
}

DataStore::~DataStore() = default;

void DataStore::setDataPath(const std::filesystem::path& dataPath) {
    // Held with a trailing separator, so that file names are simply appended.
    dataPath_ = dataPath.empty() ? dataPath : dataPath / "";
}

std::string DataStore::text(const texts::Text& t) const {
    return environment_.language ? environment_.language->text(t.id, t.english) : std::string(t.english);
}

void DataStore::showError(const std::string& message) const {
    if (callbacks_.showError) callbacks_.showError(message);
}

records::DateTime DataStore::now() const {
    return environment_.now ? environment_.now() : records::nowLocal();
}

std::optional<LockedFile> DataStore::openForUpdate(const std::filesystem::path& file,
                                                   const std::string& message) const {
    return LockedFile::open(file, message, text(texts::kFileInUse), callbacks_.lockWait);
}

std::optional<LockedFile> DataStore::openForUpdate(const std::filesystem::path& file,
                                                   const texts::Text& message) const {
    return openForUpdate(file, text(message));
}

std::filesystem::path DataStore::ResultFileName(std::int16_t userId) const {
    if (userId == 0) {
        if (!selectedUser_) return {};
        userId = selectedUser_->record.userId;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(userId));
    const auto dir = dataPath_ / file_names::kResultDir;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) std::filesystem::create_directory(dir, ec);
    return dir / ("User" + std::string(number) + ".dat");
}

std::filesystem::path DataStore::ResolveTutorPath(std::string_view tutorFile) const {
    return tutor::ResolveTutorPath(tutorFile, Common.commonDirectory);
}

std::string LanguageForLocale(int id) {
    switch (id) {
        case 1030:
            return "Dansk";
        case 1031:
        case 1070:
        case 2055:
        case 4103:
            return "Deutch";
        case 1034:
        case 2058:
        case 3082:
            return "Espa\xC3\xB1ol";
        case 1035:
            return "Suomi";
        case 1036:
        case 2060:
        case 3084:
        case 4108:
        case 5132:
            return "Francais";
        case 1040:
        case 2064:
            return "Italiano";
        case 1043:
            return "Nederlands";
        case 1044:
        case 2068:
            return "Norsk";
        case 1053:
            return "Svenska";
        default:
            return "English";
    }
}

}  // namespace kalvintor::data
