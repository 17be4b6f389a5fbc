// Making accounts before any workstation runs: a new data directory prepared as the program's
// first start prepares it, one account added, or a whole class roster imported.
#include "admin/Roster.h"
#include "admin/Store.h"

#include "data/DataFiles.h"
#include "records/Cp1252.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <unordered_map>

namespace kalvintor::admin {

namespace fs = std::filesystem;

namespace {

// Rosters longer than this show how far the work has come on the error stream.
constexpr std::size_t kProgressEvery = 1000;

std::string upperLoginOf(std::string_view utf8) {
    return data::upperCp1252(records::utf8ToCp1252(utf8));
}

// What a password may be: what the record's field holds, typed as given.
std::string passwordProblem(const std::string& password) {
    const std::string stored = records::utf8ToCp1252(password);
    if (records::cp1252ToUtf8(stored) != password)
        return "--password holds characters the records' character set cannot hold";
    if (stored.size() > data::kPasswordRoom)
        return "--password is longer than " + std::to_string(data::kPasswordRoom) + " characters";
    return {};
}

// The file the passwords go to: made new, readable by its owner only.
class PasswordFile {
public:
    // Nothing written yet; false (with the reason in `error`) when the file exists or cannot be made.
    bool create(const fs::path& file, std::string& error) {
        fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ < 0) {
            error = errno == EEXIST ? "exists already; the passwords go to a new file only"
                                    : std::string(std::strerror(errno));
            return false;
        }
        path_ = file;
        return true;
    }
    // Removes a file that was made but never filled.
    ~PasswordFile() {
        if (fd_ >= 0) {
            ::close(fd_);
            if (!filled_) ::unlink(path_.c_str());
        }
    }
    PasswordFile() = default;
    PasswordFile(const PasswordFile&) = delete;
    PasswordFile& operator=(const PasswordFile&) = delete;

    bool open() const { return fd_ >= 0; }
    const fs::path& path() const { return path_; }
    // The content written and made durable; false leaves no file behind.
    bool fill(const std::string& content, std::string& error) {
        std::size_t done = 0;
        while (done < content.size()) {
            const ssize_t n = ::write(fd_, content.data() + done, content.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = std::strerror(n < 0 ? errno : ENOSPC);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        if (::fsync(fd_) != 0) {
            error = std::strerror(errno);
            return false;
        }
        filled_ = true;
        return true;
    }

private:
    int fd_ = -1;
    fs::path path_;
    bool filled_ = false;
};

// The run of one roster (or one account) through checks, store and output.
class AccountRun {
public:
    AccountRun(const Context& context, const AccountOptions& options, std::string source)
        : context_(context), options_(options), source_(std::move(source)) {}

    int run(std::vector<CheckedRow> rows) {
        auto store = openStore(context_);
        if (!store) return kExitFailed;
        store->LoadUsers();
        store->LoadClasses();
        check(*store, rows);
        return create(*store, rows);
    }

private:
    std::ostream& err() const { return context_.err; }

    // "roster.csv: row 5: " for a roster, nothing for one account.
    std::string where(const CheckedRow& row) const {
        return source_.empty() ? std::string() : source_ + ": row " + std::to_string(row.row.line) + ": ";
    }

    void refuse(CheckedRow& row, std::string why) {
        row.refusal = std::move(why);
        row.level.reset();
    }

    // Checks every row against the store and the rows before it; says what it found per row.
    void check(const data::DataStore& store, std::vector<CheckedRow>& rows) {
        std::unordered_map<std::string, const data::TUserInfo*> existing;
        for (const auto& user : store.UserList())
            existing.emplace(upperLoginOf(user->record.loginName), user.get());
        std::unordered_map<std::string, int> seen;  // login → the row that has it first
        for (std::size_t i = 0; i < rows.size(); ++i) {
            CheckedRow& row = rows[i];
            if (row.refusal.empty()) {
                const std::string key = upperLoginOf(row.login);
                if (const auto found = existing.find(key); found != existing.end()) {
                    refuse(row, "login \"" + row.login + "\" belongs to an existing user (" +
                                    data::DisplayName(found->second->record.fullName) + ", id " +
                                    std::to_string(found->second->record.userId) + ")");
                } else if (const auto before = seen.find(key); before != seen.end()) {
                    refuse(row, "login \"" + row.login + "\" is given twice in the file (first on row " +
                                    std::to_string(before->second) + ")");
                } else {
                    seen.emplace(key, row.row.line);
                }
            }
            for (const auto& warning : row.warnings)
                err() << "kalvintor-admin: " << where(row) << "warning: " << warning << '\n';
            if (!row.refusal.empty())
                err() << "kalvintor-admin: " << where(row) << row.refusal << "; not created\n";
            if (rows.size() > kProgressEvery && (i + 1) % kProgressEvery == 0)
                err() << "kalvintor-admin: checked " << i + 1 << " of " << rows.size() << " rows\n";
        }
    }

    int create(data::DataStore& store, std::vector<CheckedRow>& rows) {
        std::vector<CheckedRow*> accepted;
        for (auto& row : rows)
            if (row.refusal.empty()) accepted.push_back(&row);
        const std::size_t refused = rows.size() - accepted.size();

        // Classes by name in any letter case; those the store lacks are made in order of first use.
        std::map<std::string, data::ClassRecord> classes;
        for (const auto& c : store.ClassList())
            classes.emplace(data::sortKey(c->record.className), c->record);
        std::vector<std::string> newClasses;
        for (const CheckedRow* row : accepted) {
            if (row->className.empty()) continue;
            const std::string key = data::sortKey(row->className);
            if (classes.contains(key)) continue;
            data::ClassRecord c;
            c.className = row->className;
            classes.emplace(key, c);
            newClasses.push_back(key);
        }

        if (accepted.empty()) {
            err() << "kalvintor-admin: nothing to create; " << refused << (refused == 1 ? " row" : " rows")
                  << " refused\n";
            return kExitFailed;
        }
        if (options_.dryRun) {
            Table table{{"row", "login", "name", "class", "level", "class_is_new"}, {}};
            for (const CheckedRow* row : accepted) {
                const bool isNew =
                    !row->className.empty() && classes.at(data::sortKey(row->className)).classId == 0;
                table.rows.push_back({row->row.line, row->login, row->firstName + " " + row->lastName,
                                      row->className, levelName(*row->level), isNew ? "yes" : ""});
            }
            table.write(context_.out, options_.format);
            err() << "kalvintor-admin: dry run: would create " << accepted.size() << " account"
                  << (accepted.size() == 1 ? "" : "s") << " and " << newClasses.size() << " class"
                  << (newClasses.size() == 1 ? "" : "es") << "; " << refused
                  << " refused; nothing was changed\n";
            std::error_code ec;
            const bool fileInTheWay =
                !options_.passwords.empty() && fs::exists(fs::symlink_status(options_.passwords, ec));
            if (fileInTheWay)
                err() << "kalvintor-admin: " << options_.passwords.string()
                      << " exists already; the passwords go to a new file only\n";
            return refused == 0 && !fileInTheWay ? kExitOk : kExitFailed;
        }

        PasswordFile passwordFile;
        if (!options_.passwords.empty()) {
            std::string why;
            if (!passwordFile.create(options_.passwords, why)) {
                err() << "kalvintor-admin: " << options_.passwords.string() << ": " << why
                      << "; nothing was created\n";
                return kExitFailed;
            }
        }

        if (accepted.size() > kProgressEvery)
            err() << "kalvintor-admin: creating " << accepted.size() << " accounts\n";
        // The ids first: a data directory that cannot be written fails here, before anything is made.
        const std::int16_t firstId = store.NextIds(data::IdKind::User, static_cast<int>(accepted.size()));
        if (firstId == 0) {
            err() << "kalvintor-admin: could not take " << accepted.size() << " user ids from "
                  << (store.DataPath() / data::file_names::kCommon).string()
                  << (store.LastError() ? "" : " (the ids would pass the largest a record holds)")
                  << "; nothing was created\n";
            return kExitFailed;
        }
        for (const auto& key : newClasses) {
            data::ClassRecord& c = classes.at(key);
            c.classId = store.NextId(data::IdKind::Class);
            if (c.classId == 0 || !store.SaveClass(c)) {
                err() << "kalvintor-admin: could not create the class \"" << c.className
                      << "\"; no account was created\n";
                return kExitFailed;
            }
            err() << "kalvintor-admin: created the class \"" << c.className << "\" (id " << c.classId
                  << ")\n";
        }

        std::vector<data::UserRecord> users;
        std::vector<std::string> passwords;
        users.reserve(accepted.size());
        for (std::size_t i = 0; i < accepted.size(); ++i) {
            const CheckedRow& row = *accepted[i];
            data::UserRecord u;
            u.userId = static_cast<std::int16_t>(firstId + static_cast<int>(i));
            u.accessLevel = *row.level;
            u.loginName = row.login;
            u.fullName = data::joinFullName(row.firstName, row.lastName);
            passwords.push_back(options_.password.empty() ? generatePassword() : options_.password);
            u.password = data::ScramblePassword(passwords.back());
            // Teachers and administrators have every permission; a new student has none until
            // somebody gives them, as in the program's add user dialog.
            const bool student = *row.level == data::kStudent;
            u.allowExerciseSetup = u.allowTutorChange = u.allowEditChords = u.allowPrivateSettings = !student;
            if (!row.className.empty()) {
                // A new member takes the class's tutor from its first step, as "Add" in the class does.
                const data::ClassRecord& c = classes.at(data::sortKey(row.className));
                u.classId = c.classId;
                u.tutorFile = c.tutorFile;
            }
            users.push_back(std::move(u));
        }
        std::vector<std::size_t> taken;
        if (!store.AddUsers(users, taken)) {
            err() << "kalvintor-admin: no account was created\n";
            return kExitFailed;
        }
        std::size_t lost = 0;
        for (const std::size_t index : taken) {
            err() << "kalvintor-admin: " << where(*accepted[index]) << "login \"" << accepted[index]->login
                  << "\" was taken on another workstation meanwhile; not created\n";
            accepted[index] = nullptr;
            ++lost;
        }

        Table table{{"row", "login", "name", "class", "level", "password"}, {}};
        std::string list = "login,name,class,level,password\r\n";
        for (std::size_t i = 0; i < accepted.size(); ++i) {
            const CheckedRow* row = accepted[i];
            if (!row) continue;
            const std::string name = row->firstName + " " + row->lastName;
            const std::string className =
                row->className.empty() ? std::string() : classes.at(data::sortKey(row->className)).className;
            table.rows.push_back(
                {row->row.line, row->login, name, className, levelName(*row->level), passwords[i]});
            list += csvField(row->login) + "," + csvField(name) + "," + csvField(className) + "," +
                    std::string(levelName(*row->level)) + "," + csvField(passwords[i]) + "\r\n";
        }
        bool printed = false;
        if (passwordFile.open()) {
            std::string why;
            if (passwordFile.fill(list, why)) {
                err() << "kalvintor-admin: the passwords are in " << passwordFile.path().string() << '\n';
            } else {
                err() << "kalvintor-admin: could not write " << passwordFile.path().string() << ": " << why
                      << "; the passwords follow here instead\n";
                table.write(context_.out, options_.format);
                printed = true;
            }
        } else {
            table.write(context_.out, options_.format);
            printed = true;
        }
        if (!printed) {
            // The list without the passwords, for the record of what was made.
            table.columns.pop_back();
            for (auto& r : table.rows) r.pop_back();
            table.write(context_.out, options_.format);
        }
        const std::size_t created = accepted.size() - lost;
        err() << "kalvintor-admin: created " << created << " account" << (created == 1 ? "" : "s") << " and "
              << newClasses.size() << " class" << (newClasses.size() == 1 ? "" : "es");
        if (refused + lost > 0)
            err() << "; " << refused + lost << (refused + lost == 1 ? " row" : " rows") << " not created";
        err() << '\n';
        return refused + lost == 0 ? kExitOk : kExitFailed;
    }

    const Context& context_;
    const AccountOptions& options_;
    std::string source_;
};

// The login name of whoever runs the tool, as the program fills it in for the first administrator.
std::string systemUserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name)
        return entry->pw_name;
    return "admin";
}

// The files a data directory holds; any of them means it is in use.
std::optional<fs::path> existingData(const fs::path& dir) {
    std::error_code ec;
    for (const std::string_view name :
         {data::file_names::kUsers, data::file_names::kClasses, data::file_names::kCommon,
          data::file_names::kSettings, data::file_names::kResultDir}) {
        if (fs::exists(fs::symlink_status(dir / name, ec))) return dir / name;
    }
    const auto below = dir / data::file_names::kDataSubdir / data::file_names::kUsers;
    if (fs::exists(fs::symlink_status(below, ec))) return below;
    return std::nullopt;
}

}  // namespace

int initData(const Context& context, const InitOptions& options) {
    const fs::path& dir = context.dataDir;
    if (const auto found = existingData(dir)) {
        context.err << "kalvintor-admin: " << dir.string() << " holds data already (" << found->string()
                    << "); init prepares an empty data directory only, and changed nothing\n";
        return kExitFailed;
    }
    const std::string login = options.admin.empty() ? systemUserName() : options.admin;
    const std::string password = options.password.empty() ? generatePassword() : options.password;
    RosterRow row;
    row.firstName = "School";
    row.lastName = "Administrator";
    row.login = login;
    row.level = "administrator";
    const CheckedRow admin = checkRow(row);
    if (!admin.refusal.empty()) {
        context.err << "kalvintor-admin: the administrator's " << admin.refusal << '\n';
        return kExitUsage;
    }
    if (!options.password.empty())
        if (const auto problem = passwordProblem(options.password); !problem.empty()) {
            context.err << "kalvintor-admin: " << problem << '\n';
            return kExitUsage;
        }

    std::error_code ec;
    const bool made = !fs::exists(dir, ec);
    fs::create_directories(dir);
    std::vector<fs::path> created;
    auto undo = [&] {
        // Only what this run made goes: the directory held no data before.
        for (const auto& file : created) fs::remove(file, ec);
        if (made) fs::remove(dir, ec);
        context.err << "kalvintor-admin: " << dir.string() << " was left as it was\n";
        return kExitFailed;
    };
    auto store = makeStore(context, dir);
    // As on the program's first start: the common record with its defaults, the shared program
    // settings, then the first administrator.
    created.push_back(dir / data::file_names::kCommon);
    store->LoadCommon();
    if (store->LastError() || !fs::is_regular_file(dir / data::file_names::kCommon, ec)) return undo();
    created.push_back(dir / data::file_names::kSettings);
    store->LoadSettings(1, true);
    if (!fs::is_regular_file(dir / data::file_names::kSettings, ec)) return undo();
    data::UserRecord u;
    u.userId = store->NextId(data::IdKind::User);
    if (u.userId == 0) return undo();
    u.accessLevel = data::kAdministrator;
    u.loginName = login;
    u.fullName = data::joinFullName(row.firstName, row.lastName);
    u.password = data::ScramblePassword(password);
    created.push_back(dir / data::file_names::kUsers);
    if (!store->SaveUser(u)) return undo();

    context.err << "kalvintor-admin: prepared " << dir.string()
                << " with the default options and program settings and the first administrator\n";
    Table table{{"login", "name", "level", "password"}, {}};
    table.rows.push_back({login, row.firstName + " " + row.lastName, "administrator", password});
    table.write(context.out, options.format);
    return kExitOk;
}

int addAccount(const Context& context, const NewAccount& account, const AccountOptions& options) {
    if (!options.password.empty())
        if (const auto problem = passwordProblem(options.password); !problem.empty()) {
            context.err << "kalvintor-admin: " << problem << '\n';
            return kExitUsage;
        }
    RosterRow row;
    row.login = account.login;
    row.firstName = account.firstName;
    row.lastName = account.lastName;
    row.className = account.className;
    row.level = account.level;
    return AccountRun(context, options, {}).run({checkRow(row)});
}

int importRoster(const Context& context, const fs::path& file, const AccountOptions& options) {
    const std::string source = file.filename().string();
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        context.err << "kalvintor-admin: " << file.string() << ": "
                    << (fs::exists(file, ec) ? "is not a file" : "does not exist") << '\n';
        return kExitFailed;
    }
    if (fs::file_size(file, ec) > kMaxRosterBytes) {
        context.err << "kalvintor-admin: " << source << " is too large for a roster; nothing was created\n";
        return kExitFailed;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        context.err << "kalvintor-admin: " << file.string() << ": cannot be read\n";
        return kExitFailed;
    }
    const RosterParse parsed = parseRoster(bytes);
    if (!parsed.roster) {
        context.err << "kalvintor-admin: " << source << " " << parsed.error << "; nothing was created\n";
        return kExitFailed;
    }
    if (parsed.roster->cp1252)
        context.err << "kalvintor-admin: " << source
                    << " is not UTF-8; it is read as the Western code page (1252)\n";
    std::vector<CheckedRow> rows;
    rows.reserve(parsed.roster->rows.size());
    for (const auto& row : parsed.roster->rows) rows.push_back(checkRow(row));
    return AccountRun(context, options, source).run(std::move(rows));
}

}  // namespace kalvintor::admin
