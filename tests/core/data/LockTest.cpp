// Writers wait for each other: retries, the question after about two seconds, and giving up.
#include "DataFixture.h"

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

TEST(Locking, AWriterRetriesForTwoSecondsThenAsksAndGivesUpOnOk) {
    const auto dir = freshDir();
    DataStore store(dir);
    ASSERT_TRUE(store.SaveUser(user(2, "a", "A", "A")));
    const std::string before = readBytes(dir / "User.dat");

    // GIVEN another workstation holding User.dat
    std::optional<LockedFile> other = LockedFile::open(dir / "User.dat", "", "", {});
    ASSERT_TRUE(other);
    int pausedMs = 0;
    std::vector<std::string> questions;
    store.callbacks().lockWait.pause = [&](int ms) { pausedMs += ms; };
    store.callbacks().lockWait.askRetry = [&](const std::string& message) {
        questions.push_back(message);
        return questions.size() < 2;  // Retry once, then OK
    };

    EXPECT_FALSE(store.SaveUser(user(3, "b", "B", "B")));
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0],
              std::string(texts::kSaveUserBusy.english) + "\n" + std::string(texts::kFileInUse.english));
    EXPECT_EQ(pausedMs, 4000) << "two series of two seconds each";
    EXPECT_EQ(readBytes(dir / "User.dat"), before);
}

TEST(Locking, AWriterGetsTheFileOnceTheOtherReleasesIt) {
    const auto dir = freshDir();
    DataStore store(dir);
    std::optional<LockedFile> other = LockedFile::open(dir / "Common.dat", "", "", {});
    ASSERT_TRUE(other);
    int pauses = 0;
    store.callbacks().lockWait.pause = [&](int) {
        if (++pauses == 3) other.reset();  // the other workstation finishes during the wait
    };
    EXPECT_EQ(store.NextId(IdKind::User), 2);
    EXPECT_EQ(pauses, 3);

    // Readers take no writer's lock: a held file is still read.
    std::optional<LockedFile> holder = LockedFile::open(dir / "Common.dat", "", "", {});
    store.Common = {};
    store.LoadCommon();
    EXPECT_EQ(store.Common.nextUserId, 3);
}

TEST(Locking, AFileThatCannotBeCreatedFailsAtOnce) {
    const auto dir = freshDir();
    DataStore store(dir / "missing-directory");
    int asked = 0;
    store.callbacks().lockWait.askRetry = [&](const std::string&) { return ++asked < 5; };
    EXPECT_FALSE(store.SaveUser(user(2, "a", "A", "A")));
    EXPECT_EQ(asked, 0);
}

TEST(Locking, DeleteUserStopsAtTheFirstStepThatCannotBeDone) {
    const auto dir = freshDir();
    DataStore store(dir, StoreEnvironment{}, quickCallbacks());
    ASSERT_TRUE(store.SaveUser(user(3, "bo", "Bo", "Alm")));
    ASSERT_TRUE(store.AppendResult(result(3, 1, 45000)));
    ASSERT_TRUE(store.SaveSettings(3));
    store.LoadUsers();
    const std::string users = readBytes(dir / "User.dat");

    // GIVEN Setting.dat held by another workstation: nothing is deleted
    {
        auto other = LockedFile::open(dir / "Setting.dat", "", "", {});
        ASSERT_TRUE(other);
        EXPECT_FALSE(store.DeleteUser(*store.UserList()[0]));
    }
    EXPECT_TRUE(fs::exists(store.ResultFileName(3)));
    EXPECT_EQ(readBytes(dir / "User.dat"), users);
    ASSERT_EQ(store.UserList().size(), 1u);

    // GIVEN User.dat held: the settings and results go, the user record stays
    {
        auto other = LockedFile::open(dir / "User.dat", "", "", {});
        EXPECT_FALSE(store.DeleteUser(*store.UserList()[0]));
    }
    EXPECT_FALSE(fs::exists(store.ResultFileName(3)));
    EXPECT_EQ(readBytes(dir / "User.dat"), users);
    EXPECT_EQ(store.UserList().size(), 1u);
    EXPECT_TRUE(store.DeleteUser(*store.UserList()[0]));
    EXPECT_TRUE(store.UserList().empty());
}
