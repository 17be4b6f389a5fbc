// The command line of kalvintor-admin: options, help texts and the choice of command.
#include "admin/Admin.h"
#include "admin/Dates.h"
#include "admin/MachineIni.h"
#include "admin/Store.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <sstream>

namespace kalvintor::admin {

namespace fs = std::filesystem;

namespace {

struct CommandInfo {
    std::string_view name;
    std::string_view arguments;  // the positional arguments, as the usage line shows them
    std::size_t positionals;
    std::string_view options;  // the options it takes besides --data and --help, blank-separated
    std::string_view summary;
    std::string_view help;
};

constexpr std::array<CommandInfo, 15> kCommands{{
    {"init", "", 0, "--admin --password --json --csv", "prepare a new, empty data directory",
     "Prepares an empty data directory (made when missing) as the program's first start does: the\n"
     "common options with their defaults, the shared program settings and the first administrator,\n"
     "whose login and password are printed once. A directory that holds data already is refused.\n"
     "  --admin LOGIN      the administrator's login (default: the name you are logged in with)\n"
     "  --password TEXT    the administrator's password (default: a generated one)"},
    {"users", "", 0, "--json --csv", "list the users",
     "Lists every user: id, login name, full name, level, class, tutor and setup file.\n"
     "'users add' and 'users import' make accounts; see their help."},
    {"users add", "LOGIN FIRST LAST", 3, "--class --level --password --passwords --dry-run --json --csv",
     "add one account",
     "Adds one account with a login name, first and last name, and prints its password once.\n"
     "  --class NAME       puts the account into a class, made when missing\n"
     "  --level LEVEL      student (default), teacher or administrator\n"
     "  --password TEXT    the password, at most 15 characters (default: a generated one)\n"
     "  --passwords FILE   write login, name, class and password to FILE instead (a new file,\n"
     "                     readable by you only)\n"
     "  --dry-run          only say what would be made; nothing is changed"},
    {"users import", "ROSTER", 1, "--passwords --dry-run --json --csv",
     "make a class's accounts from a roster",
     "Makes accounts from ROSTER, a spreadsheet saved as CSV: a header row naming the columns first\n"
     "name, last name and login (class and level may follow), separated by commas or semicolons, in\n"
     "UTF-8 or the spreadsheet's Western code page. Classes are made when missing; every account gets\n"
     "a generated password, printed once as a list of login, name, class and password.\n"
     "A row that cannot be made (a login in use or given twice, no login, an unknown level, a name\n"
     "too long for its field) is refused with its row number; characters the records cannot hold\n"
     "are replaced with a warning. A file that is no roster is refused whole and nothing is made.\n"
     "Exit code 1 when any row was refused. Safe while workstations are in use.\n"
     "  --passwords FILE   write the list to FILE instead (a new file, readable by you only)\n"
     "  --dry-run          only check the roster and say what would be made; nothing is changed"},
    {"classes", "", 0, "--json --csv", "list the classes",
     "Lists every class: id, name, teacher, tutor and number of members."},
    {"results", "", 0, "--user --exercise --since --json --csv", "list results, as a table, CSV or JSON",
     "Lists stored results, one row per session: date and time, exercise, tutor step or setup, correct\n"
     "answers, questions, percentage, duration and answer time.\n"
     "  --user LOGIN|ID    one user's results (default: everybody)\n"
     "  --exercise N       only exercise N (1-10)\n"
     "  --since DATE       only sessions from DATE on (YYYY-MM-DD or YYYY-MM-DDTHH:MM)\n"
     "  --csv              CSV with a header row; --json a JSON list"},
    {"stats", "", 0, "--period --class --user --json --csv", "statistics per user and exercise for a period",
     "Shows the statistics of the user overview, per user and exercise: the last session and the sums\n"
     "over the period.\n"
     "  --period DAYS      days counted back from today's midnight (default 7, \"1 week\"; 0 = today)\n"
     "  --class NAME|ID    only the users of one class\n"
     "  --user LOGIN|ID    only one user"},
    {"purge", "", 0, "--before --dry-run --user --json --csv", "delete results from before a date",
     "Deletes the results of sessions before a date from every user's result file. Each file is\n"
     "rewritten in one step under its lock, so it is safe while workstations are in use.\n"
     "  --before DATE      required: results before DATE (YYYY-MM-DD[THH:MM]) go\n"
     "  --dry-run          only say what would go; nothing is changed\n"
     "  --user LOGIN|ID    only one user's results"},
    {"check", "", 0, "--json --csv", "report what is wrong with the data files",
     "Reads every file of the data directory and reports what is wrong in plain words. Changes nothing.\n"
     "Exit code 0 when nothing is wrong, 1 when something is."},
    {"backup", "DEST", 1, "", "copy the data directory safely while it is in use",
     "Copies the data directory to the new folder DEST. Every file is copied under the lock the\n"
     "workstations write under, so the copy is consistent while they are in use; DEST appears only\n"
     "when the whole copy is done."},
    {"export", "USER FOLDER", 2, "--yes", "export a user into a folder",
     "Exports a user (login name or id) into FOLDER: the user record, the results, the tutor and the\n"
     "setup file. Questions are answered No, or Yes with --yes."},
    {"import", "FOLDER USER", 2, "--yes", "import an exported folder into a user",
     "Imports an exported FOLDER into a user of this data directory: results are merged, a newer tutor\n"
     "replaces the older one. Questions are answered No, or Yes with --yes."},
    {"setup", "FILE", 1, "--json", "show what an exercise setup file holds",
     "Shows what an exercise setup file holds, exercise by exercise; older files are converted as\n"
     "the program converts them."},
    {"tutor", "FILE", 1, "--json", "show what a tutor file holds",
     "Shows what a tutor file holds: title, author and every step with its setup; older tutors are\n"
     "converted as the program converts them."},
    {"help", "[COMMAND]", 0, "", "show this help, or a command's",
     "Shows this help, or the help of one command."},
}};

constexpr std::string_view kValueOptions[] = {"--data",   "--user",     "--exercise", "--since",
                                              "--period", "--class",    "--before",   "--level",
                                              "--admin",  "--password", "--passwords"};

const CommandInfo* commandNamed(std::string_view name) {
    for (const auto& c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}

void generalHelp(std::ostream& out) {
    out << "Usage: kalvintor-admin [--data DIR] COMMAND [OPTIONS]\n\n"
           "Looks after the shared data directory with the program's own file rules and locking, so it\n"
           "is safe to run while workstations are in use.\n\n"
           "  --data DIR   the data directory (default: the one the machine settings name)\n"
           "  --json       JSON output, on every command that prints data\n"
           "  --help       help on a command\n\n"
           "Commands:\n";
    for (const auto& c : kCommands) {
        std::string line =
            "  " + std::string(c.name) + (c.arguments.empty() ? "" : " ") + std::string(c.arguments);
        line.resize(std::max<std::size_t>(line.size() + 2, 24), ' ');
        out << line << c.summary << '\n';
    }
    out << "\nExit codes: 0 done, 1 failed (or check found something wrong), 2 command line not "
           "understood.\n";
}

void commandHelp(std::ostream& out, const CommandInfo& c) {
    out << "Usage: kalvintor-admin [--data DIR] " << c.name << (c.arguments.empty() ? "" : " ")
        << c.arguments;
    if (!c.options.empty()) out << " [" << c.options << "]";
    out << "\n\n" << c.help << '\n';
}

struct Parsed {
    std::vector<std::string> positionals;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;
};

int usage(const Context& context, const std::string& message) {
    context.err << "kalvintor-admin: " << message << "\nTry 'kalvintor-admin --help'.\n";
    return kExitUsage;
}

bool takesValue(std::string_view option) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), option) != std::end(kValueOptions);
}

Format formatOf(const Parsed& p) {
    if (p.flags.contains("--json")) return Format::Json;
    if (p.flags.contains("--csv")) return Format::Csv;
    return Format::Table;
}

// The command line carried out; file-system errors may escape as exceptions.
int runCommand(const std::vector<std::string>& args, Context context, const fs::path& machineSettings) {
    Parsed p;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg == "-") {
            p.positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg == "-h" ? "--help" : arg;
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (takesValue(name)) {
            if (!value) {
                if (i + 1 >= args.size()) return usage(context, name + " needs a value");
                value = args[++i];
            }
            p.values[name] = *value;
        } else {
            if (value) return usage(context, name + " takes no value");
            p.flags.insert(name);
        }
    }

    if (p.positionals.empty()) {
        if (p.flags.contains("--help")) {
            generalHelp(context.out);
            return kExitOk;
        }
        return usage(context, "no command given");
    }
    std::string command = p.positionals.front();
    p.positionals.erase(p.positionals.begin());
    // "users add" and "users import" are commands of their own; "users" alone lists.
    auto isAccountCommand = [](const std::vector<std::string>& words) {
        return words.size() >= 2 && words[0] == "users" && (words[1] == "add" || words[1] == "import");
    };
    if (command == "users" && !p.positionals.empty() && isAccountCommand({command, p.positionals.front()})) {
        command += " " + p.positionals.front();
        p.positionals.erase(p.positionals.begin());
    } else if (command == "help" && isAccountCommand(p.positionals)) {
        p.positionals = {"users " + p.positionals[1]};
    }
    const CommandInfo* info = commandNamed(command);
    if (!info) return usage(context, "unknown command '" + command + "'");
    if (p.flags.contains("--help")) {
        commandHelp(context.out, *info);
        return kExitOk;
    }
    if (command == "help") {
        if (p.positionals.empty()) {
            generalHelp(context.out);
            return kExitOk;
        }
        const CommandInfo* about = commandNamed(p.positionals.front());
        if (!about) return usage(context, "unknown command '" + p.positionals.front() + "'");
        commandHelp(context.out, *about);
        return kExitOk;
    }

    // Every option must be one the command takes.
    const std::string allowed = " " + std::string(info->options) + " --data --help ";
    auto known = [&](const std::string& option) {
        return allowed.find(" " + option + " ") != std::string::npos;
    };
    for (const auto& flag : p.flags)
        if (!known(flag)) return usage(context, command + " does not take " + flag);
    for (const auto& [option, value] : p.values)
        if (!known(option)) return usage(context, command + " does not take " + option);
    if (p.flags.contains("--json") && p.flags.contains("--csv"))
        return usage(context, "give --json or --csv, not both");
    if (p.positionals.size() != info->positionals)
        return usage(context, command + " takes " +
                                  (info->positionals == 0 ? std::string("no arguments")
                                                          : std::string(info->arguments)));
    // An empty name would stand for the current folder or for nothing at all.
    std::istringstream argumentNames{std::string(info->arguments)};
    for (const auto& positional : p.positionals) {
        std::string argument;
        argumentNames >> argument;
        if (positional.empty()) return usage(context, command + ": " + argument + " is empty; give a name");
    }
    if (p.values.contains("--data") && p.values["--data"].empty())
        return usage(context, "--data wants the data folder, not an empty name");

    context.dataDir = p.values.contains("--data") ? fs::path(p.values["--data"])
                                                  : defaultDataDirectory(context.programDir, machineSettings);
    const Format format = formatOf(p);
    auto date = [&](const std::string& option) -> std::optional<records::DateTime> {
        const auto parsed = parseDate(p.values[option]);
        if (!parsed)
            usage(context,
                  option + " wants a date as YYYY-MM-DD or YYYY-MM-DDTHH:MM, not '" + p.values[option] + "'");
        return parsed;
    };

    if (command == "init") {
        InitOptions o;
        o.admin = p.values["--admin"];
        o.password = p.values["--password"];
        o.format = format;
        return initData(context, o);
    }
    if (command == "users add" || command == "users import") {
        AccountOptions o;
        o.dryRun = p.flags.contains("--dry-run");
        o.passwords = p.values["--passwords"];
        o.password = p.values["--password"];
        o.format = format;
        if (command == "users import") return importRoster(context, p.positionals[0], o);
        return addAccount(context,
                          NewAccount{p.positionals[0], p.positionals[1], p.positionals[2],
                                     p.values["--class"], p.values["--level"]},
                          o);
    }
    if (command == "users") return listUsers(context, format);
    if (command == "classes") return listClasses(context, format);
    if (command == "results") {
        ResultsOptions o;
        o.format = format;
        o.user = p.values["--user"];
        if (p.values.contains("--exercise")) {
            const auto e = parseNumber(p.values["--exercise"]);
            if (!e || *e < 1 || *e > 10) return usage(context, "--exercise wants a number from 1 to 10");
            o.exercise = *e;
        }
        if (p.values.contains("--since")) {
            o.since = date("--since");
            if (!o.since) return kExitUsage;
        }
        return listResults(context, o);
    }
    if (command == "stats") {
        StatsOptions o;
        o.format = format;
        o.user = p.values["--user"];
        o.className = p.values["--class"];
        if (p.values.contains("--period")) {
            const auto days = parseNumber(p.values["--period"]);
            if (!days || *days < 0 || *days > 255)
                return usage(context, "--period wants a number of days from 0 to 255");
            o.period = *days;
        }
        return showStatistics(context, o);
    }
    if (command == "purge") {
        if (!p.values.contains("--before")) return usage(context, "purge needs --before DATE");
        PurgeOptions o;
        o.format = format;
        o.user = p.values["--user"];
        o.dryRun = p.flags.contains("--dry-run");
        const auto before = date("--before");
        if (!before) return kExitUsage;
        o.before = *before;
        return purgeResults(context, o);
    }
    if (command == "check") return checkData(context, format);
    if (command == "backup") return backupData(context, p.positionals[0]);
    if (command == "export" || command == "import") {
        TransferOptions o;
        o.yes = p.flags.contains("--yes");
        const bool exporting = command == "export";
        o.user = p.positionals[exporting ? 0 : 1];
        o.folder = p.positionals[exporting ? 1 : 0];
        return exporting ? exportUser(context, o) : importUser(context, o);
    }
    if (command == "setup") return describeSetup(context, p.positionals[0], format);
    return describeTutor(context, p.positionals[0], format);
}

}  // namespace

int run(const std::vector<std::string>& args, Context context, const fs::path& machineSettings) {
    std::ostream& err = context.err;
    // Every failure of the file system ends in a message and an exit code, never in an abort.
    try {
        return runCommand(args, std::move(context), machineSettings);
    } catch (const fs::filesystem_error& e) {
        err << "kalvintor-admin: ";
        if (!e.path1().empty()) err << e.path1().string() << ": ";
        err << e.code().message() << '\n';
    } catch (const std::exception& e) {
        err << "kalvintor-admin: " << e.what() << '\n';
    }
    return kExitFailed;
}

}  // namespace kalvintor::admin
