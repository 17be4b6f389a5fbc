// The start menu: welcome paragraphs, where scrolling stops, hovering and the scroll ticks.
#include "app/Program.h"
#include "app/TMenuDialog.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

std::vector<language::LanguageEntry> welcomeTexts(bool withStopText) {
    std::vector<language::LanguageEntry> entries = {
        {5212, "Hello"}, {5213, "First paragraph"}, {5214, "Second"}, {5215, "Third"}, {5216, "Fourth"},
        {5221, "Chords are heard and named"}, {5223, "Two intervals"}};
    if (withStopText) entries.push_back({5217, "Stop here"});
    return entries;
}

}  // namespace

TEST(MenuDialog, ParagraphsArriveInIdOrderAndStopAtText5217) {
    TMenuDialog menu;
    auto entries = welcomeTexts(true);
    std::reverse(entries.begin(), entries.end());  // file order does not matter
    program().language.apply(entries, language::kLoadFull);
    const std::vector<std::string> expected = {"",  "Hello", "", "First paragraph", "", "Second",
                                               "", "Third", "", "Fourth",          "", "Stop here"};
    EXPECT_EQ(menu.WelcomeLines, expected);
    EXPECT_EQ(menu.StopLine, 10);
    menu.StartMenu();
    EXPECT_EQ(menu.StopLine, 10);
}

TEST(MenuDialog, WithoutText5217ScrollingStopsAtTheLastEmptyLine) {
    TMenuDialog menu;
    program().language.apply(welcomeTexts(false), language::kLoadFull);
    menu.show();
    menu.StartMenu();
    EXPECT_EQ(menu.StopLine, 8);  // the empty line before "Fourth"
    EXPECT_TRUE(menu.scrolling());

    menu.ScrollOffset = 0;
    for (int tick = 0; tick < menu.LineHeight * menu.StopLine; ++tick) menu.ScrollTick();
    EXPECT_EQ(menu.TopLine, menu.StopLine);
    EXPECT_FALSE(menu.scrolling());
}

TEST(MenuDialog, LongParagraphsWrapInsideThePanel) {
    TMenuDialog menu;
    menu.WelcomeLines.clear();
    menu.AddParagraph(QString("word ").repeated(60).trimmed());
    EXPECT_GT(menu.WelcomeLines.size(), 3u);
    const QFontMetrics metrics(menu.infoPanel()->font());
    for (const auto& line : menu.WelcomeLines) EXPECT_LE(line.size(), 60u);
}

TEST(MenuDialog, HoveringAnExerciseShowsItsDescriptionAndPausesScrolling) {
    TMenuDialog menu;
    program().language.apply(welcomeTexts(true), language::kLoadFull);
    menu.show();
    menu.StartMenu();
    menu.Hover(1);
    EXPECT_FALSE(menu.scrolling());
    EXPECT_EQ(menu.DescriptionLines, (std::vector<std::string>{"", "Chords are heard and named"}));
    menu.DescriptionLines.push_back("marker");
    menu.Hover(1);  // the same exercise again: nothing is rebuilt
    EXPECT_EQ(menu.DescriptionLines.back(), "marker");
    menu.Hover(0);
    EXPECT_TRUE(menu.scrolling());
    menu.Hover(3);
    EXPECT_EQ(menu.DescriptionLines.back(), "Two intervals");
}

TEST(MenuDialog, ButtonsCarryTheirExerciseAndStartTheIntroOnce) {
    TMenuDialog menu;
    QSignalSpy chosen(&menu, &TMenuDialog::exerciseChosen);
    menu.exerciseButton(7)->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 7);
    EXPECT_EQ(menu.exerciseButton(3)->objectName(), "SpeedButton5");
    EXPECT_EQ(menu.exerciseButton(9)->objectName(), "SpeedButton14");

    int started = 0, stopped = 0;
    menu.playIntro = [&] { return ++started > 0; };
    menu.stopIntro = [&] { ++stopped; };
    menu.StartMenu();
    menu.StopIntro();
    menu.StopIntro();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(stopped, 1);
}
