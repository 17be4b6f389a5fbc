// The start-up rules.
#include "app/StartupRules.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace kalvintor::app {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

// A file can be made in `dir`: a probe file is created and removed again.
bool takesNewFiles(const fs::path& dir) {
    const fs::path probe = dir / ".kalvintor-write-probe";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::app);
        if (!out) return false;
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

bool writable(const fs::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    return static_cast<bool>(out);
}

struct FileRule {
    const char* name;
    std::uintmax_t recordSize;
    bool single;  // exactly one record
};

constexpr FileRule kFiles[] = {
    {"User.dat", 620, false},
    {"Class.dat", 188, false},
    {"Common.dat", 160, true},
    {"Setting.dat", 816, false},
};

}  // namespace

bool IsSetupArgument(const fs::path& argument) {
    if (argument.empty() || upper(argument.extension().string()) != ".LVS") return false;
    std::error_code ec;
    return fs::is_regular_file(argument, ec);
}

DirectoryState PrepareDataDirectory(const fs::path& dir) {
    std::error_code ec;
    DirectoryState state = DirectoryState::Ready;
    if (!fs::exists(dir, ec)) {
        if (!fs::create_directories(dir, ec) || ec) return DirectoryState::Missing;
        state = DirectoryState::Created;
    } else if (!fs::is_directory(dir, ec)) {
        return DirectoryState::NotDirectory;
    }
    const fs::path users = dir / "User.dat";
    if (!fs::exists(users, ec)) {
        std::ofstream create(users, std::ios::binary | std::ios::app);
        if (!create) return DirectoryState::ReadOnly;
    }
    return takesNewFiles(dir) ? state : DirectoryState::ReadOnly;
}

std::vector<DataFileState> CheckDataFiles(const fs::path& dir) {
    std::vector<DataFileState> states;
    for (const FileRule& rule : kFiles) {
        DataFileState s{rule.name, FileProblem::None};
        const fs::path file = dir / rule.name;
        std::error_code ec;
        if (fs::exists(file, ec)) {
            const auto size = fs::file_size(file, ec);
            std::ifstream in(file, std::ios::binary);
            if (ec || !in || !fs::is_regular_file(file, ec)) {
                s.problem = FileProblem::Unreadable;
            } else if (rule.single ? size > 0 && size < rule.recordSize : size % rule.recordSize != 0) {
                s.problem = FileProblem::Truncated;
            } else if (rule.single && size > rule.recordSize) {
                s.problem = FileProblem::Oversized;
            } else if (!writable(file)) {
                s.problem = FileProblem::ReadOnly;
            }
        }
        states.push_back(s);
    }
    return states;
}

bool Damaged(const std::vector<DataFileState>& states, std::string_view file) {
    return std::any_of(states.begin(), states.end(), [file](const DataFileState& s) {
        return s.file == file && s.problem != FileProblem::None && s.problem != FileProblem::ReadOnly;
    });
}

bool IsGuestLogin(std::string_view typedName, std::string_view guestName, bool allowGuest, bool cancelled) {
    // With guests forbidden no way round the password leads to a session: not an empty name and
    // not the guest's name.
    if (!allowGuest) return false;
    return cancelled || typedName.empty() || upper(typedName) == upper(guestName);
}

std::int16_t SettingsKey(std::int16_t userId, bool guest, bool privateSettings) {
    return !guest && privateSettings && userId > 1 ? userId : std::int16_t{1};
}

}  // namespace kalvintor::app
