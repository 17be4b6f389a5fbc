// Distribution of loaded texts by mode bits, groups and the teacher windows.
#include "language/Language.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kalvintor::language;

namespace {

struct Collected {
    std::vector<std::string> texts;
    Language::Target target() {
        return [this](const std::string& t) { texts.push_back(t); };
    }
};

std::vector<LanguageEntry> entries(std::initializer_list<LanguageEntry> list) { return list; }

}  // namespace

TEST(Language, FullLoadReachesEveryTargetOfAnIdAndLaterLinesWin) {
    Language language;
    Collected buttonA, buttonB, dialogLabel;
    language.bind(205, TextGroup::Full, Decoration::None, buttonA.target());
    language.bind(205, TextGroup::Full, Decoration::None, buttonB.target());
    language.bind(205, TextGroup::SettingsDialog, Decoration::None, dialogLabel.target());

    language.apply(entries({{205, "Ny"}, {205, "New question"}}), kLoadAll);
    EXPECT_EQ(buttonA.texts, (std::vector<std::string>{"Ny", "New question"}));
    EXPECT_EQ(buttonB.texts.back(), "New question");
    EXPECT_TRUE(dialogLabel.texts.empty());  // the settings dialog is not open

    language.setSettingsDialogOpen(true);
    language.apply(entries({{205, "New question"}}), kLoadSettingsDialog);
    EXPECT_EQ(dialogLabel.texts, (std::vector<std::string>{"New question"}));
    EXPECT_EQ(buttonA.texts.size(), 2u);  // bit 1 alone leaves the full set alone
}

TEST(Language, TeacherTextsApplyInEveryModeOnlyWhileTheTeacherWindowsExist) {
    Language language;
    Collected userList;
    language.bind(6300, TextGroup::Full, Decoration::None, userList.target());
    language.apply(entries({{6300, "Users"}}), kLoadAll);
    EXPECT_TRUE(userList.texts.empty());

    language.setTeacherWindowsExist(true);
    language.apply(entries({{6300, "Users"}}), kLoadSettingsDialog);
    EXPECT_EQ(userList.texts, (std::vector<std::string>{"Users"}));
}

TEST(Language, DecorationsAreAddedForTheirTargets) {
    Language language;
    Collected menu, dialog, label, note, heading;
    language.bind(30, TextGroup::Full, Decoration::MenuTitle, menu.target());
    language.bind(100, TextGroup::Full, Decoration::OpensDialog, dialog.target());
    language.bind(301, TextGroup::Full, Decoration::Label, label.target());
    language.bind(5102, TextGroup::Full, Decoration::ChooserNote, note.target());
    language.bind(320, TextGroup::Full, Decoration::SetupHeading, heading.target());
    language.apply(entries({{30, "Exercises"},
                            {100, "Program settings"},
                            {301, "Root"},
                            {5102, "personal file"},
                            {320, "Dur-Akkorde"}}),
                   kLoadFull);
    EXPECT_EQ(menu.texts.at(0), "&Exercises");
    EXPECT_EQ(dialog.texts.at(0), "Program settings...");
    EXPECT_EQ(label.texts.at(0), "Root:");
    EXPECT_EQ(note.texts.at(0), "* = personal file");
    EXPECT_EQ(heading.texts.at(0), "-- DUR-AKKORDE " + std::string(21, '-'));
}

TEST(Language, SetupHeadingCountsCharactersAndUppercasesLatinLetters) {
    EXPECT_EQ(decorate("Øvelser", Decoration::SetupHeading), "-- ØVELSER " + std::string(25, '-'));
    EXPECT_EQ(decorate(std::string(40, 'a'), Decoration::SetupHeading), "-- " + std::string(40, 'A') + " ");
}

TEST(Language, ATargetBoundAfterALoadGetsTheLoadedTextAtOnce) {
    Language language;
    language.apply(entries({{95, "Luk"}}), kLoadFull);
    Collected late;
    language.bind(95, TextGroup::Full, Decoration::None, late.target());
    EXPECT_EQ(late.texts, (std::vector<std::string>{"Luk"}));
}

TEST(Language, UnboundTargetsHearNothingAndTargetsMayUnbindOthers) {
    Language language;
    Collected a;
    Language::BindingId second = 0;
    language.bind(90, TextGroup::Full, Decoration::None, [&](const std::string&) { language.unbind(second); });
    second = language.bind(90, TextGroup::Full, Decoration::None, a.target());
    language.apply(entries({{90, "OK"}}), kLoadFull);
    EXPECT_TRUE(a.texts.empty());
}

TEST(Language, PresetMessagesAndObservers) {
    Language language;
    EXPECT_EQ(language.text(kTextFileDoesNotExist, ""), "File does not exist:");
    EXPECT_EQ(language.text(kTextErrorCaption, ""), "Error");
    EXPECT_EQ(language.text(12345, "design time"), "design time");

    int cleared = 0, rebuilt = 0;
    language.addBeforeFullLoad([&] { ++cleared; });
    const auto after = language.addAfterLoad([&] { ++rebuilt; });
    language.apply({}, kLoadSettingsDialog);
    language.apply({}, kLoadFull);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(rebuilt, 2);
    language.removeObserver(after);
    language.apply({}, kLoadFull);
    EXPECT_EQ(cleared, 2);
    EXPECT_EQ(rebuilt, 2);
}

TEST(Language, MissingFileChangesNothingAndLoadingTwiceIsIdempotent) {
    Language language;
    Collected button;
    language.bind(205, TextGroup::Full, Decoration::None, button.target());
    const auto dir = std::filesystem::path(testing::TempDir()) / "lang-idem";
    std::filesystem::create_directories(dir);
    EXPECT_FALSE(language.loadFile(dir / "Missing.LAN", kLoadAll));
    EXPECT_TRUE(button.texts.empty());
    EXPECT_EQ(language.missingFileMessage(dir / "Missing.LAN"),
              "File does not exist:\n\n" + (dir / "Missing.LAN").string());

    std::ofstream(dir / "English.LAN") << "205=New question\n5010=Missing file:\n";
    ASSERT_TRUE(language.loadFile(dir / "English.LAN", kLoadAll));
    ASSERT_TRUE(language.loadFile(dir / "English.LAN", kLoadAll));
    EXPECT_EQ(button.texts, (std::vector<std::string>{"New question", "New question"}));
    EXPECT_EQ(language.text(kTextFileDoesNotExist, ""), "Missing file:");
}

TEST(Language, LanguageAndHelpFileChoice) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "lang-choice";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "English.LAN") << "1=x\n";
    std::ofstream(dir / "Norsk.LAN") << "1=x\n";
    std::ofstream(dir / "english.hlp") << "@@topic 1 Contents\n";

    EXPECT_EQ(chooseLanguage(dir, "Norsk"), "Norsk");
    EXPECT_EQ(chooseLanguage(dir, "Suomi"), "English");
    EXPECT_EQ(chooseLanguage(dir, "../Norsk"), "English");
    EXPECT_EQ(chooseHelpFile(dir, "Norsk"), dir / "english.hlp");

    std::ofstream(dir / "Norsk.HLP") << "@@topic 1 Innhold\n";
    EXPECT_EQ(chooseHelpFile(dir, "Norsk"), dir / "Norsk.HLP");

    std::filesystem::remove(dir / "english.hlp");
    EXPECT_FALSE(chooseHelpFile(dir, "Suomi"));
}
