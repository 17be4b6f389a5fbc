// A program folder and a personal folder of the running test's own, emptied first and removed
// after: the places setup files are listed from and saved to.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kalvintor::testing_support {

class SetupFolders : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        root = fs::temp_directory_path() /
               ("kalvintor-setups-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        program = root / "Program";
        personal = root / "Private";
        fs::remove_all(root);
        fs::create_directories(program);
        fs::create_directories(personal);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    static void touch(const std::filesystem::path& file) { std::ofstream(file) << "x"; }

    std::filesystem::path root;
    std::filesystem::path program;
    std::filesystem::path personal;
};

}  // namespace kalvintor::testing_support
