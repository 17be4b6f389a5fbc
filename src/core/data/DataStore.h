// The data store of one data directory: users, classes, the common record, the settings file,
// one user's results and the statistics built from them.
#pragma once

#include "data/ClassRecord.h"
#include "data/CommonRecord.h"
#include "data/ResultRecord.h"
#include "data/SharedFile.h"
#include "data/Statistics.h"
#include "data/Texts.h"
#include "data/UserRecord.h"
#include "records/DateTime.h"
#include "settings/SettingRecord.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::data {

struct TUserInfo {
    UserRecord record;
    bool statisticsValid = false;
    std::array<ExerciseStatistics, kExerciseCount> statistics{};  // index 0 = exercise 1
    std::string tutorTitle;
    std::string className;
    std::string displayName;
    std::string sortName;  // the key of UserList
};

struct TClassInfo {
    ClassRecord record;
};

struct TResultInfo {
    ResultRecord record;
    // The list key. Computed when asked for: a refresh of every user's statistics reads
    // hundreds of thousands of results and needs no keys.
    std::string key() const { return ResultKey(record); }
};

// What the store needs to know about the machine it runs on.
struct StoreEnvironment {
    std::filesystem::path languageDir;
    int systemLanguageId = 1033;                   // the system's default language id
    bool lowColourDisplay = false;                 // 8 bits per pixel or fewer
    const language::Language* language = nullptr;  // texts; design-time English without one
    std::function<records::DateTime()> now;        // local time; the system clock without one
};

// The store's questions and reports to the user; the defaults are silent and never retry.
struct StoreCallbacks {
    LockWait lockWait;
    std::function<void(const std::string& text)> showError;
    // ComputeAllStatistics: user `index` of `count` is being looked at; `computing` says whether
    // its statistics are recomputed (the progress window shows then). `done` hides the window.
    std::function<void(int index, int count, bool computing)> progress;
    std::function<void()> progressDone;
};

enum class IdKind { Class = 1, User = 2 };

// Bits of the level mask of FilterUsers.
enum LevelMask : int { kMaskStudent = 1, kMaskTeacher = 2, kMaskAdministrator = 4 };

class DataStore {
public:
    DataStore(std::filesystem::path dataPath, StoreEnvironment environment = {},
              StoreCallbacks callbacks = {});
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    const std::filesystem::path& DataPath() const { return dataPath_; }
    void setDataPath(const std::filesystem::path& dataPath);
    StoreCallbacks& callbacks() { return callbacks_; }

    // Users (User.dat).
    void LoadUsers();
    void FilterUsers(int levelMask, int classId);
    bool FindUser(std::int16_t userId, std::string_view loginName, bool makeCurrent);
    bool CheckLogin(std::string_view loginName, std::string_view password);
    int CountAdministrators() const;
    bool ReloadUser(UserRecord& record) const;
    bool SaveUser(const UserRecord& record);
    // New users appended in one write under the file's lock, for a whole roster at once. A user
    // whose login name (in any letter case) or id is on file already, or earlier in `users`, is
    // left out and its index put into `taken`. False when nothing was written (reported).
    bool AddUsers(const std::vector<UserRecord>& users, std::vector<std::size_t>& taken);
    bool DeleteUser(TUserInfo& user);
    bool ClearClass(std::int16_t classId);
    bool SetClassTutor(std::int16_t classId, std::string_view tutorFile);
    // The guest: the list's user 1 when there is one, else a fresh default record.
    void LoginGuest();

    // Settings (Setting.dat).
    bool LoadSettings(std::int16_t userId, bool create);
    bool SaveSettings(std::int16_t userId);
    bool DeleteSettings(std::int16_t userId);

    // Common.dat.
    void LoadCommon();
    bool SaveCommon();
    // The next id from Common.dat, stored as taken; 0 when Common.dat cannot be written or its
    // counter holds no id a record may have (0, negative, or past the largest).
    std::int16_t NextId(IdKind kind);
    // `count` consecutive ids taken at once; the first of them, or 0 when Common.dat cannot be
    // written or the ids would run past the largest a record holds.
    std::int16_t NextIds(IdKind kind, int count);

    // Classes (Class.dat).
    void LoadClasses();
    std::string ClassNameOf(std::int16_t classId);
    bool ClassExists(std::int16_t classId) const;
    bool SaveClass(const ClassRecord& record);
    bool DeleteClass(std::int16_t classId);

    // Names of files.
    std::filesystem::path ResultFileName(std::int16_t userId = 0) const;
    std::filesystem::path ResolveTutorPath(std::string_view tutorFile) const;

    // Results of one user (Result/UserNNN.dat).
    void LoadResults(std::int16_t userId);
    void FilterResults(int exercise, records::DateTime earliest);
    bool AppendResult(const ResultRecord& record);
    bool RewriteResults();
    bool PurgeResults(std::int16_t userId, records::DateTime cutOff);

    // Statistics.
    void ComputeStatistics(TUserInfo& user);
    void ComputeAllStatistics(bool force);
    std::uint8_t StatisticsPeriod = kDefaultStatisticsPeriod;

    // Import: merges records into the user's result file by ResultKey under the file's lock;
    // the number of records added, or nothing when the file could not be rewritten (the file is
    // then as it was, and the reason has been reported).
    std::optional<int> MergeResults(std::int16_t userId, const std::vector<ResultRecord>& imported);

    const std::vector<std::unique_ptr<TUserInfo>>& UserList() const { return userList_; }
    const std::vector<TUserInfo*>& FilteredUsers() const { return filteredUsers_; }
    const std::vector<std::unique_ptr<TClassInfo>>& ClassList() const { return classList_; }
    const std::vector<std::unique_ptr<TResultInfo>>& ResultList() const { return resultList_; }
    const std::vector<TResultInfo*>& FilteredResults() const { return filteredResults_; }
    TUserInfo* CurrentUser() const { return currentUser_; }
    TUserInfo* SelectedUser() const { return selectedUser_; }
    void setSelectedUser(TUserInfo* user) { selectedUser_ = user; }
    CommonRecord Common;
    settings::Settings Settings;

    // The text of a language id, or its design-time English.
    std::string text(const texts::Text& t) const;
    // A file failure in plain words, naming the file.
    std::string describe(const FileError& error) const;
    // Why the last routine that failed on a file failed. AppendResult and MergeResults report
    // nothing themselves (their callers say what became of the results); every other routine
    // has shown its reason through showError.
    const FileError& LastError() const { return lastError_; }

private:
    // A file of the data directory by its name there (a result file as "Result/UserNNN.dat"):
    // no folder or file on the way is reached through a link. A failure other than the user
    // giving up on a held file is reported with `message` unless `report` is false.
    std::optional<LockedFile> openForUpdate(const std::filesystem::path& relative, const texts::Text& message,
                                            bool report = true) const;
    std::optional<LockedFile> openForUpdate(const std::filesystem::path& relative, const std::string& message,
                                            bool report = true) const;
    // True when `wrote` and the writes are durable; otherwise reports the reason with `message`.
    bool finish(LockedFile& file, const texts::Text& message, bool wrote, bool report = true) const;
    // Reports a failure of a file with `message` and the reason.
    void reportFailure(const std::string& message, const FileError& error, bool report = true) const;
    void showError(const std::string& message) const;
    // The name of a user's result file within the data directory (the selected user's for id 0;
    // empty without one). Makes the result folder when it is missing.
    std::filesystem::path resultFile(std::int16_t userId) const;
    records::DateTime now() const;
    std::string chooseLanguage() const;
    void forgetUser(const TUserInfo* user);
    // Writes the records as the whole new content of the locked file's name.
    bool replaceResults(LockedFile& file, const std::vector<std::unique_ptr<TResultInfo>>& list) const;
    // The whole content of a locked file, or nothing (reported with `message`).
    std::optional<std::string> readLocked(LockedFile& file, const texts::Text& message) const;

    std::filesystem::path dataPath_;
    StoreEnvironment environment_;
    StoreCallbacks callbacks_;

    std::vector<std::unique_ptr<TUserInfo>> userList_;
    std::vector<TUserInfo*> filteredUsers_;
    std::vector<std::unique_ptr<TClassInfo>> classList_;
    bool classesLoaded_ = false;
    std::vector<std::unique_ptr<TResultInfo>> resultList_;
    std::vector<TResultInfo*> filteredResults_;
    TUserInfo* currentUser_ = nullptr;
    TUserInfo* selectedUser_ = nullptr;
    // The current user when it is not an object of UserList (a guest, or a user found before the
    // list knew him).
    std::unique_ptr<TUserInfo> ownCurrentUser_;
    // Result files are read into the same storage one after the other.
    std::string readBuffer_;
    mutable FileError lastError_;
};

// The language name for a system language id.
std::string LanguageForLocale(int windowsLanguageId);

}  // namespace kalvintor::data
