// The data store's own state: paths, texts, messages and the clock.
#include "data/DataStore.h"

#include "data/DataFiles.h"
#include "data/TextFormat.h"
#include "language/Language.h"
#include "tutor/TutorHeader.h"

#include <cstdio>
#include <cstring>

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

std::string DataStore::describe(const FileError& error) const {
    const std::string file = error.file.string();
    switch (error.kind) {
        case FileFailure::None:
            return {};
        case FileFailure::Busy:
            return formatText(text(texts::kFileBusy), {file});
        case FileFailure::ReadOnly:
            return formatText(text(texts::kFileReadOnly), {file});
        case FileFailure::Link:
            return formatText(text(texts::kFileIsLink), {file});
        case FileFailure::Missing:
            return formatText(text(texts::kFileMissing), {file});
        case FileFailure::NoSpace:
            return formatText(text(texts::kFileNoSpace), {file});
        case FileFailure::TooLarge:
            return formatText(text(texts::kFileTooLarge), {file});
        case FileFailure::Other:
            break;
    }
    return formatText(text(texts::kFileFailed), {file, std::strerror(error.error)});
}

void DataStore::reportFailure(const std::string& message, const FileError& error, bool report) const {
    lastError_ = error;
    // A held file the user gave up on has been asked about already.
    if (report && error.kind != FileFailure::Busy) showError(message + "\n" + describe(error));
}

std::optional<LockedFile> DataStore::openForUpdate(const std::filesystem::path& relative,
                                                   const std::string& message, bool report) const {
    FileError error;
    auto file =
        LockedFile::open(dataPath_, relative, message, text(texts::kFileInUse), callbacks_.lockWait, &error);
    if (!file) reportFailure(message, error, report);
    return file;
}

std::optional<LockedFile> DataStore::openForUpdate(const std::filesystem::path& relative,
                                                   const texts::Text& message, bool report) const {
    return openForUpdate(relative, text(message), report);
}

bool DataStore::finish(LockedFile& file, const texts::Text& message, bool wrote, bool report) const {
    if (wrote && file.flush()) return true;
    reportFailure(text(message), file.error(), report);
    return false;
}

std::optional<std::string> DataStore::readLocked(LockedFile& file, const texts::Text& message) const {
    auto content = file.readAll();
    if (!content) reportFailure(text(message), file.error());
    return content;
}

std::filesystem::path DataStore::resultFile(std::int16_t userId) const {
    if (userId == 0) {
        if (!selectedUser_) return {};
        userId = selectedUser_->record.userId;
    }
    char number[16];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(userId));
    const auto dir = dataPath_ / file_names::kResultDir;
    std::error_code ec;
    // A link in its place is left alone: the result files are never reached through one.
    if (!std::filesystem::exists(std::filesystem::symlink_status(dir, ec)))
        std::filesystem::create_directory(dir, ec);
    return std::filesystem::path(file_names::kResultDir) / ("User" + std::string(number) + ".dat");
}

std::filesystem::path DataStore::ResultFileName(std::int16_t userId) const {
    const auto name = resultFile(userId);
    return name.empty() ? name : dataPath_ / name;
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
