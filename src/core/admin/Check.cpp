// The check of a data directory: every file read as the program reads it, and what is wrong with
// it said in plain words. Nothing is written.
#include "admin/Store.h"

#include "data/DataFiles.h"
#include "data/RecordScan.h"
#include "data/SharedFile.h"
#include "settings/SettingRecord.h"
#include "setup/SetupFile.h"
#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace kalvintor::admin {

namespace fs = std::filesystem;
namespace names = data::file_names;

namespace {

using settings::kSettingRecordSize;

class Checker {
public:
    explicit Checker(fs::path dataDir) : dir_(std::move(dataDir)) {}

    std::vector<Fault> run() {
        checkUsers();
        checkClasses();
        checkResults();
        checkCommon();
        checkSettings();
        checkReferences();
        checkLeftovers(dir_, "");
        return std::move(faults_);
    }

private:
    struct Reference {
        std::vector<std::string> by;  // "user anna", "class 3a"
    };

    void fault(std::string file, std::string kind, std::string message) {
        faults_.push_back({std::move(file), std::move(kind), std::move(message)});
    }

    static std::string joined(const std::vector<std::string>& items) {
        std::string text;
        for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + items[i];
        return text;
    }

    std::optional<std::string> read(const std::string& name) { return data::readSharedFile(dir_ / name); }

    void partialRecord(const std::string& name, std::size_t size, std::size_t recordSize) {
        if (size % recordSize == 0) return;
        fault(name, "partial-record",
              name + " is " + std::to_string(size) + " bytes, not a whole number of " +
                  std::to_string(recordSize) + "-byte records: its last " +
                  std::to_string(size % recordSize) +
                  " bytes are a partial record (left by a crash or a full disk) and are ignored");
    }

    void checkUsers() {
        const std::string name(names::kUsers);
        const auto file = read(name);
        if (!file) {
            fault(name, "missing-file", name + " is missing or cannot be read: this is not a data directory");
            return;
        }
        partialRecord(name, file->size(), data::kUserRecordSize);
        std::map<std::string, std::vector<std::int16_t>> logins;
        for (std::size_t i = 0; i < data::wholeRecords(*file, data::kUserRecordSize); ++i) {
            const auto user = *data::decodeUserRecord(data::recordAt(*file, data::kUserRecordSize, i));
            const std::string where = "record " + std::to_string(i + 1);
            if (user.userId == 0) {
                if (!user.loginName.empty())
                    fault(
                        name, "zero-id",
                        where + " has id 0 but keeps the login name \"" + user.loginName +
                            "\": a deleted slot has none, so this user was lost by damage and cannot log in");
                continue;
            }
            if (user.userId < 0)
                fault(name, "bad-id",
                      where + " (\"" + user.loginName + "\") has the negative id " +
                          std::to_string(user.userId));
            if (!userIds_.insert(user.userId).second)
                fault(name, "duplicate-id",
                      "user id " + std::to_string(user.userId) + " is used again by " + where + " (\"" +
                          user.loginName + "\"): lookups by id only ever find the first");
            if (!user.loginName.empty()) logins[data::sortKey(user.loginName)].push_back(user.userId);
            const int level = user.accessLevel & 15;
            if (level < data::kStudent || level > data::kAdministrator)
                fault(name, "bad-level",
                      "user \"" + user.loginName + "\" has the access level " +
                          std::to_string(user.accessLevel) + ", which is none of 1, 2, 3");
            users_.push_back(user);
        }
        for (const auto& [login, ids] : logins) {
            if (ids.size() < 2) continue;
            std::vector<std::string> list;
            for (auto id : ids) list.push_back(std::to_string(id));
            fault(name, "duplicate-login",
                  "the login name \"" + usersLogin(ids.front()) + "\" is used by the users " + joined(list) +
                      ": logging in by name only ever finds the first");
        }
    }

    std::string usersLogin(std::int16_t id) const {
        for (const auto& u : users_)
            if (u.userId == id) return u.loginName;
        return {};
    }

    void checkClasses() {
        const std::string name(names::kClasses);
        // Without the file there are no classes yet.
        const std::string file = read(name).value_or(std::string());
        partialRecord(name, file.size(), data::kClassRecordSize);
        for (std::size_t i = 0; i < data::wholeRecords(file, data::kClassRecordSize); ++i) {
            const auto c = *data::decodeClassRecord(data::recordAt(file, data::kClassRecordSize, i));
            if (c.classId == 0) continue;
            if (c.classId < 0)
                fault(name, "bad-id",
                      "class \"" + c.className + "\" has the negative id " + std::to_string(c.classId));
            if (!classIds_.insert(c.classId).second)
                fault(name, "duplicate-id",
                      "class id " + std::to_string(c.classId) + " is used again by record " +
                          std::to_string(i + 1) + " (\"" + c.className +
                          "\"): lookups by id only ever find the first");
            if (c.teacherId != 0 && !userIds_.contains(c.teacherId))
                fault(name, "missing-teacher",
                      "the teacher of class \"" + c.className + "\" is user " + std::to_string(c.teacherId) +
                          ", who does not exist");
            if (!tutor::isNoTutor(c.tutorFile))
                tutors_[c.tutorFile].by.push_back("class \"" + c.className + "\"");
        }
        for (const auto& u : users_) {
            if (u.classId != 0 && !classIds_.contains(u.classId))
                fault(std::string(names::kUsers), "missing-class",
                      "user \"" + u.loginName + "\" is in class " + std::to_string(u.classId) +
                          ", which does not exist");
        }
    }

    void checkResults() {
        const fs::path dir = dir_ / names::kResultDir;
        std::error_code ec;
        // A link in the place of the folder or of a file is reported as one, and not followed.
        if (!fs::is_directory(fs::symlink_status(dir, ec))) return;
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(dir, ec))
            if (!entry.is_symlink(ec)) entries.push_back(entry.path());
        std::sort(entries.begin(), entries.end());
        for (const auto& path : entries) {
            const std::string file = path.filename().string();
            const std::string name = std::string(names::kResultDir) + "/" + file;
            const auto id = resultFileId(file);
            if (!id) {
                // An import in progress holds the lock of the file it rewrites.
                if (file.starts_with(names::kAsidePrefix) &&
                    resultFileId(file.substr(names::kAsidePrefix.size())) &&
                    !data::heldByWriter(dir / file.substr(names::kAsidePrefix.size())))
                    fault(name, "leftover-file",
                          name +
                              " is the old result file an import kept aside and did not remove: the import "
                              "was interrupted; compare it with " +
                              file.substr(names::kAsidePrefix.size()) + " before deleting it");
                continue;
            }
            resultIds_.insert(*id);
            if (!userIds_.contains(*id))
                fault(name, "orphan-results",
                      name + " holds the results of user " + std::to_string(*id) + ", who does not exist");
            const auto bytes = data::readSharedFile(path);
            if (!bytes) {
                fault(name, "unreadable-file", name + " cannot be read");
                continue;
            }
            partialRecord(name, bytes->size(), data::kResultRecordSize);
            checkResultRecords(name, *id, *bytes);
        }
    }

    // The user id of a result file name "User" + digits + ".dat".
    static std::optional<std::int16_t> resultFileId(const std::string& file) {
        if (!file.starts_with("User") || !file.ends_with(".dat") || file.size() <= 8) return std::nullopt;
        const std::string digits = file.substr(4, file.size() - 8);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const auto id = parseNumber(digits);
        if (!id || *id < 1 || *id > 32767) return std::nullopt;
        return static_cast<std::int16_t>(*id);
    }

    void checkResultRecords(const std::string& name, std::int16_t id, const std::string& bytes) {
        int foreign = 0;
        int ownerless = 0;
        int badExercise = 0;
        int badDate = 0;
        for (std::size_t i = 0; i < data::wholeRecords(bytes, data::kResultRecordSize); ++i) {
            const auto r = *data::decodeResultRecord(data::recordAt(bytes, data::kResultRecordSize, i));
            if (r.userId == 0) {
                ++ownerless;
            } else if (r.userId != id) {
                ++foreign;
            }
            if (r.exercise < 1 || r.exercise > 10) ++badExercise;
            if (!std::isfinite(r.sessionStart) || r.sessionStart < 1.0) ++badDate;
        }
        auto count = [](int n) { return std::to_string(n) + (n == 1 ? " result" : " results"); };
        if (ownerless)
            fault(name, "zero-id",
                  count(ownerless) + " in " + name + " have the user id 0; the next purge drops them");
        if (foreign)
            fault(name, "foreign-result",
                  count(foreign) + " in " + name + " name another user than " + std::to_string(id));
        if (badExercise)
            fault(name, "bad-exercise",
                  count(badExercise) + " in " + name + " have an exercise number outside 1..10");
        if (badDate) fault(name, "bad-date", count(badDate) + " in " + name + " have no valid session date");
    }

    void checkCommon() {
        const std::string name(names::kCommon);
        const auto file = read(name);
        data::CommonRecord common;
        if (!file) {
            fault(name, "missing-file",
                  name +
                      " is missing: the program makes a new one with the id counters at "
                      "their start values");
        } else if (file->size() != data::kCommonRecordSize) {
            fault(name, "wrong-size",
                  name + " is " + std::to_string(file->size()) + " bytes instead of " +
                      std::to_string(data::kCommonRecordSize) +
                      (file->size() < data::kCommonRecordSize
                           ? ": the program cannot read its id counters and starts them again"
                           : ": the bytes after the first record are ignored"));
        }
        if (file) {
            if (const auto record = data::decodeCommonRecord(data::asBytes(*file))) common = *record;
        }
        commonDirectory_ = common.commonDirectory;
        // Result files of users who are gone count too: a new user given their id would inherit
        // their results.
        std::set<std::int16_t> userIdsInUse = userIds_;
        userIdsInUse.insert(resultIds_.begin(), resultIds_.end());
        counter(name, "user", common.nextUserId, userIdsInUse);
        counter(name, "class", common.nextClassId, classIds_);
    }

    void counter(const std::string& name, const std::string& what, std::int16_t next,
                 const std::set<std::int16_t>& inUse) {
        if (inUse.empty() || next > *inUse.rbegin()) return;
        fault(name, "counter-below-ids",
              "the next " + what + " id in " + name + " is " + std::to_string(next) + ", but " + what +
                  " id " + std::to_string(*inUse.rbegin()) + " is in use: a new " + what +
                  " would be given an id that is taken (set the counter to " +
                  std::to_string(*inUse.rbegin() + 1) + ")");
    }

    void checkSettings() {
        const std::string name(names::kSettings);
        const auto file = read(name);
        if (!file) return;
        partialRecord(name, file->size(), kSettingRecordSize);
        std::set<std::int16_t> keys;
        for (std::size_t i = 0; i < data::wholeRecords(*file, kSettingRecordSize); ++i) {
            const std::int16_t key = records::getI16(data::recordAt(*file, kSettingRecordSize, i), 0);
            if (key == 0) continue;
            if (!keys.insert(key).second)
                fault(name, "duplicate-id",
                      "the settings of user " + std::to_string(key) +
                          " are stored twice; only the first record is used");
            if (key != 1 && !userIds_.contains(key))
                fault(
                    name, "orphan-settings",
                    name + " holds private settings of user " + std::to_string(key) + ", who does not exist");
        }
    }

    void checkReferences() {
        std::map<std::string, Reference> setups;
        for (const auto& u : users_) {
            if (!u.setupFile.empty()) setups[u.setupFile].by.push_back("user \"" + u.loginName + "\"");
            if (!tutor::isNoTutor(u.tutorFile))
                tutors_[u.tutorFile].by.push_back("user \"" + u.loginName + "\"");
        }
        for (const auto& [file, reference] : setups) {
            const auto read = setup::readSetupFile(file);
            if (read.status == setup::SetupReadStatus::Unreadable)
                fault(file, "unreadable-setup",
                      "the setup file " + file + " of " + joined(reference.by) +
                          " is missing or cannot be read");
            else if (read.status == setup::SetupReadStatus::WrongHeader)
                fault(file, "unreadable-setup",
                      "the setup file " + file + " of " + joined(reference.by) + " is not an exercise setup");
        }
        theory::ChordCatalogue working = theory::BuiltInCatalogue();
        tutor::CatalogueBackup backup;
        tutor::TutorModel model(working, backup);
        for (const auto& [file, reference] : tutors_) {
            const auto path = tutor::ResolveTutorPath(file, commonDirectory_);
            std::error_code ec;
            // Only plain files are read: a name leading to a device or a pipe could block.
            if (!fs::is_regular_file(path, ec) || !model.LoadTutor(file, commonDirectory_))
                fault(path.string(), "unreadable-tutor",
                      "the tutor file " + path.string() + " of " + joined(reference.by) +
                          " is missing or cannot be read as a tutor");
        }
    }

    // Links, which the program neither reads nor writes through, and temporary files of
    // whole-file rewrites that never reached their rename. A rewrite still in progress on another
    // workstation holds the lock of the file it replaces: its files are no fault.
    void checkLeftovers(const fs::path& dir, const std::string& prefix) {
        std::error_code ec;
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(dir, ec)) entries.push_back(entry.path());
        std::sort(entries.begin(), entries.end());
        for (const auto& path : entries) {
            const std::string file = path.filename().string();
            const auto status = fs::symlink_status(path, ec);
            if (fs::is_symlink(status)) {
                fault(prefix + file, "link",
                      prefix + file + " is a symbolic link to " + fs::read_symlink(path, ec).string() +
                          ": the program neither reads nor writes through links in the data folder, and a "
                          "backup leaves it out; remove it");
                continue;
            }
            if (prefix.empty() && file == names::kResultDir && fs::is_directory(status)) {
                checkLeftovers(path, std::string(names::kResultDir) + "/");
                continue;
            }
            const bool temporary = file.starts_with(".") && file.find(".tmp") != std::string::npos;
            if (!temporary && file != "User.tmp") continue;
            if (temporary && data::heldByWriter(dir / file.substr(1, file.find(".tmp") - 1))) continue;
            fault(
                prefix + file, "leftover-file",
                prefix + file + " is a temporary file of a rewrite that was interrupted; it can be deleted");
        }
    }

    fs::path dir_;
    std::vector<Fault> faults_;
    std::vector<data::UserRecord> users_;
    std::set<std::int16_t> userIds_;
    std::set<std::int16_t> classIds_;
    std::set<std::int16_t> resultIds_;
    std::string commonDirectory_;
    std::map<std::string, Reference> tutors_;
};

}  // namespace

std::vector<Fault> findFaults(const fs::path& dataDir) {
    return Checker(dataDir).run();
}

int checkData(const Context& context, Format format) {
    fs::path directory = context.dataDir;
    std::error_code ec;
    // The directory above "Data" is taken as the program takes it.
    if (!fs::exists(directory / names::kUsers, ec) &&
        fs::exists(directory / names::kDataSubdir / names::kUsers, ec))
        directory /= names::kDataSubdir;
    if (!fs::is_directory(directory, ec)) {
        context.err << "kalvintor-admin: " << directory.string() << " is not a directory\n";
        return kExitFailed;
    }
    const auto faults = findFaults(directory);
    if (format == Format::Json) {
        Json report = Json::object();
        report.add("data", directory.string());
        report.add("clean", faults.empty());
        Json& list = report.add("faults", Json::array());
        for (const auto& f : faults) {
            Json& item = list.push(Json::object());
            item.add("file", f.file);
            item.add("kind", f.kind);
            item.add("message", f.message);
        }
        report.write(context.out);
        context.out << '\n';
    } else if (format == Format::Csv) {
        Table table{{"file", "kind", "message"}, {}};
        for (const auto& f : faults) table.rows.push_back({f.file, f.kind, f.message});
        table.write(context.out, format);
    } else if (faults.empty()) {
        context.out << "Nothing wrong in " << directory.string() << ".\n";
    } else {
        for (const auto& f : faults) context.out << f.file << ": " << f.message << ".\n";
        context.out << faults.size() << (faults.size() == 1 ? " problem" : " problems") << " found in "
                    << directory.string() << ".\n";
    }
    return faults.empty() ? kExitOk : kExitFailed;
}

}  // namespace kalvintor::admin
