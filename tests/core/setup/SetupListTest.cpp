// The setup chooser's list and the names setups are saved under, on real directories.
#include "setup/SetupList.h"

#include "core/setup/SetupFolders.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kalvintor::setup;
namespace fs = std::filesystem;

namespace {

class SetupDirs : public kalvintor::testing_support::SetupFolders {
protected:
    static std::vector<std::string> labels(const SetupList& list) {
        std::vector<std::string> result;
        for (const auto& e : list.entries) result.push_back(e.label);
        return result;
    }
};

}  // namespace

TEST(SetupLabel, IsTheNameUpToTheFirstDot) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Basic.LVS", "Basic"},       {"Low.Test.LVS", "Low"},
        {"advanced.lvs", "advanced"}, {"Default_level.lvs", "Default_level"},
        {".hidden.lvs", ".hidden"},
    };
    for (auto [name, label] : cases) EXPECT_EQ(setupLabel(name), label) << name;
}

TEST(SetupFileName, TheExtensionInAnyCase) {
    for (std::string_view name : {"a.lvs", "a.LVS", "a.Lvs", "Low.Test.LVS"})
        EXPECT_TRUE(isSetupFileName(name)) << name;
    for (std::string_view name : {".lvs", "a.lvs.tmp", "a.lv", "lvs", "a.tut", ""})
        EXPECT_FALSE(isSetupFileName(name)) << name;
}

TEST_F(SetupDirs, ProgramAndPersonalSetupsSortedWithTheirFiles) {
    // GIVEN Basic.LVS in both directories, a dotted name, and files the chooser must pass over
    touch(program / "Basic.LVS");
    touch(program / "Low.Test.LVS");
    touch(program / "beginner.lvs");
    touch(program / "notes.txt");
    fs::create_directories(program / "Folder.lvs");
    touch(personal / "Basic.LVS");
    touch(personal / "mine.lvs");

    const auto list = listSetupFiles(program, personal);

    EXPECT_EQ(labels(list), (std::vector<std::string>{"*Basic", "*mine", "Basic", "beginner", "Low"}));
    EXPECT_TRUE(list.hasPersonal);
    // Each entry loads the file it was listed for, whatever its case or its further dots.
    EXPECT_EQ(list.entries[0].file, personal / "Basic.LVS");
    EXPECT_TRUE(list.entries[0].personal);
    EXPECT_EQ(list.entries[2].file, program / "Basic.LVS");
    EXPECT_FALSE(list.entries[2].personal);
    EXPECT_EQ(list.entries[4].file, program / "Low.Test.LVS");
}

TEST_F(SetupDirs, TheNoteShowsOnlyWithPersonalSetups) {
    touch(program / "Basic.lvs");
    EXPECT_FALSE(listSetupFiles(program, personal).hasPersonal) << "an empty personal directory";
    EXPECT_FALSE(listSetupFiles(program, program).hasPersonal) << "the same directory";
    EXPECT_EQ(labels(listSetupFiles(program, program / "." / "")), std::vector<std::string>{"Basic"})
        << "the same directory written another way is listed once";
    EXPECT_EQ(labels(listSetupFiles(program, {})), std::vector<std::string>{"Basic"});
}

TEST_F(SetupDirs, MissingDirectoriesListNothing) {
    const auto list = listSetupFiles(root / "gone", root / "also-gone");
    EXPECT_TRUE(list.entries.empty());
    EXPECT_FALSE(list.hasPersonal);
}

TEST(SetupFileToSave, AddsTheExtensionUnlessItIsThere) {
    const std::pair<fs::path, fs::path> cases[] = {
        {"/s/Mine", "/s/Mine.lvs"},         {"/s/Mine.lvs", "/s/Mine.lvs"}, {"/s/Mine.LVS", "/s/Mine.LVS"},
        {"/s/Low.Test", "/s/Low.Test.lvs"}, {"/s/a.txt", "/s/a.txt.lvs"},   {"", ""},
    };
    for (const auto& [chosen, saved] : cases) EXPECT_EQ(setupFileToSave(chosen), saved) << chosen;
}
