// The control-button strip and the exercise base: hit rules, presses, keys, score and answers.
#include "ExerciseTestDoubles.h"
#include "app/Program.h"
#include "app/TControlButton.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

struct Fixture {
    RecordingHost host;
    RecordingExercise exercise{1, host};
    TControlButton& strip = *exercise.ControlButton;

    Fixture() {
        exercise.resize(700, 100);
        for (int i = 0; i < TControlButton::kButtons; ++i) strip.setCaption(i, QString("Button %1").arg(i));
        exercise.show();
    }
    void enableOnly(std::initializer_list<int> enabled) {
        for (int i = 0; i < TControlButton::kButtons; ++i) strip.setButtonEnabled(i, false);
        for (int i : enabled) strip.setButtonEnabled(i, true);
    }
};

}  // namespace

TEST(ControlButton, HitRulesOnEveryButton) {
    Fixture f;
    f.enableOnly({0, 1, 2, 3, 4});
    for (int i = 0; i < TControlButton::kButtons; ++i) {
        const int left = TControlButton::kPitch * i;
        EXPECT_EQ(f.strip.ControlButtonAt(left + 60, 20), i) << "middle of button " << i;
        EXPECT_EQ(f.strip.ControlButtonAt(left + 126, 20), -1) << "gap after button " << i;
        EXPECT_EQ(f.strip.ControlButtonAt(left + 60, 45), -1) << "below button " << i;
    }
    EXPECT_EQ(f.strip.ControlButtonAt(-1, 10), -1);
    EXPECT_EQ(f.strip.ControlButtonAt(700, 10), -1);
}

TEST(ControlButton, AClickOnADisabledButtonDoesNothing) {
    Fixture f;
    f.enableOnly({0});
    QTest::mouseClick(&f.strip, Qt::LeftButton, {}, QPoint(3 * TControlButton::kPitch + 60, 20));
    EXPECT_EQ(f.strip.PressedIndex, -1);
    EXPECT_TRUE(f.exercise.calls.isEmpty());
}

TEST(ControlButton, ReleasingOutsideStillRunsThePressedButton) {
    Fixture f;
    f.enableOnly({0});
    QTest::mousePress(&f.strip, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_EQ(f.strip.PressedIndex, 0);
    QTest::mouseRelease(&f.strip, Qt::LeftButton, {}, QPoint(900, 300));
    EXPECT_EQ(f.exercise.calls, QStringList{"new"});
    EXPECT_EQ(f.strip.PressedIndex, -1);
}

TEST(ControlButton, EachButtonRunsItsOperation) {
    Fixture f;
    f.enableOnly({0, 1, 2, 3, 4});
    for (int i = 0; i < TControlButton::kButtons; ++i) {
        f.strip.PressButton(i);
        f.exercise.ControlButtonUpAction();
    }
    EXPECT_EQ(f.exercise.calls, (QStringList{"new", "repeat", "action2", "action3", "stop"}));
}

TEST(ControlButton, PressingADisabledButtonThenReleasingRunsNothing) {
    Fixture f;
    f.enableOnly({0});
    f.strip.PressButton(1);  // F6 on a disabled repeat button
    EXPECT_EQ(f.strip.PressedIndex, -1);
    f.exercise.ControlButtonUpAction();
    f.strip.PressButton(7);  // outside the strip
    f.exercise.ControlButtonUpAction();
    EXPECT_TRUE(f.exercise.calls.isEmpty());
}

TEST(ControlButton, EnterPressesTheFocusedButtonAndFocusSkipsDisabledButtons) {
    Fixture f;
    f.enableOnly({2, 4});
    f.strip.FocusIndex = 0;  // on a disabled button: the focus mark moves on when the strip gets the focus
    f.exercise.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.exercise));
    f.strip.setFocus();
    EXPECT_EQ(f.strip.FocusIndex, 2);
    QTest::keyClick(&f.strip, Qt::Key_Return);
    EXPECT_EQ(f.exercise.calls, QStringList{"action2"});
}

TEST(ExerciseBase, ScoreGaugeAndLabel) {
    Fixture f;
    f.exercise.ResetExercise();
    EXPECT_EQ(f.host.gauge, 100);
    EXPECT_EQ(f.host.scoreLabel, "0 of 0");
    f.exercise.QuestionCount = 3;
    f.exercise.CorrectCount = 2;
    f.exercise.ShowScore();
    EXPECT_EQ(f.host.gauge, 67);
    EXPECT_EQ(f.host.scoreLabel, "2 of 3");
}

TEST(ExerciseBase, RegisterAnswerPlaysTheSoundAndBooksTheAnswerTime) {
    Fixture f;
    f.exercise.NewQuestion();
    EXPECT_GT(f.exercise.QuestionStart, 0.0);
    QTest::qWait(20);
    f.exercise.RegisterAnswer(true);
    EXPECT_GT(f.exercise.ExerciseTime, 0.0);
    EXPECT_EQ(f.exercise.QuestionStart, 0.0);
    EXPECT_TRUE(f.host.calls.contains("wave:" + toQString(program().paths.mediaDir / "Correct.wav")));

    f.host.current.soundEffects = false;
    f.host.calls.clear();
    f.exercise.RegisterAnswer(false);
    EXPECT_FALSE(f.host.calls.join(',').contains("wave:"));
}

TEST(ExerciseBase, LeavingStopsTheTimerTheMidiInputAndTheMicrophone) {
    Fixture f;
    f.exercise.LeaveExercise();
    EXPECT_EQ(f.host.calls, (QStringList{"stopAutoTimer", "stopMidiInput", "stopMicrophone"}));
}
