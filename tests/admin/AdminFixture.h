// A small school for the admin tests: a data directory built through the data store, and the
// commands run on it with their output captured.
#pragma once

#include "admin/Admin.h"
#include "data/DataStore.h"
#include "records/DateTime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kalvintor::admin::testing_support {

namespace fs = std::filesystem;

inline fs::path freshDir(const std::string& tag = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = fs::path(::testing::TempDir()) /
                     ("admin-" + std::string(info->test_suite_name()) + "-" + info->name() + tag);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

inline std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// Every file under a directory with its bytes, to show that a command changed nothing.
inline std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        files[entry.path().lexically_relative(dir).string()] =
            entry.is_regular_file() ? readBytes(entry.path()) : std::string("<dir>");
    return files;
}

inline records::DateTime at(int year, int month, int day, int hour = 0, int minute = 0) {
    return records::encodeDateTime({year, month, day, hour, minute, 0, 0});
}

inline data::ResultRecord result(std::int16_t userId, std::uint16_t exercise, records::DateTime start,
                                 std::uint16_t correct, std::uint16_t questions,
                                 const std::string& setup = "Basic") {
    data::ResultRecord r;
    r.userId = userId;
    r.exercise = exercise;
    r.sessionStart = start;
    r.duration = 95.0 / 86400.0;
    r.answerTime = 30.0 / 86400.0;
    r.setupName = setup;
    r.correct = correct;
    r.questions = questions;
    return r;
}

// The school: anna (2, class 3a), bo (3, teacher of 3a), and results of anna.
struct School {
    fs::path root;
    fs::path data;
    std::unique_ptr<data::DataStore> store;

    explicit School(const fs::path& at_) : root(at_), data(at_ / "Data") {
        fs::create_directories(data);
        data::StoreCallbacks quick;
        quick.lockWait.pause = [](int) {};
        store = std::make_unique<data::DataStore>(data, data::StoreEnvironment{}, quick);
        store->LoadCommon();
    }

    data::UserRecord addUser(const std::string& login, const std::string& first, const std::string& last,
                             std::int16_t classId = 0, std::int32_t level = data::kStudent) {
        data::UserRecord u;
        u.userId = store->NextId(data::IdKind::User);
        u.loginName = login;
        u.fullName = data::joinFullName(first, last);
        u.classId = classId;
        u.accessLevel = level;
        EXPECT_TRUE(store->SaveUser(u));
        return u;
    }

    data::ClassRecord addClass(const std::string& name, std::int16_t teacher = 0) {
        data::ClassRecord c;
        c.classId = store->NextId(data::IdKind::Class);
        c.className = name;
        c.teacherId = teacher;
        EXPECT_TRUE(store->SaveClass(c));
        return c;
    }

    void add(const data::ResultRecord& r) { EXPECT_TRUE(store->AppendResult(r)); }
};

struct Run {
    int code = -1;
    std::string out;
    std::string err;
};

// How long a command waits for a file another process holds: not at all, or as the tool does.
enum class Waits { None, Real };

// Runs a command line with --data of the school and a fixed "now" (2024-03-20 12:00).
inline Run runAdmin(const fs::path& data, std::vector<std::string> args, Waits waits = Waits::None) {
    std::ostringstream out;
    std::ostringstream err;
    const records::DateTime now = at(2024, 3, 20, 12);
    Context context{{}, data.parent_path() / "Program", out, err, [now] { return now; }, {}};
    if (waits == Waits::None) {
        context.pause = [](int) {};
        context.lockSeries = 1;
    }
    args.insert(args.begin(), {"--data", data.string()});
    Run r;
    r.code = run(args, context, data.parent_path() / "no-settings.ini");
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace kalvintor::admin::testing_support
