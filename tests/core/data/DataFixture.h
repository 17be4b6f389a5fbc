// Shared helpers of the data store tests: a fresh data directory per test and raw file access.
#pragma once

#include "data/DataStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kalvintor::data::testing_support {

namespace fs = std::filesystem;

// A directory of its own for the running test, emptied first.
inline fs::path freshDir(const std::string& tag = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = fs::path(::testing::TempDir()) /
                     ("data-" + std::string(info->test_suite_name()) + "-" + info->name() + tag);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir / "";
}

inline std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

template <typename Array>
std::string asString(const Array& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

inline UserRecord user(std::int16_t id, const std::string& login, const std::string& first,
                       const std::string& last) {
    UserRecord u;
    u.userId = id;
    u.loginName = login;
    u.fullName = joinFullName(first, last);
    return u;
}

inline ResultRecord result(std::int16_t userId, std::uint16_t exercise, double start,
                           std::uint16_t correct = 8, std::uint16_t questions = 10) {
    ResultRecord r;
    r.userId = userId;
    r.exercise = exercise;
    r.sessionStart = start;
    r.duration = 0.01;
    r.answerTime = 0.001 * questions;
    r.setupName = "Basic";
    r.correct = correct;
    r.questions = questions;
    return r;
}

// A store whose lock waits cost no time: pauses return at once, and a busy file is given up.
inline StoreCallbacks quickCallbacks() {
    StoreCallbacks callbacks;
    callbacks.lockWait.pause = [](int) {};
    return callbacks;
}

}  // namespace kalvintor::data::testing_support
