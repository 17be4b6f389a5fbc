// Purging old results with and without a dry run, and the check finding each kind of fault
// planted in a copy of a clean data directory.
#include "AdminFixture.h"

#include "data/DataFiles.h"
#include "setup/SetupRecord.h"
#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

#include <functional>

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;

namespace {

template <typename Array>
std::string asString(const Array& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void append(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::app) << bytes;
}

}  // namespace

TEST(Purge, DryRunSaysWhatWouldGoAndTheRealRunRemovesIt) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    school.addUser("bo", "Bo", "Alm");  // no results: no file may be made for him
    school.add(result(2, 1, at(2024, 3, 1), 5, 10));
    school.add(result(2, 1, at(2024, 3, 5, 23, 59), 6, 10));
    school.add(result(2, 1, at(2024, 3, 6), 7, 10));
    auto ownerless = result(2, 1, at(2024, 3, 9), 8, 10);
    ownerless.userId = 0;
    append(school.data / "Result" / "User002.dat", asString(data::encodeResultRecord(ownerless)));
    const auto before = snapshot(school.data);

    const auto dry = runAdmin(school.data, {"purge", "--before", "2024-03-06", "--dry-run"});
    ASSERT_EQ(dry.code, kExitOk) << dry.err;
    EXPECT_NE(dry.out.find("would_remove"), std::string::npos);
    EXPECT_NE(dry.out.find("Would remove 3 results from before 2024-03-06 00:00:00 (dry run"),
              std::string::npos);
    EXPECT_EQ(snapshot(school.data), before);

    const auto real = runAdmin(school.data, {"purge", "--before", "2024-03-06", "--json"});
    ASSERT_EQ(real.code, kExitOk) << real.err;
    EXPECT_EQ(real.out, "[{\"user_id\":2,\"login\":\"anna\",\"results\":4,\"removed\":3,\"kept\":1}]\n");
    const std::string kept = readBytes(school.data / "Result" / "User002.dat");
    EXPECT_EQ(kept, asString(data::encodeResultRecord(result(2, 1, at(2024, 3, 6), 7, 10))));
    EXPECT_FALSE(fs::exists(school.data / "Result" / "User003.dat"));

    // A cut-off later than every result empties the file; an unknown user is an error.
    EXPECT_EQ(runAdmin(school.data, {"purge", "--before", "2025-01-01", "--user", "anna"}).code, kExitOk);
    EXPECT_EQ(fs::file_size(school.data / "Result" / "User002.dat"), 0u);
    EXPECT_EQ(runAdmin(school.data, {"purge", "--before", "2025-01-01", "--user", "cy"}).code, kExitFailed);
}

namespace {

// A clean school whose users refer to a real setup file and a real tutor in the common directory.
struct Checked : ::testing::Test {
    fs::path root = freshDir();
    School school{root};

    void SetUp() override {
        fs::create_directories(root / "Common");
        school.store->Common.commonDirectory = (root / "Common" / "").string();
        ASSERT_TRUE(school.store->SaveCommon());
        auto setup = setup::DefaultSetup();
        setup.stampHeader();
        writeBytes(root / "Basic.lvs", asString(setup.bytes));
        theory::ChordCatalogue working = theory::BuiltInCatalogue();
        tutor::CatalogueBackup backup;
        tutor::TutorModel course(working, backup);
        course.header.tutorName = "Course";
        course.addStep(1, {});
        ASSERT_TRUE(course.SaveTutorFile(root / "Common" / "Course.tut"));

        auto anna = school.addUser("anna", "Anna", "Berg", 1);
        anna.setupFile = (root / "Basic.lvs").string();
        anna.tutorFile = "Course.tut";
        school.store->SaveUser(anna);
        school.addUser("bo", "Bo", "Alm", 0, data::kTeacher);
        school.addClass("3a", 3);
        school.add(result(2, 1, at(2024, 3, 1), 5, 10));
        school.store->LoadSettings(1, true);
    }

    data::UserRecord anna() {
        data::UserRecord u;
        u.userId = 2;
        school.store->ReloadUser(u);
        return u;
    }
};

}  // namespace

TEST_F(Checked, FindsEachPlantedFaultAndChangesNothing) {
    const auto clean = runAdmin(school.data, {"check"});
    ASSERT_EQ(clean.code, kExitOk) << clean.out;
    EXPECT_EQ(clean.out, "Nothing wrong in " + school.data.string() + ".\n");

    const fs::path results = school.data / "Result";
    struct Case {
        const char* name;
        std::function<void()> plant;
        const char* kind;
        const char* file;
    };
    const std::vector<Case> cases = {
        {"partial user", [&] { append(school.data / "User.dat", std::string(100, 'x')); }, "partial-record",
         "User.dat"},
        {"partial result", [&] { append(results / "User002.dat", std::string(50, '\0')); }, "partial-record",
         "Result/User002.dat"},
        {"duplicate id",
         [&] {
             auto copy = anna();
             copy.loginName = "anna2";
             append(school.data / "User.dat", asString(data::encodeUserRecord(copy)));
         },
         "duplicate-id", "User.dat"},
        {"zero id",
         [&] {
             auto lost = anna();
             lost.userId = 0;
             append(school.data / "User.dat", asString(data::encodeUserRecord(lost)));
         },
         "zero-id", "User.dat"},
        {"duplicate login",
         [&] {
             auto twin = anna();
             twin.userId = school.store->NextId(data::IdKind::User);
             twin.loginName = "ANNA";
             school.store->SaveUser(twin);
         },
         "duplicate-login", "User.dat"},
        {"missing class",
         [&] {
             auto u = anna();
             u.classId = 7;
             school.store->SaveUser(u);
         },
         "missing-class", "User.dat"},
        {"missing teacher",
         [&] {
             data::ClassRecord c;
             c.classId = school.store->NextId(data::IdKind::Class);
             c.className = "4b";
             c.teacherId = 40;
             school.store->SaveClass(c);
         },
         "missing-teacher", "Class.dat"},
        {"orphan results",
         [&] {
             writeBytes(results / "User040.dat",
                        asString(data::encodeResultRecord(result(40, 1, at(2024, 3, 1), 1, 1))));
         },
         "orphan-results", "Result/User040.dat"},
        {"foreign result",
         [&] {
             append(results / "User002.dat",
                    asString(data::encodeResultRecord(result(3, 1, at(2024, 3, 3), 1, 1))));
         },
         "foreign-result", "Result/User002.dat"},
        {"bad exercise",
         [&] {
             append(results / "User002.dat",
                    asString(data::encodeResultRecord(result(2, 11, at(2024, 3, 3), 1, 1))));
         },
         "bad-exercise", "Result/User002.dat"},
        {"user counter",
         [&] {
             auto bytes = readBytes(school.data / "Common.dat");
             bytes[data::common_offsets::kNextUserId] = 3;
             writeBytes(school.data / "Common.dat", bytes);
         },
         "counter-below-ids", "Common.dat"},
        {"class counter",
         [&] {
             auto bytes = readBytes(school.data / "Common.dat");
             bytes[data::common_offsets::kNextClassId] = 1;
             writeBytes(school.data / "Common.dat", bytes);
         },
         "counter-below-ids", "Common.dat"},
        {"short common",
         [&] {
             writeBytes(school.data / "Common.dat", readBytes(school.data / "Common.dat").substr(0, 100));
         },
         "wrong-size", "Common.dat"},
        {"missing setup",
         [&] {
             auto u = anna();
             u.setupFile = (root / "Gone.lvs").string();
             school.store->SaveUser(u);
         },
         "unreadable-setup", nullptr},
        {"not a setup", [&] { writeBytes(root / "Basic.lvs", std::string(670, '\0')); }, "unreadable-setup",
         nullptr},
        {"missing tutor", [&] { fs::remove(root / "Common" / "Course.tut"); }, "unreadable-tutor", nullptr},
        {"damaged tutor", [&] { writeBytes(root / "Common" / "Course.tut", std::string(1000, '\0')); },
         "unreadable-tutor", nullptr},
        {"orphan settings",
         [&] {
             std::string record(816, '\0');
             record[0] = 40;
             append(school.data / "Setting.dat", record);
         },
         "orphan-settings", "Setting.dat"},
        {"aside file", [&] { fs::copy_file(results / "User002.dat", results / "xUser002.dat"); },
         "leftover-file", "Result/xUser002.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto copy = freshDir(std::string("-") + c.name);
        fs::copy(root, copy, fs::copy_options::recursive);
        c.plant();
        const auto planted = snapshot(school.data);
        const auto faults = findFaults(school.data);
        const bool found = std::any_of(faults.begin(), faults.end(), [&](const Fault& f) {
            return f.kind == c.kind && (!c.file || f.file == c.file);
        });
        EXPECT_TRUE(found) << ::testing::PrintToString(faults.size());
        const auto report = runAdmin(school.data, {"check", "--json"});
        EXPECT_EQ(report.code, kExitFailed);
        EXPECT_EQ(report.out.rfind("{\"data\":", 0), 0u);
        EXPECT_NE(report.out.find(std::string("\"kind\":\"") + c.kind + "\""), std::string::npos);
        EXPECT_EQ(snapshot(school.data), planted);
        // Back to the clean school for the next case.
        fs::remove_all(root);
        fs::copy(copy, root, fs::copy_options::recursive);
        school.store->LoadCommon();
    }
}
