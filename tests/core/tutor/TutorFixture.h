// Shared helpers of the tutor tests: a working catalogue with its backup, steps and files.
#pragma once

#include "setup/SetupRecord.h"
#include "tutor/TutorModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kalvintor::tutor::testing_support {

namespace fs = std::filesystem;

inline fs::path freshDir(const std::string& tag = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = fs::path(::testing::TempDir()) / ("tutor-" + std::string(info->name()) + tag);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

inline std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

struct Catalogues {
    theory::ChordCatalogue working = theory::BuiltInCatalogue();
    CatalogueBackup backup;
    TutorModel model() { return TutorModel(working, backup); }
};

// A step holding the default block of its exercise.
inline TTutorObject stepFor(int exercise) {
    TTutorObject step;
    step.record.stepName = "Step of " + std::to_string(exercise);
    const auto block = setup::DefaultSetup().block(exercise);
    std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
    return step;
}

}  // namespace kalvintor::tutor::testing_support
