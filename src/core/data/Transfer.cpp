// Export and import of one user's data.
#include "data/Transfer.h"

#include "app/MachineSettings.h"
#include "data/DataFiles.h"
#include "data/RecordScan.h"
#include "data/TextFormat.h"
#include "files/Files.h"
#include "tutor/TutorHeader.h"

namespace kalvintor::data {

namespace fs = std::filesystem;

namespace {

void tell(const TransferQuestions& q, const std::string& text) {
    if (q.showMessage) q.showMessage(text);
}

bool yes(const TransferQuestions& q, const std::string& question) {
    return q.askYesNo && q.askYesNo(question);
}

// A plain file name that cannot reach outside the folder it is joined to.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

// Copies a file whole; the target is replaced in one step.
bool copyWhole(const fs::path& from, const fs::path& to) {
    const auto bytes = files::readFile(from);
    return bytes && files::writeFileAtomically(to, *bytes) == files::WriteError::None;
}

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool newer(const fs::path& a, const fs::path& b) {
    std::error_code ea;
    std::error_code eb;
    const auto ta = fs::last_write_time(a, ea);
    const auto tb = fs::last_write_time(b, eb);
    return !ea && (eb || ta > tb);
}

bool sameName(std::string_view a, std::string_view b) {
    return compareIgnoringCase(a, b) == 0;
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

}  // namespace

TransferResult ExportUser(DataStore& store, const UserRecord& user, const fs::path& folder,
                          const TransferQuestions& questions) {
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        tell(questions, formatText(store.text(texts::kNotAFolder), {folder.string()}));
        return TransferResult::Failed;
    }
    if (!fs::is_directory(folder, ec)) {
        if (folder.has_root_path() && !fs::exists(folder.root_path(), ec)) return TransferResult::Stopped;
        const Answer answer =
            questions.askYesNoCancel
                ? questions.askYesNoCancel(formatText(store.text(texts::kCreateFolder), {folder.string()}))
                : Answer::Cancel;
        if (answer != Answer::Yes) return TransferResult::Stopped;
        fs::create_directories(folder, ec);
        if (ec) return TransferResult::Failed;
    }
    const std::uintmax_t free =
        questions.freeSpace ? questions.freeSpace(folder) : fs::space(folder, ec).available;
    if (free < kMinimumExportSpace) {
        tell(questions, store.text(texts::kNotEnoughRoom));
        return TransferResult::Stopped;
    }
    const fs::path target = app::withTrailingSeparator(folder);
    if (questions.saveSessionResults && !questions.saveSessionResults()) return TransferResult::Stopped;

    const std::string userNotSaved(texts::kUserNotSaved);
    {
        FileError error;
        auto file = LockedFile::open(target / kExportUserFile, userNotSaved, store.text(texts::kFileInUse),
                                     store.callbacks().lockWait, &error);
        if (file && !(file->writeAt(0, encodeUserRecord(user)) && file->flush())) error = file->error();
        if (error) {
            if (error.kind != FileFailure::Busy) tell(questions, userNotSaved + "\n" + store.describe(error));
            return TransferResult::Failed;
        }
    }

    // The results are written beside the old copy and renamed over it. When that fails the old
    // copy goes too: it may be another user's export, which must never travel with this user.
    const auto results = store.ResultFileName(user.userId);
    const fs::path resultName = fs::path(file_names::kResultDir) / results.filename();
    bool resultsFailed = false;
    if (fs::exists(fs::symlink_status(results, ec))) {
        FileError error;
        std::string bytes;
        if (readSharedFile(store.DataPath(), resultName, bytes, &error)) {
            auto file = LockedFile::open(target / kExportResultFile, store.text(texts::kExportFailed),
                                         store.text(texts::kFileInUse), store.callbacks().lockWait, &error);
            if (file && !file->replaceContent(bytes)) error = file->error();
        }
        if (error) {
            if (error.kind != FileFailure::Busy)
                tell(questions, store.text(texts::kExportFailed) + "\n" + store.describe(error));
            resultsFailed = true;
        }
    }
    if (resultsFailed || !fs::exists(fs::symlink_status(results, ec)))
        fs::remove(target / kExportResultFile, ec);

    bool copied = true;
    for (const fs::path& source :
         {tutor::isNoTutor(user.tutorFile) ? fs::path() : store.ResolveTutorPath(user.tutorFile),
          fs::path(user.setupFile)}) {
        const std::string name = tutor::storedFileName(source.string());
        if (!isPlainName(name) || !isFile(source)) continue;
        if (!copyWhole(source, target / name)) {
            tell(questions, store.text(texts::kNotEnoughRoom));
            copied = false;
        }
    }
    return copied && !resultsFailed ? TransferResult::Done : TransferResult::Failed;
}

namespace {

// Brings the exported tutor into this installation. The name stored for the user, or nothing
// when a copy failed.
std::optional<std::string> importTutor(DataStore& store, const fs::path& source, const std::string& name,
                                       const UserRecord& target, const TransferDirectories& dirs,
                                       const TransferQuestions& questions) {
    auto replaceIfNewer = [&](const fs::path& local) {
        if (!newer(source, local) || !yes(questions, store.text(texts::kNewerTutor))) return true;
        return copyWhole(source, local);
    };
    if (sameName(name, tutor::storedFileName(target.tutorFile))) {
        if (!replaceIfNewer(store.ResolveTutorPath(target.tutorFile))) return std::nullopt;
        return target.tutorFile;
    }
    struct Place {
        fs::path dir;
        bool bare;  // stored by its bare name
    };
    const Place places[] = {
        {store.Common.commonDirectory, true}, {dirs.programDir, false}, {dirs.setupDir, false}};
    for (const auto& place : places) {
        if (place.dir.empty()) continue;
        const fs::path local = place.dir / name;
        if (!isFile(local)) continue;
        if (!replaceIfNewer(local)) return std::nullopt;
        return place.bare ? name : local.string();
    }
    const fs::path local = dirs.setupDir / name;
    if (dirs.setupDir.empty() || !copyWhole(source, local)) return std::nullopt;
    return local.string();
}

}  // namespace

TransferResult ImportUser(DataStore& store, const fs::path& folder, const TransferDirectories& dirs,
                          const TransferQuestions& questions) {
    const fs::path source = app::withTrailingSeparator(folder);
    const auto exported = files::readFile(source / kExportUserFile, kUserRecordSize * 16);
    const auto imported = exported ? decodeUserRecord(asBytes(*exported)) : std::nullopt;
    TUserInfo* selected = store.SelectedUser();
    if (!imported || !selected) {
        tell(questions, store.text(texts::kNoExportData));
        return TransferResult::Stopped;
    }
    UserRecord& user = selected->record;
    store.ReloadUser(user);
    if (!sameName(imported->fullName, user.fullName) &&
        !yes(questions, formatText(store.text(texts::kOtherUser), {quoted(DisplayName(imported->fullName)),
                                                                   quoted(DisplayName(user.fullName))})))
        return TransferResult::Stopped;

    bool failed = false;
    const std::string name = tutor::storedFileName(imported->tutorFile);
    if (!tutor::isNoTutor(imported->tutorFile) && isPlainName(name)) {
        if (const auto stored = importTutor(store, source / name, name, user, dirs, questions)) {
            user.tutorFile = *stored;
        } else {
            tell(questions, store.text(texts::kTutorCopyFailed));
            failed = true;
        }
        if (sameName(tutor::storedFileName(user.tutorFile), name)) {
            user.tutorStep = imported->tutorStep;
            user.reserved = imported->reserved;
        }
        if (!failed && !store.SaveUser(user)) failed = true;
    }

    if (const auto results = files::readFile(source / kExportResultFile)) {
        std::vector<ResultRecord> records;
        for (std::size_t i = 0; i < wholeRecords(*results, kResultRecordSize); ++i)
            records.push_back(*decodeResultRecord(recordAt(*results, kResultRecordSize, i)));
        if (!store.MergeResults(user.userId, records)) {
            if (store.LastError().kind != FileFailure::Busy)
                tell(questions, store.text(texts::kImportFailed) + "\n" + store.describe(store.LastError()));
            failed = true;
        }
    }
    selected->statisticsValid = false;
    return failed ? TransferResult::Failed : TransferResult::Done;
}

}  // namespace kalvintor::data
