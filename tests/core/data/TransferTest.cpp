// Export to a folder and import from one: the user record, results merged by key, the tutor.
#include "DataFixture.h"

#include "data/Transfer.h"

#include <algorithm>

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

namespace {

struct Installation {
    fs::path root;
    fs::path data;
    fs::path common;
    fs::path program;
    fs::path setup;
    std::unique_ptr<DataStore> store;

    explicit Installation(const fs::path& at) : root(at) {
        data = root / "Data" / "";
        common = root / "Common" / "";
        program = root / "Program" / "";
        setup = root / "Private" / "";
        for (const auto& d : {data, common, program, setup}) fs::create_directories(d);
        store = std::make_unique<DataStore>(data, StoreEnvironment{}, quickCallbacks());
        store->Common.commonDirectory = common.string();
    }
    TransferDirectories dirs() const { return {program, setup}; }
    TUserInfo& select(std::int16_t id) {
        store->LoadUsers();
        for (const auto& u : store->UserList())
            if (u->record.userId == id) store->setSelectedUser(u.get());
        return *store->SelectedUser();
    }
};

TransferQuestions answering(bool yes, std::vector<std::string>* asked = nullptr) {
    TransferQuestions q;
    q.askYesNo = [=](const std::string& question) {
        if (asked) asked->push_back(question);
        return yes;
    };
    q.askYesNoCancel = [=](const std::string&) { return yes ? Answer::Yes : Answer::No; };
    q.freeSpace = [](const fs::path&) { return std::uintmax_t{1} << 30; };
    return q;
}

}  // namespace

TEST(Transfer, ExportWritesTheUserRecordResultsTutorAndSetup) {
    const auto root = freshDir();
    Installation school(root / "school");
    UserRecord anna = user(7, "anna", "Anna", "Berg");
    anna.tutorFile = "Course.tut";
    anna.setupFile = (school.setup / "Mine.lvs").string();
    writeBytes(school.common / "Course.tut", "tutor bytes");
    writeBytes(school.setup / "Mine.lvs", "setup bytes");
    ASSERT_TRUE(school.store->SaveUser(anna));
    ASSERT_TRUE(school.store->AppendResult(result(7, 1, 45000.5)));

    const auto folder = root / "stick" / "export";
    ASSERT_EQ(ExportUser(*school.store, anna, folder, answering(true)), TransferResult::Done);
    EXPECT_EQ(readBytes(folder / "exuser.dx4"), asString(encodeUserRecord(anna)));
    EXPECT_EQ(readBytes(folder / "exresult.dx4"), readBytes(school.store->ResultFileName(7)));
    EXPECT_EQ(readBytes(folder / "Course.tut"), "tutor bytes");
    EXPECT_EQ(readBytes(folder / "Mine.lvs"), "setup bytes");

    // A user without results leaves no stale result copy behind.
    UserRecord bo = user(8, "bo", "Bo", "Alm");
    ASSERT_EQ(ExportUser(*school.store, bo, folder, answering(true)), TransferResult::Done);
    EXPECT_FALSE(fs::exists(folder / "exresult.dx4"));

    std::vector<std::string> messages;
    TransferQuestions full = answering(true);
    full.freeSpace = [](const fs::path&) { return std::uintmax_t{4999}; };
    full.showMessage = [&](const std::string& text) { messages.push_back(text); };
    EXPECT_EQ(ExportUser(*school.store, anna, folder, full), TransferResult::Stopped);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(ExportUser(*school.store, anna, root / "declined", answering(false)), TransferResult::Stopped);
    EXPECT_FALSE(fs::exists(root / "declined"));
}

TEST(Transfer, ImportingTheSameFolderTwiceAddsEachResultOnceInKeyOrder) {
    const auto root = freshDir();
    Installation home(root / "home");
    Installation school(root / "school");
    UserRecord anna = user(7, "anna", "Anna", "Berg");
    ASSERT_TRUE(home.store->SaveUser(anna));
    for (double start : {45002.0, 45000.5, 44999.25})
        ASSERT_TRUE(home.store->AppendResult(result(7, 1, start)));
    const auto folder = root / "stick";
    ASSERT_EQ(ExportUser(*home.store, anna, folder, answering(true)), TransferResult::Done);

    UserRecord schoolAnna = user(12, "anna", "Anna", "Berg");
    ASSERT_TRUE(school.store->SaveUser(schoolAnna));
    ASSERT_TRUE(school.store->AppendResult(result(12, 1, 45000.5)));  // already there: same key
    ASSERT_TRUE(school.store->AppendResult(result(12, 3, 45003.0)));
    school.select(12);

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(ImportUser(*school.store, folder, school.dirs(), answering(true)), TransferResult::Done);
        school.store->LoadResults(12);
        std::vector<std::string> keys;
        for (const auto& r : school.store->ResultList()) {
            keys.push_back(r->key());
            EXPECT_EQ(r->record.userId, 12);
        }
        EXPECT_EQ(keys, (std::vector<std::string>{
                            ResultKey(result(7, 1, 44999.25)), ResultKey(result(7, 1, 45000.5)),
                            ResultKey(result(7, 1, 45002.0)), ResultKey(result(7, 3, 45003.0))}))
            << "round " << round;
        EXPECT_FALSE(fs::exists(school.data / "Result" / "xUser012.dat"));
    }
}

TEST(Transfer, ImportIntoAnotherNamedUserAsksAndDecliningChangesNothing) {
    const auto root = freshDir();
    Installation home(root / "home");
    Installation school(root / "school");
    UserRecord anna = user(7, "anna", "Anna", "Berg");
    anna.tutorFile = "Course.tut";
    writeBytes(home.common / "Course.tut", "course");
    ASSERT_TRUE(home.store->SaveUser(anna));
    ASSERT_TRUE(home.store->AppendResult(result(7, 1, 45000.5)));
    ASSERT_EQ(ExportUser(*home.store, anna, root / "stick", answering(true)), TransferResult::Done);

    ASSERT_TRUE(school.store->SaveUser(user(12, "bo", "Bo", "Alm")));
    school.select(12);
    const std::string usersBefore = readBytes(school.data / "User.dat");
    std::vector<std::string> asked;
    EXPECT_EQ(ImportUser(*school.store, root / "stick", school.dirs(), answering(false, &asked)),
              TransferResult::Stopped);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0],
              "The exported data belongs to \"Anna Berg\". Do you want to import it into \"Bo Alm\"?");
    EXPECT_EQ(readBytes(school.data / "User.dat"), usersBefore);
    EXPECT_FALSE(fs::exists(school.store->ResultFileName(12)));
    EXPECT_FALSE(fs::exists(school.setup / "Course.tut"));

    EXPECT_EQ(ImportUser(*school.store, root / "nothing-here", school.dirs(), answering(true)),
              TransferResult::Stopped);
}

TEST(Transfer, TutorIsCopiedWhereMissingAndStepsFollowTheSameTutor) {
    const auto root = freshDir();
    Installation home(root / "home");
    Installation school(root / "school");
    UserRecord anna = user(7, "anna", "Anna", "Berg");
    anna.tutorFile = "Course.tut";
    anna.tutorStep = {4, 2, 1, 1, 1, 1, 1, 1, 1, 3};
    writeBytes(home.common / "Course.tut", "course v2");
    ASSERT_TRUE(home.store->SaveUser(anna));
    ASSERT_EQ(ExportUser(*home.store, anna, root / "stick", answering(true)), TransferResult::Done);

    // Not known at school: copied into the private setup directory and stored with its path.
    ASSERT_TRUE(school.store->SaveUser(user(12, "anna", "Anna", "Berg")));
    school.select(12);
    ASSERT_EQ(ImportUser(*school.store, root / "stick", school.dirs(), answering(true)),
              TransferResult::Done);
    UserRecord stored;
    stored.userId = 12;
    ASSERT_TRUE(school.store->ReloadUser(stored));
    EXPECT_EQ(stored.tutorFile, (school.setup / "Course.tut").string());
    EXPECT_EQ(stored.tutorStep, anna.tutorStep);
    EXPECT_EQ(readBytes(school.setup / "Course.tut"), "course v2");

    // Known in the common directory, older there: replaced when the user agrees; bare name kept.
    writeBytes(school.common / "Course.tut", "course v1");
    fs::last_write_time(school.common / "Course.tut",
                        fs::last_write_time(root / "stick" / "Course.tut") - std::chrono::hours(1));
    UserRecord other = user(13, "anna2", "Anna", "Berg");
    other.tutorFile = "Other.tut";
    ASSERT_TRUE(school.store->SaveUser(other));
    school.select(13);
    ASSERT_EQ(ImportUser(*school.store, root / "stick", school.dirs(), answering(true)),
              TransferResult::Done);
    stored.userId = 13;
    ASSERT_TRUE(school.store->ReloadUser(stored));
    EXPECT_EQ(stored.tutorFile, "Course.tut");
    EXPECT_EQ(readBytes(school.common / "Course.tut"), "course v2");

    // An exported user without a tutor keeps the target's tutor and steps.
    UserRecord plain = user(7, "anna", "Anna", "Berg");
    plain.tutorFile = "\\";
    ASSERT_EQ(ExportUser(*home.store, plain, root / "stick2", answering(true)), TransferResult::Done);
    const std::string before = readBytes(school.data / "User.dat");
    ASSERT_EQ(ImportUser(*school.store, root / "stick2", school.dirs(), answering(true)),
              TransferResult::Done);
    EXPECT_EQ(readBytes(school.data / "User.dat"), before);
}

TEST(Transfer, ImportedNamesNeverLeadOutsideTheNamedFolders) {
    const auto root = freshDir();
    Installation school(root / "school");
    ASSERT_TRUE(school.store->SaveUser(user(12, "anna", "Anna", "Berg")));
    school.select(12);
    fs::create_directories(root / "stick");
    writeBytes(root / "stick" / "evil.tut", "x");
    for (const std::string name : {"../../evil.tut", "..", "/tmp/evil.tut", "C:\\evil\\..\\"}) {
        UserRecord forged = user(7, "anna", "Anna", "Berg");
        forged.tutorFile = name;
        writeBytes(root / "stick" / "exuser.dx4", asString(encodeUserRecord(forged)));
        ImportUser(*school.store, root / "stick", school.dirs(), answering(true));
    }
    std::vector<fs::path> written;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) written.push_back(fs::relative(entry.path(), root));
    std::ranges::sort(written);
    // Only the plain name "evil.tut" of "../../evil.tut" and "/tmp/evil.tut" reached the setup folder.
    EXPECT_EQ(written, (std::vector<fs::path>{"school/Data/User.dat", "school/Private/evil.tut",
                                              "stick/evil.tut", "stick/exuser.dx4"}));
}

TEST(Transfer, AFailedTutorCopyKeepsTheUserRecordButStillMergesResults) {
    const auto root = freshDir();
    Installation home(root / "home");
    Installation school(root / "school");
    UserRecord anna = user(7, "anna", "Anna", "Berg");
    anna.tutorFile = "Lost.tut";  // named, but not there to be exported
    anna.tutorStep.fill(5);
    ASSERT_TRUE(home.store->SaveUser(anna));
    ASSERT_TRUE(home.store->AppendResult(result(7, 1, 45000.5)));
    ASSERT_EQ(ExportUser(*home.store, anna, root / "stick", answering(true)), TransferResult::Done);

    ASSERT_TRUE(school.store->SaveUser(user(12, "anna", "Anna", "Berg")));
    school.select(12);
    const std::string users = readBytes(school.data / "User.dat");
    std::vector<std::string> messages;
    TransferQuestions q = answering(true);
    q.showMessage = [&](const std::string& text) { messages.push_back(text); };
    EXPECT_EQ(ImportUser(*school.store, root / "stick", school.dirs(), q), TransferResult::Failed);
    EXPECT_EQ(messages, (std::vector<std::string>{std::string(texts::kTutorCopyFailed.english)}));
    EXPECT_EQ(readBytes(school.data / "User.dat"), users);
    school.store->LoadResults(12);
    EXPECT_EQ(school.store->ResultList().size(), 1u);
}
