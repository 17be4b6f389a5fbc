// Common.dat and its id counters, Setting.dat, and the language chosen for new settings.
#include "DataFixture.h"

#include "records/Binary.h"

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;
namespace s = kalvintor::settings;

TEST(Common, NextIdOnANewInstallationGivesUser2AndClass1AndCounts) {
    const auto dir = freshDir();
    DataStore store(dir);
    store.LoadCommon();
    ASSERT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(CommonRecord{})));
    EXPECT_EQ(store.NextId(IdKind::User), 2);
    EXPECT_EQ(store.NextId(IdKind::Class), 1);
    EXPECT_EQ(store.NextId(IdKind::User), 3);
    CommonRecord expected;
    expected.nextUserId = 4;
    expected.nextClassId = 2;
    EXPECT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(expected)));
}

TEST(Common, SaveCommonKeepsTheCountersOnFile) {
    const auto dir = freshDir();
    CommonRecord onFile;
    onFile.nextUserId = 9;
    onFile.nextClassId = 4;
    writeBytes(dir / "Common.dat", asString(encodeCommonRecord(onFile)));
    DataStore store(dir);
    store.Common.nextUserId = 5;
    store.Common.nextClassId = 2;
    store.Common.allowGuestLogin = false;
    store.Common.commonDirectory = "/srv/common/";
    ASSERT_TRUE(store.SaveCommon());

    CommonRecord expected = store.Common;
    expected.nextUserId = 9;
    expected.nextClassId = 4;
    EXPECT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(expected)));
}

TEST(Common, ShortCommonFileIsReplacedByDefaultsAndNextIdReportsIt) {
    const auto dir = freshDir();
    writeBytes(dir / "Common.dat", std::string(20, '\x07'));
    DataStore store(dir);
    store.Common.nextUserId = 40;
    store.LoadCommon();
    EXPECT_EQ(store.Common, CommonRecord{});
    // The defaults replace the first 160 bytes.
    EXPECT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(CommonRecord{})));

    writeBytes(dir / "Common.dat", std::string(20, '\x07'));
    std::vector<std::string> errors;
    store.callbacks().showError = [&](const std::string& text) { errors.push_back(text); };
    store.Common.nextUserId = 40;
    EXPECT_EQ(store.NextId(IdKind::User), 40);
    EXPECT_EQ(errors, (std::vector<std::string>{"Error assigning unique ID for user"}));
    EXPECT_EQ(store.NextId(IdKind::User), 41);  // the in-memory record was written
}

TEST(Settings, LoadSettingsFallsBackToTheSharedRecordAndSaveKeysByUser) {
    const auto dir = freshDir();
    DataStore store(dir);
    s::Settings shared = s::defaultSettings();
    shared.language = "Dansk";
    s::Settings own = s::defaultSettings();
    own.key = 7;
    own.language = "Norsk";
    writeBytes(dir / "Setting.dat", asString(s::encodeSettings(shared)) + asString(s::encodeSettings(own)));

    ASSERT_TRUE(store.LoadSettings(7, false));
    EXPECT_EQ(store.Settings.language, "Norsk");
    ASSERT_TRUE(store.LoadSettings(8, false));
    EXPECT_EQ(store.Settings.language, "Dansk");
    EXPECT_EQ(store.Settings.key, 1);

    store.Settings.language = "Svenska";
    ASSERT_TRUE(store.SaveSettings(8));
    ASSERT_TRUE(store.LoadSettings(8, false));
    EXPECT_EQ(store.Settings.key, 8);
    EXPECT_EQ(store.Settings.language, "Svenska");
    EXPECT_EQ(readBytes(dir / "Setting.dat").size(), 3 * s::kSettingRecordSize);

    ASSERT_TRUE(store.DeleteSettings(7));
    ASSERT_TRUE(store.DeleteSettings(70));  // no record: nothing to free
    ASSERT_TRUE(store.LoadSettings(7, false));
    EXPECT_EQ(store.Settings.language, "Dansk");
}

TEST(Settings, MissingSettingsFileIsCreatedWithDefaultsInTheSystemLanguage) {
    struct Case {
        std::vector<std::string> languageFiles;
        int systemLanguage;
        bool lowColour;
        std::string language;
    };
    for (const Case& c :
         {Case{{"Dansk.lan", "English.lan"}, 1030, false, "Dansk"},
          Case{{"English.LAN", "Norsk.lan"}, 1030, false, "English"},
          Case{{"Suomi.lan", "Norsk.x.lan"}, 1031, true, "Norsk"}, Case{{}, 1053, false, "English"}}) {
        const auto dir = freshDir(c.language + std::to_string(c.systemLanguage));
        fs::create_directories(dir / "Language");
        for (const auto& name : c.languageFiles) writeBytes(dir / "Language" / name, "1=x\n");
        StoreEnvironment env;
        env.languageDir = dir / "Language";
        env.systemLanguageId = c.systemLanguage;
        env.lowColourDisplay = c.lowColour;
        DataStore store(dir, env);
        EXPECT_FALSE(store.LoadSettings(5, true));
        EXPECT_EQ(store.Settings.language, c.language);
        EXPECT_EQ(store.Settings.colour, c.lowColour ? 0x02AFD3AF : 0x00A0D0E8);
        s::Settings expected = store.Settings;
        expected.key = 1;
        EXPECT_EQ(readBytes(dir / "Setting.dat"), asString(s::encodeSettings(expected))) << c.language;
    }
}

TEST(Settings, LanguageForLocaleTable) {
    const std::vector<std::pair<int, std::string>> table = {
        {1030, "Dansk"},      {1031, "Deutch"},         {1070, "Deutch"},         {2055, "Deutch"},
        {4103, "Deutch"},     {1034, "Espa\xC3\xB1ol"}, {2058, "Espa\xC3\xB1ol"}, {3082, "Espa\xC3\xB1ol"},
        {1035, "Suomi"},      {1036, "Francais"},       {2060, "Francais"},       {3084, "Francais"},
        {4108, "Francais"},   {5132, "Francais"},       {1040, "Italiano"},       {2064, "Italiano"},
        {1043, "Nederlands"}, {1044, "Norsk"},          {2068, "Norsk"},          {1053, "Svenska"},
        {1033, "English"},    {0, "English"},           {2057, "English"},
    };
    for (const auto& [id, name] : table) EXPECT_EQ(LanguageForLocale(id), name) << id;
}

TEST(Common, NextIdsTakesABlockAndNeverPastTheLargestId) {
    const auto dir = freshDir();
    DataStore store(dir);
    store.LoadCommon();
    EXPECT_EQ(store.NextIds(IdKind::User, 100), 2);
    EXPECT_EQ(store.NextId(IdKind::User), 102);
    EXPECT_EQ(store.NextIds(IdKind::Class, 3), 1);
    EXPECT_EQ(store.NextId(IdKind::Class), 4);

    // 32767 is the largest id: a block reaching it is taken, one passing it is refused whole.
    CommonRecord nearTheEnd;
    nearTheEnd.nextUserId = 32760;
    writeBytes(dir / "Common.dat", asString(encodeCommonRecord(nearTheEnd)));
    EXPECT_EQ(store.NextIds(IdKind::User, 9), 0);
    EXPECT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(nearTheEnd)));
    EXPECT_EQ(store.NextIds(IdKind::User, 8), 32760);
    EXPECT_EQ(store.NextIds(IdKind::User, 1), 0);
    EXPECT_EQ(store.NextIds(IdKind::User, 0), 0);

    // One id at a time keeps to the same range: the largest is handed out once, and a counter
    // a damaged file leaves at 0 or below hands out nothing and stays as it is.
    for (const std::int16_t counter : {32767, 0, -5}) {
        SCOPED_TRACE(counter);
        CommonRecord stored;
        stored.nextUserId = counter;
        writeBytes(dir / "Common.dat", asString(encodeCommonRecord(stored)));
        EXPECT_EQ(store.NextId(IdKind::User), counter > 0 ? counter : 0);
        EXPECT_EQ(store.NextId(IdKind::User), 0);
    }
    CommonRecord damaged;
    damaged.nextUserId = -5;
    EXPECT_EQ(readBytes(dir / "Common.dat"), asString(encodeCommonRecord(damaged)));
}
