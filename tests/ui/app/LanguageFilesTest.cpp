// The shipped English texts and help: every id a window shows and every help topic resolve.
#include "ExerciseTestDoubles.h"
#include "app/Program.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "files/Files.h"
#include "language/HelpFile.h"

#include <gtest/gtest.h>
#include <QTextBrowser>
#include <set>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

// The help topic numbers the program opens: menus, context help and dialog help buttons.
std::vector<int> helpTopicsInUse() {
    std::vector<int> topics = {1,   8,   9,   10,  13,  20,  22,  110, 160, 161, 162, 163, 170, 171,
                               172, 191, 195, 220, 230, 254, 255, 256, 257, 258, 295, 501, 502, 503};
    for (int exercise = 1; exercise <= 10; ++exercise) {
        topics.push_back(exercise * 10 + 1);
        topics.push_back(exercise * 10 + 2);
    }
    return topics;
}

}  // namespace

TEST(LanguageFiles, EveryIdAWindowRegisteredHasAnEnglishText) {
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    main.helpWindow();
    ASSERT_TRUE(LoadLanguage(languageFileName("English"), language::kLoadAll, &main));
    for (int id : program().language.boundIds())
        EXPECT_TRUE(program().language.loadedText(id)) << "English.LAN has no text " << id;
}

TEST(LanguageFiles, EveryHelpTopicInUseIsInTheEnglishHelp) {
    const auto file = files::findCaseInsensitive(
        program().paths.languageDir.empty() ? app::makeProgramPaths(toPath(programDirectory())).languageDir
                                            : program().paths.languageDir,
        "English.HLP");
    ASSERT_TRUE(file);
    const auto help = language::parseHelpFile(*files::readFile(*file));
    for (int topic : helpTopicsInUse()) {
        ASSERT_TRUE(help.contains(topic)) << "no help topic " << topic;
        EXPECT_FALSE(help.at(topic).title.empty()) << topic;
        EXPECT_GT(help.at(topic).body.size(), 80u) << topic;
    }
}

TEST(LanguageFiles, TheHelpContentsListEveryTopicOnceUnderATitleOfItsOwn) {
    const auto file = files::findCaseInsensitive(
        app::makeProgramPaths(toPath(programDirectory())).languageDir, "English.HLP");
    ASSERT_TRUE(file);
    const auto bytes = files::readFile(*file);
    const auto help = language::parseHelpFile(*bytes);
    // A number given twice would hide the second page: every "@@topic" line must be a topic.
    const std::string& text = *bytes;
    std::size_t marks = 0;
    for (std::size_t at = text.find("@@topic "); at != std::string::npos; at = text.find("@@topic ", at + 1))
        if (at == 0 || text[at - 1] == '\n') ++marks;
    EXPECT_EQ(marks, help.size());
    std::set<std::string> titles;
    for (const auto& [number, topic] : help)
        EXPECT_TRUE(titles.insert(topic.title).second) << "two topics are called \"" << topic.title << '"';
}

TEST(LanguageFiles, TheHelpWindowShowsATopicAndFallsBackToTheContents) {
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    main.show();
    THelpWindow* help = main.helpWindow();
    help->showTopic(195);
    EXPECT_EQ(help->currentTopic(), 195);
    help->showTopic(9999);
    EXPECT_EQ(help->currentTopic(), 1);
    EXPECT_TRUE(help->browser()->toHtml().contains("topic:195"));
}
