// Pictures of a course in the program: the course chooser, a step's information, a step under
// way, the end-of-step judgement and the tutor editor, taken from the screen when
// KALVINTOR_SCREENSHOT_DIR names a folder (run under Xvfb on the xcb platform); skipped otherwise.
#include "TutorCourse.h"
#include "app/MainTutor.h"
#include "pitch/TAkkord.h"
#include "setup/MainSetupHost.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TEndTutorStep.h"
#include "tutor/TTutorDefine.h"
#include "tutor/TTutorStepInfo.h"
#include "ui/ScreenCapture.h"

#include <gtest/gtest.h>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// Takes a picture of the dialog, then presses its button.
ModalScript::Step shoot(const QString& name, const char* button) {
    return [name, button](QWidget* w) {
        captureScreen(name);
        if (auto* b = w->findChild<QPushButton*>(QLatin1String(button))) b->click();
    };
}

}  // namespace

TEST(TutorScreens, AStudentsCourse) {
    if (screenshotDir().isEmpty()) GTEST_SKIP() << "KALVINTOR_SCREENSHOT_DIR is not set";
    School school;
    school.establish();
    Workstation w;
    for (int e : {1, 2}) w.main->SetExerciseWindow(e, new TAkkord(e, *w.main));
    ModalScript script;
    script.then(logIn("SAM", "s")).then(rejectIt());
    w.main->resize(1100, 760);
    w.main->show();
    ASSERT_TRUE(script.done());

    // SAM has no tutor yet: the shipped course is offered in the chooser.
    script.then(shoot("tutor-chooser.png", "BitBtn1")).then(shoot("tutor-step-information.png", "BitBtn1"));
    w.main->SpeedButton10->click();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    ASSERT_TRUE(w.main->TutorActive);
    const int questions = w.main->tutor().model.StepOf(3, 1)->record.stepQuestions;
    for (int i = 0; i + 1 < questions; ++i) {
        w.key(Qt::Key_F5);
        w.recording->Output()->Advance(w.recording->Output()->Now() + 20000);
        QCoreApplication::processEvents();
        const bool a = w.exercise->state().rightAnswer == pitch::ComparisonChoice::A;
        w.key(a == (i % 7 != 3) ? Qt::Key_F7 : Qt::Key_F8);
    }
    captureScreen("tutor-running-step.png");
    script.then(shoot("tutor-end-of-step.png", "BitBtn1")).then(rejectIt());
    w.key(Qt::Key_F5);
    w.recording->Output()->Advance(w.recording->Output()->Now() + 20000);
    QCoreApplication::processEvents();
    w.key(w.exercise->state().rightAnswer == pitch::ComparisonChoice::A ? Qt::Key_F7 : Qt::Key_F8);
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    script.then(press(QMessageBox::No));
    w.main->close();
}

TEST(TutorScreens, TheTutorEditor) {
    if (screenshotDir().isEmpty()) GTEST_SKIP() << "KALVINTOR_SCREENSHOT_DIR is not set";
    School school;
    school.establish();
    Workstation w;
    RegisterPitchSetupViews(*w.main);
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "ADA", "a")) << script.seen.join("\n").toStdString();
    w.main->Speed1Click(3);
    const auto shipped = program().paths.languageDir / "English.tut";
    ASSERT_TRUE(w.main->tutor().model.LoadTutor(shipped.string(), {}));
    w.main->SpeedButton9->click();
    TTutorDefine& editor = *w.main->tutor().editor;
    editor.list(3)->setCurrentRow(1);
    captureScreen("tutor-editor.png");
    w.main->SpeedButton9->click();
    w.main->close();
}
