// The setup on the command line, the data directory, damaged shared files, guest names, settings keys.
#include "app/StartupRules.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <fstream>
#include <string>

using namespace kalvintor::app;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "startup-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path write(const std::string& name, std::size_t size) const {
        std::ofstream out(path_ / name, std::ios::binary);
        out << std::string(size, 'x');
        return path_ / name;
    }

private:
    fs::path path_;
};

FileProblem problemOf(const fs::path& dir, const std::string& file) {
    for (const auto& s : CheckDataFiles(dir))
        if (s.file == file) return s.problem;
    return FileProblem::Unreadable;
}

}  // namespace

TEST(StartupRules, TheSetupArgumentIsAnExistingLvsFileInAnyCase) {
    TempDir dir;
    EXPECT_TRUE(IsSetupArgument(dir.write("Upper.LVS", 10)));
    EXPECT_TRUE(IsSetupArgument(dir.write("lower.lvs", 10)));
    EXPECT_FALSE(IsSetupArgument(dir.write("other.txt", 10)));
    EXPECT_FALSE(IsSetupArgument(dir.path() / "missing.lvs"));
    fs::create_directory(dir.path() / "folder.lvs");
    EXPECT_FALSE(IsSetupArgument(dir.path() / "folder.lvs"));
    EXPECT_FALSE(IsSetupArgument({}));
}

TEST(StartupRules, AMissingDataDirectoryIsMadeWithAnEmptyUserFile) {
    TempDir dir;
    const fs::path data = dir.path() / "school" / "Data";
    EXPECT_EQ(PrepareDataDirectory(data), DirectoryState::Created);
    EXPECT_TRUE(fs::exists(data / "User.dat"));
    EXPECT_EQ(fs::file_size(data / "User.dat"), 0u);
    // Users already there are left alone.
    dir.write("school/Data/User.dat", 620);
    EXPECT_EQ(PrepareDataDirectory(data), DirectoryState::Ready);
    EXPECT_EQ(fs::file_size(data / "User.dat"), 620u);
    // A file in the directory's place, and a directory that cannot be made.
    dir.write("taken", 3);
    EXPECT_EQ(PrepareDataDirectory(dir.path() / "taken"), DirectoryState::NotDirectory);
    EXPECT_EQ(PrepareDataDirectory(dir.path() / "taken" / "below"), DirectoryState::Missing);
}

TEST(StartupRules, AReadOnlyDataDirectoryIsSaidToBeSo) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    const fs::path data = dir.path() / "Data";
    fs::create_directory(data);
    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(PrepareDataDirectory(data), DirectoryState::ReadOnly);
    EXPECT_EQ(PrepareDataDirectory(data / "below"), DirectoryState::Missing);
    fs::permissions(data, fs::perms::owner_all);
}

TEST(StartupRules, DamagedSharedFilesAreFoundBySize) {
    struct Case {
        const char* file;
        std::size_t size;
        FileProblem problem;
    } cases[] = {
        {"User.dat", 0, FileProblem::None},           {"User.dat", 1240, FileProblem::None},
        {"User.dat", 1000, FileProblem::Truncated},   {"Class.dat", 188 * 3, FileProblem::None},
        {"Class.dat", 100, FileProblem::Truncated},   {"Common.dat", 160, FileProblem::None},
        {"Common.dat", 0, FileProblem::None},         {"Common.dat", 90, FileProblem::Truncated},
        {"Common.dat", 161, FileProblem::Oversized},  {"Setting.dat", 816 * 2, FileProblem::None},
        {"Setting.dat", 817, FileProblem::Truncated},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.file, c.size);
        EXPECT_EQ(problemOf(dir.path(), c.file), c.problem) << c.file << " of " << c.size << " bytes";
        EXPECT_EQ(Damaged(CheckDataFiles(dir.path()), c.file), c.problem != FileProblem::None);
    }
    TempDir empty;
    for (const auto& s : CheckDataFiles(empty.path())) EXPECT_EQ(s.problem, FileProblem::None) << s.file;
}

TEST(StartupRules, ReadOnlyAndUnreadableFiles) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    fs::permissions(dir.write("Setting.dat", 816), fs::perms::owner_read);
    fs::permissions(dir.write("User.dat", 620), fs::perms::none);
    EXPECT_EQ(problemOf(dir.path(), "Setting.dat"), FileProblem::ReadOnly);
    EXPECT_FALSE(Damaged(CheckDataFiles(dir.path()), "Setting.dat"));
    EXPECT_EQ(problemOf(dir.path(), "User.dat"), FileProblem::Unreadable);
    EXPECT_TRUE(Damaged(CheckDataFiles(dir.path()), "User.dat"));
}

TEST(StartupRules, GuestLoginOnlyWhereGuestsAreAllowed) {
    EXPECT_TRUE(IsGuestLogin("GUEST", "Guest", true, false));
    EXPECT_TRUE(IsGuestLogin("guest", "Guest", true, false));
    EXPECT_TRUE(IsGuestLogin("", "Guest", true, false));
    EXPECT_TRUE(IsGuestLogin("ANNA", "Guest", true, true));
    EXPECT_FALSE(IsGuestLogin("ANNA", "Guest", true, false));
    // Forbidden: neither the guest name, nor an empty name, nor cancelling gives a session.
    EXPECT_FALSE(IsGuestLogin("GUEST", "Guest", false, false));
    EXPECT_FALSE(IsGuestLogin("", "Guest", false, false));
    EXPECT_FALSE(IsGuestLogin("", "Guest", false, true));
}

TEST(StartupRules, PrivateSettingsOnlyForUsersAllowedThem) {
    EXPECT_EQ(SettingsKey(7, false, true), 7);
    EXPECT_EQ(SettingsKey(7, false, false), 1);
    EXPECT_EQ(SettingsKey(7, true, true), 1);
    EXPECT_EQ(SettingsKey(0, false, true), 1);
}
