// Rules of the program shell: command tags, scores and clocks, the visual metronome, word wrap
// and the score panel.
#include "app/ExerciseClocks.h"
#include "app/ScorePanel.h"
#include "app/ViewTags.h"
#include "app/VisualMetronome.h"
#include "app/WordWrap.h"

#include <gtest/gtest.h>

using namespace kalvintor::app;

TEST(ViewTags, DecodingKeepsOrReplacesExerciseAndView) {
    struct Case {
        int tag, exercise, view;
        ViewChoice expected;
    };
    const Case cases[] = {
        {511, 4, 3, {0, 1}},    // the overview from anywhere
        {0, 4, 3, {4, 3}},      // a button without a tag keeps both
        {3, 4, 3, {3, 3}},      // an exercise button keeps the view
        {257, 0, 2, {1, 1}},    // a menu item of exercise 1
        {778, 2, 1, {10, 3}},   // results of exercise 10
        {512, 7, 1, {7, 2}},    // the setup view of the current exercise
        {4352, 5, 3, {5, 1}},   // the tutor button: the exercise view
        {8704, 5, 1, {5, 2}},   // the tutor-setup button: the setup view
        {1034, 1, 1, {10, 4}},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeTag(c.tag, c.exercise, c.view), c.expected) << c.tag;
}

TEST(ExerciseClocks, ScorePercentRoundsHalvesUp) {
    EXPECT_EQ(ScorePercent(2, 3), 67);
    EXPECT_EQ(ScorePercent(0, 0), 100);
    EXPECT_EQ(ScorePercent(1, 8), 13);  // 12.5
    EXPECT_EQ(ScorePercent(1, 3), 33);
    EXPECT_EQ(ScorePercent(5, 5), 100);
}

TEST(ExerciseClocks, OpenTimeCountsOnlyWhileTheExerciseViewIsOpen) {
    const double t0 = 46000.5, minute = 1.0 / 1440;
    ExerciseClocks c;
    c.StartActiveClock(t0);
    EXPECT_DOUBLE_EQ(c.SessionStart, t0);
    EXPECT_DOUBLE_EQ(c.OpenTime(t0), 0.0);  // shows 0:00 when just opened
    c.StopActiveClock(t0 + 3 * minute);      // off to the setup view
    c.StartActiveClock(t0 + 10 * minute);    // back again
    EXPECT_DOUBLE_EQ(c.SessionStart, t0);
    EXPECT_NEAR(c.OpenTime(t0 + 12 * minute), 5 * minute, 1e-9);
    c.StopActiveClock(t0 + 12 * minute);
    EXPECT_NEAR(c.ActiveTime, 5 * minute, 1e-9);
    EXPECT_EQ(c.ActivatedAt, 0.0);
}

TEST(ExerciseClocks, OnlyAnswerTimesBetweenZeroAndADayAreBooked) {
    const double t0 = 46000.25, second = 1.0 / 86400;
    ExerciseClocks c;
    c.StartQuestion(t0);
    c.BookAnswerTime(t0 + 4 * second);
    EXPECT_NEAR(c.ExerciseTime, 4 * second, 1e-9);
    EXPECT_EQ(c.QuestionStart, 0.0);

    c.StartQuestion(t0);
    c.BookAnswerTime(t0 + 1.5);  // left open over a day
    c.StartQuestion(t0);
    c.BookAnswerTime(t0 - second);  // the clock went back
    c.BookAnswerTime(t0);           // no question running
    EXPECT_NEAR(c.ExerciseTime, 4 * second, 1e-9);

    c.RestartSession();
    EXPECT_EQ(c.ExerciseTime, 0.0);
    EXPECT_EQ(c.SessionStart, 0.0);
}

TEST(VisualMetronome, DotGeometryAtSeventyTwoPixels) {
    struct Case {
        int beats, margin, size;
    };
    for (const Case c : {Case{4, 8, 14}, Case{3, 14, 14}, Case{2, 17, 19}, Case{6, 2, 11}}) {
        bool flag = false;
        const auto frame = DrawVisualMetronome(1, c.beats, 72, 50, flag);
        ASSERT_EQ(static_cast<int>(frame.dots.size()), c.beats);
        EXPECT_EQ(frame.dots[0].left, c.margin + 1) << c.beats;
        EXPECT_EQ(frame.dots[0].right, c.size + c.margin - 1) << c.beats;
        EXPECT_EQ(frame.dots[0].top, 50 - c.size + 2) << c.beats;
        EXPECT_EQ(frame.dots.back().right, c.beats * c.size + c.margin - 1) << c.beats;
    }
}

TEST(VisualMetronome, ColoursPicturesAndTheAlternatingPendulum) {
    bool flag = false;
    auto first = DrawVisualMetronome(1, 4, 72, 50, flag);
    EXPECT_EQ(first.pictureCell, 0);
    EXPECT_EQ(first.pictureX, 13);
    EXPECT_EQ(first.dots[0].colour, DotColour::BrightGreen);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(first.dots[i].colour, DotColour::Silver);

    auto third = DrawVisualMetronome(3, 4, 72, 50, flag);
    EXPECT_EQ(third.pictureCell, 1);
    EXPECT_EQ(third.dots[0].colour, DotColour::Silver);
    EXPECT_EQ(third.dots[2].colour, DotColour::DarkGreen);

    EXPECT_FALSE(flag);  // flipped by each of the two beats
    auto rest = DrawVisualMetronome(0, 0, 72, 50, flag);
    EXPECT_EQ(rest.pictureCell, 2);
    EXPECT_TRUE(rest.dots.empty());
    EXPECT_FALSE(flag);  // a repaint does not flip the pendulum
}

TEST(WordWrap, ParagraphsWrapAtTheLimitAfterAnEmptyLine) {
    const TextWidth chars = [](std::string_view s) { return static_cast<int>(s.size()); };
    std::vector<std::string> lines;
    AddParagraph(lines, "one two three four", 10, chars);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "one two", "three four"}));

    lines.clear();
    AddParagraph(lines, "extraordinarily long", 10, chars);  // the first word alone is too wide
    EXPECT_EQ(lines, (std::vector<std::string>{"", "", "extraordinarily", "long"}));
}

TEST(ScorePanel, OneRowWidthsFollowTheExercise) {
    const auto chord = LayOutScorePanel(300, 30, 1, false, 30);
    EXPECT_EQ(chord.score.width, 200);
    EXPECT_EQ(chord.score.height, 26);
    const auto reading = LayOutScorePanel(300, 30, 5, true, 30);
    EXPECT_EQ(reading.score.width, 150);
    EXPECT_EQ(reading.total.left, 152);
    EXPECT_EQ(reading.gauge.left, 186);
    EXPECT_EQ(LayOutScorePanel(600, 30, 1, false, 30).score.width, 300);
    EXPECT_EQ(LayOutScorePanel(100, 30, 5, true, 30).score.width, 100);  // raised to 200 first
}

TEST(ScorePanel, TwoRowsPutTheGaugeUnderTheScore) {
    const auto layout = LayOutScorePanel(120, 60, 4, true, 30);
    EXPECT_EQ(layout.score, (PanelRect{4, 2, 142, 28}));
    EXPECT_EQ(layout.total.top, 32);
    EXPECT_EQ(layout.gauge.left, 38);
}
