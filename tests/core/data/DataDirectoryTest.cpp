// The start-up check of the data directory: accepting a folder, the first-run questions, and
// what is stored afterwards.
#include "DataFixture.h"

#include "app/MachineSettings.h"
#include "data/DataDirectory.h"

#include <map>

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

namespace {

class Registry : public kalvintor::app::MachineRegistry {
public:
    bool keyExists(std::string_view) const override { return true; }
    std::optional<std::string> readValue(std::string_view key, std::string_view value) const override {
        const auto it = values.find(std::string(key) + "/" + std::string(value));
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    bool writeValue(std::string_view key, std::string_view value, std::string_view text) override {
        values[std::string(key) + "/" + std::string(value)] = std::string(text);
        return true;
    }
    std::map<std::string, std::string> values;
};

struct Dialogs {
    std::vector<std::string> questions, messages;
    std::vector<fs::path> folders;  // chosen one after the other; then the dialog is cancelled
    bool answer = true;
    DataDirectoryQuestions questionsFor() {
        DataDirectoryQuestions q;
        q.askYesNo = [this](const std::string& text) {
            questions.push_back(text);
            return answer;
        };
        q.selectFolder = [this](const fs::path&, const std::string&) -> std::optional<fs::path> {
            if (folders.empty()) return std::nullopt;
            auto next = folders.front();
            folders.erase(folders.begin());
            return next;
        };
        q.showMessage = [this](const std::string& text) { messages.push_back(text); };
        return q;
    }
};

}  // namespace

TEST(DataDirectory, ValidateAcceptsTheFolderOrItsDataSubfolder) {
    const auto root = freshDir();
    fs::create_directories(root / "school" / "Data");
    writeBytes(root / "school" / "Data" / "User.dat", "");
    DataStore store(root);
    Dialogs d;
    for (const auto& [given, accepted] :
         std::vector<std::pair<fs::path, fs::path>>{{root / "school" / "Data", root / "school" / "Data" / ""},
                                                    {root / "school", root / "school" / "Data" / ""},
                                                    {root / "school" / "", root / "school" / "Data" / ""}}) {
        fs::path dir = given;
        EXPECT_TRUE(ValidateDataDirectory(dir, store, d.questionsFor())) << given;
        EXPECT_EQ(dir, accepted);
    }
    fs::path empty = root / "empty";
    EXPECT_FALSE(ValidateDataDirectory(empty, store, d.questionsFor()));
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0], "The folder " + (root / "empty" / "").string() + " holds no user data.");
}

TEST(DataDirectory, FirstRunChoosesAFolderStoresItAndAsksAboutSystemLogin) {
    const auto root = freshDir();
    fs::create_directories(root / "share" / "Data");
    writeBytes(root / "share" / "Data" / "User.dat", "");
    DataStore store(root / "program" / "Data");
    Registry registry;
    Dialogs d;
    d.folders = {root / "nowhere", root / "share"};  // the first is refused, the dialog reopens

    ChooseDataDirectory(store, true, &registry, d.questionsFor());
    EXPECT_EQ(store.DataPath(), root / "share" / "Data" / "");
    EXPECT_EQ(registry.values["4.0/Datapath"], (root / "share" / "Data" / "").string());
    EXPECT_EQ(d.messages.size(), 1u);
    ASSERT_EQ(d.questions.size(), 2u);
    EXPECT_EQ(d.questions[1].find(std::string(texts::kSystemLogin1.english) + "\n"), 0u);
    EXPECT_NE(d.questions[1].find("\n\n" + std::string(texts::kSystemLogin4.english)), std::string::npos);
    EXPECT_TRUE(store.Common.useSystemLogin);
    EXPECT_EQ(store.Common.commonDirectory, (root / "share" / "").string());
    // Common.dat of the chosen directory holds the answers.
    DataStore reread(store.DataPath());
    reread.LoadCommon();
    EXPECT_EQ(reread.Common, store.Common);
}

TEST(DataDirectory, LaterRunsWithUsersAskNothingAndKeepTheDirectory) {
    const auto root = freshDir();
    writeBytes(root / "User.dat", "");
    CommonRecord common;
    common.useSystemLogin = false;
    common.nextUserId = 40;
    writeBytes(root / "Common.dat", asString(encodeCommonRecord(common)));
    DataStore store(root);
    Registry registry;
    Dialogs d;
    ChooseDataDirectory(store, false, &registry, d.questionsFor());
    EXPECT_TRUE(d.questions.empty());
    EXPECT_TRUE(registry.values.empty());
    EXPECT_EQ(store.Common, common);

    // Without users the user is offered the folder dialog even on a later run; declining the
    // question does not skip it.
    const auto other = freshDir("-empty");
    DataStore empty(other);
    d.answer = false;
    d.folders = {root};
    ChooseDataDirectory(empty, false, &registry, d.questionsFor());
    EXPECT_EQ(empty.DataPath(), root);
    EXPECT_EQ(empty.Common, common);
}

TEST(DataDirectory, ANewDirectoryIsPreparedBeforeCommonIsWrittenThere) {
    const auto root = freshDir();
    const fs::path fresh = root / "Data" / "";
    Dialogs d;
    d.answer = false;
    std::vector<std::string> order;
    auto questions = d.questionsFor();
    questions.prepareDirectory = [&] {
        order.push_back(fs::exists(fresh / "Common.dat") ? "common first" : "prepared");
        fs::create_directories(fresh);
        writeBytes(fresh / "User.dat", "");
        return true;
    };
    DataStore store(fresh);
    ChooseDataDirectory(store, true, nullptr, questions);
    EXPECT_EQ(order, std::vector<std::string>{"prepared"});
    EXPECT_EQ(fs::file_size(fresh / "Common.dat"), kCommonRecordSize);

    // A directory that cannot be made: nothing is read or written, no question follows.
    const fs::path lost = root / "lost" / "";
    DataStore guest(lost);
    Dialogs g;
    auto refused = g.questionsFor();
    refused.prepareDirectory = [] { return false; };
    ChooseDataDirectory(guest, true, nullptr, refused);
    EXPECT_FALSE(fs::exists(lost));
    EXPECT_EQ(g.questions.size(), 1u) << "only the folder question, not the login one";
}
