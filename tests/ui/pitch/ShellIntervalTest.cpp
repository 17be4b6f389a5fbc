// Interval comparison inside the main window: the question plays on the recording device, its
// notices come back through the sequencer and the event loop, and the answer reaches the score panel.
#include "app/MainPanels.h"
#include "app/MainSound.h"
#include "app/TControlButton.h"
#include "app/TKalvintorMain.h"
#include "app/ViewTags.h"
#include "pitch/TIntervalSam.h"
#include "sound/RecordingMidi.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStackedWidget>

using namespace kalvintor;
using namespace kalvintor::ui;
using kalvintor::pitch::ComparisonChoice;

TEST(ShellInterval, AQuestionFromTheStartMenuToTheScorePanel) {
    auto system = std::make_unique<sound::RecordingMidiSystem>();
    sound::RecordingMidiSystem& recording = *system;
    TKalvintorMain main(nullptr, std::move(system));
    auto* window = new TIntervalSam(main);
    main.SetExerciseWindow(3, window);
    main.CreateMenuDialog();
    main.show();  // first show: the built-in settings, the default setup, the output opened
    ASSERT_NE(recording.Output(), nullptr);

    main.Speed1Click(3);
    ASSERT_EQ(main.views()->currentWidget(), window);
    const auto key = [&main](int code) {
        QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier);
        QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier);
        main.HandleKeyDown(&down);
        main.HandleKeyUp(&up);
    };

    key(Qt::Key_F5);  // new question
    ASSERT_TRUE(window->hasQuestion());
    EXPECT_EQ(window->panel(ComparisonChoice::A)->shade(), AnswerPanel::Shade::Sounding);

    // The device plays to the end; its notices arrive as events and light the panels in turn.
    recording.Output()->Advance(recording.Output()->Now() + 20000);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->panel(ComparisonChoice::A)->shade(), AnswerPanel::Shade::Normal);
    EXPECT_EQ(window->panel(ComparisonChoice::B)->shade(), AnswerPanel::Shade::Normal);
    EXPECT_TRUE(window->ControlButton->ButtonEnabled[1]) << "Repeat, once B has sounded";
    EXPECT_FALSE(window->ControlButton->ButtonEnabled[4]) << "Stop, once the question has ended";

    const bool aIsLarger = window->state().rightAnswer == ComparisonChoice::A;
    key(aIsLarger ? Qt::Key_F7 : Qt::Key_F8);
    EXPECT_EQ(window->QuestionCount, 1);
    EXPECT_EQ(window->CorrectCount, 1);
    EXPECT_EQ(main.Label15->text(), "Score: 1 of 1");
    EXPECT_EQ(main.Gauge15->Progress(), 100);

    // Back to the start menu: nothing of the exercise plays on or answers.
    main.Speed1Click(app::kTagOverview);
    key(Qt::Key_F7);
    EXPECT_EQ(window->QuestionCount, 1);
}
