// The commands of kalvintor-admin: each takes its parsed options, writes to the context's streams
// and returns the exit code.
#pragma once

#include "admin/Output.h"
#include "records/DateTime.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kalvintor::admin {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the command failed, or check found something wrong
inline constexpr int kExitUsage = 2;   // the command line was not understood

struct Context {
    std::filesystem::path dataDir;
    std::filesystem::path programDir;  // where the tool is installed, beside the program
    std::ostream& out;
    std::ostream& err;
    std::function<records::DateTime()> now;  // local time; the system clock without one
    // A pause while a file is held by a workstation; sleeps without one (tests make it free).
    std::function<void(int milliseconds)> pause;
    // Series of lock attempts (about two seconds each) before a held file is given up.
    int lockSeries = 5;
};

struct ResultsOptions {
    std::string user;  // login name or id; empty = everybody
    int exercise = 0;  // 1..10; 0 = every exercise
    std::optional<records::DateTime> since;
    Format format = Format::Table;
};

struct StatsOptions {
    std::string user;       // empty = everybody
    std::string className;  // name or id; empty = every class
    int period = 7;         // days counted back from today's midnight, as "1 week" in the program
    Format format = Format::Table;
};

struct PurgeOptions {
    records::DateTime before = 0;
    std::string user;  // empty = everybody
    bool dryRun = false;
    Format format = Format::Table;
};

struct TransferOptions {
    std::string user;  // login name or id
    std::filesystem::path folder;
    bool yes = false;  // answer the transfer's questions with Yes instead of No
};

struct InitOptions {
    std::string admin;     // the first administrator's login; empty = the system user's name
    std::string password;  // empty = a generated one
    Format format = Format::Table;
};

// What `users add` and `users import` do with the accounts they make.
struct AccountOptions {
    bool dryRun = false;              // check and show, change nothing
    std::filesystem::path passwords;  // a new file for the passwords; empty = print them
    std::string password;             // one password for every account; empty = generated ones
    Format format = Format::Table;
};

struct NewAccount {
    std::string login;
    std::string firstName;
    std::string lastName;
    std::string className;  // empty = no class; a missing class is created
    std::string level;      // student (empty), teacher or administrator
};

int initData(const Context& context, const InitOptions& options);
int addAccount(const Context& context, const NewAccount& account, const AccountOptions& options);
int importRoster(const Context& context, const std::filesystem::path& roster, const AccountOptions& options);
int listUsers(const Context& context, Format format);
int listClasses(const Context& context, Format format);
int listResults(const Context& context, const ResultsOptions& options);
int showStatistics(const Context& context, const StatsOptions& options);
int purgeResults(const Context& context, const PurgeOptions& options);
int checkData(const Context& context, Format format);
int backupData(const Context& context, const std::filesystem::path& destination);
int exportUser(const Context& context, const TransferOptions& options);
int importUser(const Context& context, const TransferOptions& options);
int describeSetup(const Context& context, const std::filesystem::path& file, Format format);
int describeTutor(const Context& context, const std::filesystem::path& file, Format format);

// What `check` finds: the file (relative to the data directory), a short kind and plain words.
struct Fault {
    std::string file;
    std::string kind;
    std::string message;
};
std::vector<Fault> findFaults(const std::filesystem::path& dataDir);

// The command line without the program name. Without --data the data directory is the one the
// machine settings file `machineSettings` names (the context's dataDir is then replaced).
int run(const std::vector<std::string>& args, Context context, const std::filesystem::path& machineSettings);

}  // namespace kalvintor::admin
