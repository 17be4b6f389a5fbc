// Whole-file reads, case-insensitive lookup and atomic replacement.
#include "files/Files.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kalvintor::files;
namespace fs = std::filesystem;

namespace {
fs::path freshDir(const char* name) {
    const auto dir = fs::path(testing::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}
}  // namespace

TEST(Files, CaseInsensitiveLookupFindsProgramFilesAndStaysInsideItsDirectory) {
    const auto dir = freshDir("files-case");
    std::ofstream(dir / "Default_Level.LVS") << "x";
    std::ofstream(dir / "chord.DAT") << "x";
    EXPECT_EQ(findCaseInsensitive(dir, "default_level.lvs"), dir / "Default_Level.LVS");
    EXPECT_EQ(findCaseInsensitive(dir, "Chord.dat"), dir / "chord.DAT");
    EXPECT_FALSE(findCaseInsensitive(dir, "missing.lvs"));
    for (const char* unsafe : {"", ".", "..", "../files-case/chord.DAT", "sub\\x", "/etc/passwd"})
        EXPECT_FALSE(findCaseInsensitive(dir, unsafe)) << unsafe;
    EXPECT_FALSE(findCaseInsensitive(dir / "no-such-dir", "x"));
}

TEST(Files, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
    const auto dir = freshDir("files-atomic");
    const auto file = dir / "Chord.dat";
    std::ofstream(file) << "old contents that are longer";
    ASSERT_EQ(writeFileAtomically(file, std::string_view("new")), WriteError::None);
    EXPECT_EQ(readFile(file), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(Files, AtomicWriteIntoAMissingDirectoryFailsAndReportsIt) {
    const auto dir = freshDir("files-missing");
    EXPECT_EQ(writeFileAtomically(dir / "nope" / "x.dat", std::string_view("x")), WriteError::CannotCreate);
}

TEST(Files, ReadFileRefusesDirectoriesMissingFilesAndFilesOverTheLimit) {
    const auto dir = freshDir("files-read");
    std::ofstream(dir / "big") << std::string(100, 'x');
    EXPECT_FALSE(readFile(dir));
    EXPECT_FALSE(readFile(dir / "missing"));
    EXPECT_FALSE(readFile(dir / "big", 99));
    EXPECT_EQ(readFile(dir / "big", 100)->size(), 100u);
}
