// Users of User.dat: the user list, lookups, login, saving, deleting and class-wide changes.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"
#include "records/Cp1252.h"

#include <algorithm>
#include <unordered_set>

namespace kalvintor::data {

namespace r = records;
using namespace user_offsets;

namespace {

constexpr std::int16_t kSharedSettingsKey = 1;

std::int16_t userIdOf(r::Bytes record) {
    return r::getI16(record, kUserId);
}

std::string upperLogin(std::string_view utf8) {
    return upperCp1252(r::utf8ToCp1252(utf8));
}

// The stored login name in upper case, straight from the record's bytes.
std::string storedLoginUpper(r::Bytes record) {
    const std::size_t length = std::min<std::size_t>(record[kLoginName], kLoginNameRoom);
    return upperCp1252(
        std::string_view(reinterpret_cast<const char*>(record.data() + kLoginName + 1), length));
}

void fillNames(TUserInfo& user) {
    user.sortName = SortName(user.record.fullName);
    user.statisticsValid = false;
}

}  // namespace

void DataStore::forgetUser(const TUserInfo* user) {
    if (currentUser_ == user) currentUser_ = nullptr;
    if (selectedUser_ == user) selectedUser_ = nullptr;
    std::erase(filteredUsers_, user);
}

void DataStore::LoadUsers() {
    const auto file = readSharedFile(dataPath_ / file_names::kUsers);
    if (!file) return;
    const bool hadSelected = selectedUser_ != nullptr;
    const std::int16_t selectedId = hadSelected ? selectedUser_->record.userId : 0;
    const bool hadCurrent = currentUser_ != nullptr;
    const std::int16_t currentId = hadCurrent ? currentUser_->record.userId : 0;

    std::size_t position = 0;
    for (std::size_t i = 0; i < wholeRecords(*file, kUserRecordSize); ++i) {
        const auto bytes = recordAt(*file, kUserRecordSize, i);
        if (userIdOf(bytes) == 0) continue;
        if (position == userList_.size()) userList_.push_back(std::make_unique<TUserInfo>());
        TUserInfo& user = *userList_[position++];
        user.record = *decodeUserRecord(bytes);
        fillNames(user);
    }
    // Objects beyond the last position are freed; nothing may keep pointing at them.
    for (std::size_t i = position; i < userList_.size(); ++i) forgetUser(userList_[i].get());
    userList_.resize(position);
    sortByName(userList_, [](const auto& u) -> const std::string& { return u->sortName; });

    auto byId = [this](std::int16_t id) -> TUserInfo* {
        for (const auto& user : userList_)
            if (user->record.userId == id) return user.get();
        return userList_.empty() ? nullptr : userList_.front().get();
    };
    selectedUser_ = byId(hadSelected ? selectedId : std::int16_t{0});
    if (hadCurrent && (!currentUser_ || currentUser_->record.userId != currentId))
        currentUser_ = byId(currentId);
    filteredUsers_.clear();
}

void DataStore::FilterUsers(int levelMask, int classId) {
    filteredUsers_.clear();
    for (const auto& user : userList_) {
        const int level = user->record.accessLevel & 15;
        const bool levelPasses =
            levelMask < 0 || (level >= 1 && level <= 3 && (levelMask & (1 << (level - 1))));
        if (levelPasses && (classId < 0 || user->record.classId == classId))
            filteredUsers_.push_back(user.get());
    }
    if (!filteredUsers_.empty() && std::ranges::find(filteredUsers_, selectedUser_) == filteredUsers_.end())
        selectedUser_ = filteredUsers_.front();
}

bool DataStore::FindUser(std::int16_t userId, std::string_view loginName, bool makeCurrent) {
    const auto file = readSharedFile(dataPath_ / file_names::kUsers);
    if (!file) return false;
    const std::string wanted = upperLogin(loginName);
    const auto at = findRecord(*file, kUserRecordSize, [&](r::Bytes record) {
        return userId != 0 ? userIdOf(record) == userId : storedLoginUpper(record) == wanted;
    });
    if (!at) return false;
    const auto bytes = asBytes(std::string_view(*file).substr(*at, kUserRecordSize));
    if (userIdOf(bytes) == 0) return false;
    if (!makeCurrent) return true;

    UserRecord found = *decodeUserRecord(bytes);
    found.loginName = r::cp1252ToUtf8(storedLoginUpper(bytes));
    const auto listed =
        std::ranges::find_if(userList_, [&](const auto& u) { return u->record.userId == found.userId; });
    if (listed != userList_.end()) {
        currentUser_ = listed->get();
    } else if (!currentUser_ || currentUser_ != ownCurrentUser_.get()) {
        // A user the list does not know yet gets an object of his own: copying him into
        // another user's list object would show (and later save or delete) the wrong user.
        ownCurrentUser_ = std::make_unique<TUserInfo>();
        currentUser_ = ownCurrentUser_.get();
    }
    currentUser_->record = found;
    fillNames(*currentUser_);
    return true;
}

bool DataStore::CheckLogin(std::string_view loginName, std::string_view password) {
    if (!FindUser(0, loginName, true)) return false;
    return UnscramblePassword(currentUser_->record.password) == password;
}

void DataStore::LoginGuest() {
    const auto listed = std::ranges::find_if(userList_, [](const auto& u) { return u->record.userId == 1; });
    if (listed != userList_.end()) {
        currentUser_ = listed->get();
        return;
    }
    ownCurrentUser_ = std::make_unique<TUserInfo>();
    fillNames(*ownCurrentUser_);
    currentUser_ = ownCurrentUser_.get();
}

int DataStore::CountAdministrators() const {
    const auto file = readSharedFile(dataPath_ / file_names::kUsers);
    if (!file) return 0;
    int count = 0;
    for (std::size_t i = 0; i < wholeRecords(*file, kUserRecordSize); ++i) {
        const auto bytes = recordAt(*file, kUserRecordSize, i);
        if (userIdOf(bytes) != 0 && (r::getI32(bytes, kAccessLevel) & 15) == kAdministrator) ++count;
    }
    return count;
}

bool DataStore::ReloadUser(UserRecord& record) const {
    const auto file = readSharedFile(dataPath_ / file_names::kUsers);
    if (!file || record.userId == 0) return false;
    const auto at =
        findRecord(*file, kUserRecordSize, [&](r::Bytes b) { return userIdOf(b) == record.userId; });
    if (!at) return false;
    record = *decodeUserRecord(asBytes(std::string_view(*file).substr(*at, kUserRecordSize)));
    return true;
}

bool DataStore::SaveUser(const UserRecord& record) {
    // Id 0 marks a free slot; saving it would overwrite the first deleted user's hole.
    if (record.userId == 0) return false;
    auto file = openForUpdate(file_names::kUsers, texts::kSaveUserBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kSaveUserBusy);
    if (!content) return false;
    const auto at =
        findRecord(*content, kUserRecordSize, [&](r::Bytes b) { return userIdOf(b) == record.userId; });
    const auto bytes = encodeUserRecord(record);
    return finish(*file, texts::kSaveUserBusy,
                  file->writeAt(at ? *at : file->appendOffset(kUserRecordSize), bytes));
}

bool DataStore::AddUsers(const std::vector<UserRecord>& users, std::vector<std::size_t>& taken) {
    taken.clear();
    auto file = openForUpdate(file_names::kUsers, texts::kSaveUserBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kSaveUserBusy);
    if (!content) return false;
    // One pass over the file under its lock: no other workstation can add one of these logins
    // between the check and the write.
    std::unordered_set<std::string> logins;
    std::unordered_set<std::int16_t> ids;
    for (std::size_t i = 0; i < wholeRecords(*content, kUserRecordSize); ++i) {
        const auto stored = recordAt(*content, kUserRecordSize, i);
        if (userIdOf(stored) == 0) continue;
        ids.insert(userIdOf(stored));
        logins.insert(storedLoginUpper(stored));
    }
    std::string appended;
    appended.reserve(users.size() * kUserRecordSize);
    for (std::size_t i = 0; i < users.size(); ++i) {
        const UserRecord& user = users[i];
        if (user.userId == 0 || !ids.insert(user.userId).second ||
            !logins.insert(upperLogin(user.loginName)).second) {
            taken.push_back(i);
            continue;
        }
        const auto bytes = encodeUserRecord(user);
        appended.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    if (appended.empty()) return true;
    return finish(*file, texts::kSaveUserBusy,
                  file->writeAt(file->appendOffset(kUserRecordSize), asBytes(appended)));
}

bool DataStore::DeleteUser(TUserInfo& user) {
    const std::int16_t id = user.record.userId;
    const auto resultFile = ResultFileName(id);
    // Key 1 is also the shared settings record, which outlives any one user.
    if (id != kSharedSettingsKey && !DeleteSettings(id)) return false;
    std::error_code ec;
    // Removing the name removes a link planted there, never what it leads to.
    if (std::filesystem::exists(std::filesystem::symlink_status(resultFile, ec)) &&
        !std::filesystem::remove(resultFile, ec)) {
        reportFailure(text(texts::kDeleteUserBusy), failureOf(ec.value(), resultFile));
        return false;
    }

    auto file = openForUpdate(file_names::kUsers, texts::kDeleteUserBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kDeleteUserBusy);
    if (!content) return false;
    const auto at = findRecord(*content, kUserRecordSize, [&](r::Bytes b) { return userIdOf(b) == id; });
    if (!at) return false;
    // The slot stays in the file as a hole: id 0 and an empty login name, the rest as it was.
    UserBytes hole{};
    std::copy_n(content->begin() + static_cast<std::ptrdiff_t>(*at), kUserRecordSize, hole.begin());
    r::putI16(hole, kUserId, 0);
    hole[kLoginName] = 0;
    if (!finish(*file, texts::kDeleteUserBusy, file->writeAt(*at, hole))) return false;

    forgetUser(&user);
    if (&user == ownCurrentUser_.get()) {
        ownCurrentUser_.reset();
    } else {
        std::erase_if(userList_, [&](const auto& u) { return u.get() == &user; });
    }
    return true;
}

namespace {

// Rewrites in place every live record of the class that `change` alters; stops at the first
// write that fails.
template <typename Change>
bool rewriteClassMembers(LockedFile& file, std::string_view content, std::int16_t classId, Change change) {
    for (std::size_t i = 0; i < wholeRecords(content, kUserRecordSize); ++i) {
        const auto stored = recordAt(content, kUserRecordSize, i);
        if (userIdOf(stored) == 0 || r::getI16(stored, kClassId) != classId) continue;
        UserBytes bytes{};
        std::ranges::copy(stored, bytes.begin());
        if (change(bytes) && !file.writeAt(i * kUserRecordSize, bytes)) return false;
    }
    return true;
}

}  // namespace

bool DataStore::ClearClass(std::int16_t classId) {
    auto file = openForUpdate(file_names::kUsers, texts::kClearClassBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kClearClassBusy);
    if (!content) return false;
    return finish(*file, texts::kClearClassBusy,
                  rewriteClassMembers(*file, *content, classId, [](UserBytes& bytes) {
                      r::putI16(bytes, kClassId, 0);
                      return true;
                  }));
}

bool DataStore::SetClassTutor(std::int16_t classId, std::string_view tutorFile) {
    auto file = openForUpdate(file_names::kUsers, texts::kClassTutorBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kClassTutorBusy);
    if (!content) return false;
    return finish(*file, texts::kClassTutorBusy,
                  rewriteClassMembers(*file, *content, classId, [&](UserBytes& bytes) {
                      if (r::getShortString(bytes, kTutorFile, kFileNameRoom) == tutorFile) return false;
                      r::putShortString(bytes, kTutorFile, kFileNameRoom, tutorFile);
                      const UserRecord defaults;
                      for (std::size_t e = 0; e < defaults.tutorStep.size(); ++e)
                          r::putI32(bytes, kTutorStep + 4 * e, defaults.tutorStep[e]);
                      std::fill_n(bytes.begin() + kReserved, kReservedSize, 0);
                      return true;
                  }));
}

}  // namespace kalvintor::data
