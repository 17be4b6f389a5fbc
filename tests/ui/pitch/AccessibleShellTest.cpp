// The main window and interval comparison as a screen reader finds them: every control named,
// every control reached by Tab, and a question asked and answered through accessibility alone.
#include "app/Program.h"
#include "app/TControlButton.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/TLevels.h"
#include "app/TMenuDialog.h"
#include "exercises/pitch/PlayQuestion.h"
#include "pitch/TIntervalSam.h"
#include "sound/RecordingMidi.h"
#include "ui/AccessibleWalk.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QWindow>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;
using kalvintor::pitch::ComparisonChoice;

namespace {

struct Shell {
    sound::RecordingMidiSystem* recording;
    std::unique_ptr<TKalvintorMain> main;
    TIntervalSam* window;

    Shell() {
        auto system = std::make_unique<sound::RecordingMidiSystem>();
        recording = system.get();
        main = std::make_unique<TKalvintorMain>(nullptr, std::move(system));
        window = new TIntervalSam(*main);
        main->SetExerciseWindow(3, window);
        main->CreateMenuDialog();
        main->resize(1100, 760);
        main->show();
        main->activateWindow();
        active = QTest::qWaitForWindowActive(main.get());
    }
    bool active = false;
    ~Shell() {
        if (THelpWindow* help = main->helpWindow()) help->hide();
    }

    QAccessibleInterface* strip() const {
        return findAccessible(main.get(), QAccessible::ToolBar, QStringLiteral("Control buttons"));
    }
    QStringList slotNames() const {
        QStringList names;
        for (int i = 0; i < strip()->childCount(); ++i) names << strip()->child(i)->text(QAccessible::Name);
        return names;
    }
    std::vector<bool> slotsEnabled() const {
        std::vector<bool> enabled;
        for (int i = 0; i < strip()->childCount(); ++i)
            enabled.push_back(!strip()->child(i)->state().disabled);
        return enabled;
    }
    // The question plays to its end on the recording device and its notices arrive.
    void playToTheEnd() const {
        recording->Output()->Advance(recording->Output()->Now() + 20000);
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST(AccessibleShell, AQuestionIsAskedAndAnsweredThroughAccessibilityAlone) {
    Shell shell;
    ASSERT_TRUE(shell.active);
    EXPECT_EQ(unnamedControls(shell.main.get()), "") << "in the start menu";

    // The toolbar's exercise button opens the exercise when pressed, as a click does.
    QAccessibleInterface* exercise = findAccessible(
        shell.main->ToolWindow(kPanelStandard), QAccessible::Button, QStringLiteral("Interval comparison"));
    ASSERT_NE(exercise, nullptr);
    EXPECT_TRUE(
        exercise->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    ASSERT_TRUE(press(exercise));
    ASSERT_EQ(shell.main->views()->currentWidget(), shell.window);
    EXPECT_EQ(unnamedControls(shell.main.get()), "") << "in interval comparison";

    // The control bar: five named buttons, only "New question" can be pressed.
    ASSERT_NE(shell.strip(), nullptr);
    ASSERT_EQ(shell.strip()->childCount(), 5);
    EXPECT_EQ(shell.slotNames(), QStringList({"New question", "Repeat", "A", "B", "Stop"}));
    EXPECT_EQ(shell.slotsEnabled(), std::vector<bool>({true, false, false, false, false}));
    EXPECT_EQ(shell.strip()->child(0)->actionInterface()->keyBindingsForAction(
                  QAccessibleActionInterface::pressAction()),
              QStringList("F5"));
    EXPECT_FALSE(press(shell.strip()->child(2))) << "a disabled button offers no press";
    EXPECT_EQ(shell.window->QuestionCount, 0);

    ASSERT_TRUE(press(shell.strip()->child(0)));
    ASSERT_TRUE(shell.window->hasQuestion());
    EXPECT_EQ(shell.slotsEnabled(), std::vector<bool>({false, false, false, false, true}));
    EXPECT_TRUE(shell.strip()->child(4)->state().focused) << "Stop has the focus while the question plays";
    EXPECT_FALSE(shell.strip()->child(0)->state().pressed) << "a press is released again";

    shell.playToTheEnd();
    EXPECT_EQ(shell.slotsEnabled(), std::vector<bool>({true, true, true, true, false}));
    const bool aIsLarger = shell.window->state().rightAnswer == ComparisonChoice::A;
    ASSERT_TRUE(press(shell.strip()->child(aIsLarger ? 2 : 3)));
    EXPECT_EQ(shell.window->QuestionCount, 1);
    EXPECT_EQ(shell.window->CorrectCount, 1);

    // The score is there for the screen reader too.
    QAccessibleInterface* gauge = findAccessible(shell.main.get(), QAccessible::ProgressBar, "Result");
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->valueInterface()->currentValue().toInt(), 100);
    EXPECT_NE(findAccessible(shell.main.get(), QAccessible::StaticText, "Score: 1 of 1"), nullptr);
}

TEST(AccessibleShell, TabReachesEveryControlOfTheExerciseAndTheToolbar) {
    Shell shell;
    ASSERT_TRUE(shell.active);
    shell.main->Speed1Click(3);
    shell.window->ControlButton->FocusButton(0);
    ASSERT_TRUE(press(shell.strip()->child(0)));
    shell.playToTheEnd();  // every control button but Stop can now be pressed

    // Tab twice round the whole window, noting what has the focus each time.
    QSet<QString> reached;
    for (int i = 0; i < 80; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "after " << i << " tabs";
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(focus);
        if (QAccessibleInterface* inner = node->focusChild()) node = inner;
        reached << node->text(QAccessible::Name);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    for (const char* name : {"Load", "Overview", "Interval comparison", "Exercise", "Help", "New question",
                             "Repeat", "A", "B", "Speed"})
        EXPECT_TRUE(reached.contains(QString::fromLatin1(name)))
            << name << " is not reached by Tab: " << QStringList(reached.values()).join('|').toStdString();
    EXPECT_FALSE(reached.contains("Stop")) << "a disabled button is passed over";
}

TEST(AccessibleShell, F1OpensTheTopicOfWhatIsShown) {
    Shell shell;
    const auto f1 = [](QWidget* target) { QTest::keyClick(target, Qt::Key_F1); };
    f1(shell.main->menuDialog());
    EXPECT_EQ(shell.main->helpWindow()->currentTopic(), 1) << "the start menu: the contents";

    shell.main->Speed1Click(3);
    f1(shell.window->ControlButton);
    EXPECT_EQ(shell.main->helpWindow()->currentTopic(), 31);
    EXPECT_TRUE(shell.main->helpWindow()->isVisible());
}

TEST(AccessibleShell, HelpFromAModalDialogCanBeReadAndClosedWhileTheDialogIsOpen) {
    Shell shell;
    TLevels chooser(program().paths.programDir, program().paths.programDir, shell.main.get());
    chooser.setWindowModality(Qt::ApplicationModal);  // as exec() shows it, without waiting for it
    chooser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chooser));

    EXPECT_EQ(unnamedControls(&chooser), "");
    QTest::keyClick(&chooser, Qt::Key_F1);
    THelpWindow* help = shell.main->helpWindow();
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentTopic(), 160);
    EXPECT_EQ(unnamedControls(help), "");

    // A click on the help window reaches it: its Close button closes it, the chooser stays open.
    auto* close = help->findChild<QPushButton*>(QStringLiteral("CloseButton"));
    ASSERT_NE(close, nullptr);
    // Through the window system, where a window blocked by a modal dialog gets no clicks.
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, close->mapTo(help, close->rect().center()));
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(chooser.isVisible());

    // Opened from the main window afterwards, the help blocks nothing.
    chooser.close();
    shell.main->ContextHelp();
    EXPECT_EQ(help->windowModality(), Qt::NonModal);
}

TEST(AccessibleShell, AllFiveControlButtonsShowInAWindowOf640By480) {
    Shell shell;
    shell.main->resize(640, 480);
    shell.main->Speed1Click(3);
    QCoreApplication::processEvents();
    ASSERT_EQ(shell.main->width(), 640);
    const QWidget* strip = shell.window->ControlButton;
    const QPoint stopRight =
        strip->mapTo(shell.main.get(), QPoint(4 * TControlButton::kPitch + TControlButton::kFaceWidth, 0));
    EXPECT_LE(stopRight.x(), shell.main->width()) << "Stop is clipped";
    EXPECT_GE(strip->mapTo(shell.main.get(), QPoint(0, 0)).x(), 0);
}
