// A student works through a small course in the real main window: the step information, the
// exercises limited to the course's, judging at the end of each step, moving on and repeating,
// results that name the tutor and the step, and the place in the course kept for the next start.
#include "TutorCourse.h"
#include "app/MainTutor.h"
#include "data/DataStore.h"
#include "pitch/TAkkord.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TEndTutorStep.h"
#include "tutor/TTutorStepInfo.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// Answers `count` questions of interval comparison, each right or wrong.
void answerAll(Workstation& w, int count, bool right) {
    for (int i = 0; i < count; ++i) {
        w.key(Qt::Key_F5);
        w.recording->Output()->Advance(w.recording->Output()->Now() + 20000);
        QCoreApplication::processEvents();
        const bool a = w.exercise->state().rightAnswer == pitch::ComparisonChoice::A;
        w.key(a == right ? Qt::Key_F7 : Qt::Key_F8);
    }
}

// The step information: notes what it shows, then OK.
ModalScript::Step stepInfo(QStringList& shown) {
    return [&shown](QWidget* w) {
        auto* info = qobject_cast<TTutorStepInfo*>(w);
        if (!info) {
            shown << "not the step information: " + w->objectName();
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            return;
        }
        shown << info->Label2->text() + "|" + info->Label5->text() + "|" + info->Label1->text();
        info->BitBtn1->click();
    };
}

// The end of a step: notes the message, which buttons work and the marked one, then presses `button`.
ModalScript::Step endOfStep(QStringList& shown, const char* button) {
    return [&shown, button](QWidget* w) {
        auto* end = qobject_cast<TEndTutorStep*>(w);
        if (!end) {
            shown << "not the end of the step: " + w->objectName();
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            return;
        }
        shown << end->Label4->text() + "|" + QString::number(end->BitBtn1->isEnabled()) +
                     QString::number(end->BitBtn3->isEnabled()) + "|" +
                     (end->recommended() ? end->recommended()->objectName() : QStringLiteral("none"));
        end->findChild<QPushButton*>(QLatin1String(button))->click();
    };
}

}  // namespace

TEST(TutorRun, AStudentWorksThroughACourseAndFindsHisPlaceAgain) {
    School school;
    school.establish();
    giveTutor(school, writeCourse(school.root.path()));
    QStringList shown;
    {
        Workstation w;
        w.main->SetExerciseWindow(1, new TAkkord(1, *w.main));
        ModalScript script;
        script.then(logIn("SAM", "s")).then(rejectIt());  // the setup chooser
        w.main->show();
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        const setup::SetupRecord before = w.main->Setup.current;

        // The tutor button: the course's only exercise is chosen and its first step explained.
        script.then(stepInfo(shown));
        w.main->SpeedButton10->click();
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        ASSERT_TRUE(w.main->TutorActive);
        EXPECT_EQ(w.main->CurrentExercise, 3);
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0],
                  "Comparison 1|Step 1 of the tutor\nHearing intervals|Listen to both intervals, then "
                  "choose the larger one (step 1).");
        EXPECT_TRUE(w.main->exerciseButton(3)->isEnabled());
        EXPECT_FALSE(w.main->exerciseButton(1)->isEnabled()) << "exercises without steps are closed";
        EXPECT_FALSE(w.main->SpeedButton2->isEnabled()) << "no setups are loaded during a tutor";
        EXPECT_TRUE(setup::SetupDiffers(w.main->Setup.current, courseSetup(2)) &&
                    std::ranges::equal(w.main->Setup.current.block(3), courseSetup(1).block(3)));
        EXPECT_TRUE(w.main->ToolWindow(kPanelTutor)->isVisible());
        EXPECT_EQ(w.main->Label6->text(), "Question 0 of 5");
        EXPECT_EQ(w.main->Label2->text(), "Step 1 of 3: \"Comparison 1\" in Hearing intervals");

        // Step 1 passed: "Next step" is advised and taken; step 2 is explained and in force.
        answerAll(w, kCourseQuestions - 1, true);
        EXPECT_EQ(w.main->Label6->text(), "Question 4 of 5");
        script.then(endOfStep(shown, "BitBtn1")).then(stepInfo(shown));
        answerAll(w, 1, true);
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_EQ(shown[1], "Perfect! You scored 100% in step 1.|10|BitBtn1");
        EXPECT_TRUE(shown[2].startsWith("Comparison 2|Step 2 of the tutor")) << shown[2].toStdString();
        EXPECT_EQ(storedUser(school, "SAM").tutorStep[2], 2);
        EXPECT_TRUE(std::ranges::equal(w.main->Setup.current.block(3), courseSetup(2).block(3)));
        EXPECT_EQ(w.exercise->QuestionCount, 0);

        // Step 2 failed: going back is advised; the student stays and the step starts over.
        script.then(endOfStep(shown, "BitBtn2")).then(stepInfo(shown));
        answerAll(w, kCourseQuestions, false);
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_EQ(shown[3], "You scored 0% in step 2.|01|BitBtn3");
        EXPECT_TRUE(shown[4].startsWith("Comparison 2|")) << shown[4].toStdString();
        EXPECT_EQ(storedUser(school, "SAM").tutorStep[2], 2);
        EXPECT_EQ(w.main->Label2->text(), "Step 2 of 3: \"Comparison 2\" in Hearing intervals");

        // Step 2 passed on the second try, then the last step: the tutor is finished, nothing
        // is marked and there is no next step; the student stays on it.
        script.then(endOfStep(shown, "BitBtn1")).then(stepInfo(shown));
        answerAll(w, kCourseQuestions, true);
        script.then(endOfStep(shown, "BitBtn2")).then(stepInfo(shown));
        answerAll(w, kCourseQuestions, true);
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(shown[6].startsWith("Comparison 3|")) << shown[6].toStdString();
        EXPECT_EQ(shown[7], "Tutor finished: 200% (step 3).|01|none");
        EXPECT_EQ(storedUser(school, "SAM").tutorStep[2], 3);

        // Escape ends the tutor and brings back the setup in force before it.
        w.key(Qt::Key_Escape);
        EXPECT_FALSE(w.main->TutorActive);
        EXPECT_FALSE(w.main->SpeedButton10->isChecked());
        EXPECT_TRUE(w.main->exerciseButton(1)->isEnabled());
        EXPECT_FALSE(setup::SetupDiffers(w.main->Setup.current, before));
        EXPECT_FALSE(w.main->ToolWindow(kPanelTutor)->isVisible());

        // The next tutor start continues on step 3; the program is then closed during the tutor.
        script.then(stepInfo(shown));
        w.main->SpeedButton10->click();
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(shown[9].startsWith("Comparison 3|")) << shown[9].toStdString();
        EXPECT_TRUE(w.main->close());
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    }

    // Every finished step is in the result file with the tutor's title, the step and its number.
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    ASSERT_TRUE(store.FindUser(0, "SAM", true));
    store.LoadResults(store.CurrentUser()->record.userId);
    ASSERT_EQ(store.ResultList().size(), 4u);
    const data::ResultRecord& first = store.ResultList()[0]->record;
    EXPECT_EQ(first.tutorName, "Hearing intervals");
    EXPECT_EQ(first.setupName, "Comparison 1");
    EXPECT_EQ(first.tutorStep, 1);
    EXPECT_EQ(first.questions, kCourseQuestions);
    EXPECT_EQ(first.correct, kCourseQuestions);
    const data::ResultRecord& second = store.ResultList()[1]->record;
    EXPECT_EQ(second.setupName, "Comparison 2");
    EXPECT_EQ(second.tutorStep, 2);
    EXPECT_EQ(second.correct, 0);
    EXPECT_EQ(store.ResultList()[3]->record.setupName, "Comparison 3");
    EXPECT_EQ(store.ResultList()[3]->record.tutorStep, 3);

    // The next start: the tutor that was running goes on where the student left it.
    {
        Workstation again;
        ModalScript script;
        script.then(logIn("SAM", "s"));
        again.main->show();
        shown.clear();
        script.then(stepInfo(shown));
        again.main->Speed1Click(3);
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(again.main->TutorActive);
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith("Comparison 3|")) << shown[0].toStdString();
        again.main->close();
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    }
}

TEST(TutorRun, ADamagedOrEmptyTutorIsReportedAndNoTutorStarts) {
    School school;
    school.establish();
    const QString damaged = school.root.filePath("Damaged.tut");
    {
        QFile f(damaged);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(500, '\x07'));
    }
    giveTutor(school, damaged.toStdString());
    Workstation w;
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "SAM", "s")) << script.seen.join("\n").toStdString();

    // The tutor cannot be opened: the student may choose another one, and cancels.
    script.then([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "ChooseTutor");
        qobject_cast<QDialog*>(dialog)->reject();
    });
    w.main->SpeedButton10->click();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_FALSE(w.main->TutorActive);
    EXPECT_FALSE(w.main->SpeedButton10->isChecked());
    EXPECT_EQ(storedUser(school, "SAM").tutorFile, damaged.toStdString()) << "nothing is written over";

    // A tutor without steps: a clear message, and no tutor mode.
    theory::ChordCatalogue working = theory::BuiltInCatalogue();
    tutor::CatalogueBackup backup;
    tutor::TutorModel empty(working, backup);
    empty.header.tutorName = "Nothing yet";
    const std::string emptyFile = school.root.filePath("Empty.tut").toStdString();
    ASSERT_TRUE(empty.SaveTutorFile(emptyFile));
    giveTutor(school, emptyFile);
    w.main->Store->ReloadUser(w.main->Store->CurrentUser()->record);
    script.then([](QWidget* box) {
        EXPECT_TRUE(qobject_cast<QMessageBox*>(box)->text().contains("has no steps"));
        qobject_cast<QMessageBox*>(box)->accept();
    });
    w.main->SpeedButton10->click();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_FALSE(w.main->TutorActive);
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    w.main->close();
}

TEST(TutorRun, ChangeStepChoosesAnotherStepInTheTutorProfile) {
    School school;
    school.establish();
    giveTutor(school, writeCourse(school.root.path()));
    Workstation w;
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "SAM", "s")) << script.seen.join("\n").toStdString();

    // "Change step..." in the step information: the profile shows the course's one exercise,
    // the student picks step 3, and the step information shows it.
    QString title, rows, refilled;
    script.then([](QWidget* d) { qobject_cast<TTutorStepInfo*>(d)->BitBtn2->click(); })
        .then([&](QWidget* d) {
            auto* chooser = qobject_cast<TChooseTutor*>(d);
            ASSERT_NE(chooser, nullptr);
            title = chooser->Label8->text();
            for (int e = 1; e <= 10; ++e)
                if (!chooser->Rows[static_cast<std::size_t>(e)]->isHidden()) rows += QString::number(e);
            chooser->TrackBars[3]->setValue(3);
            chooser->BitBtn1->click();
        })
        .then([&](QWidget* d) {
            auto* info = qobject_cast<TTutorStepInfo*>(d);
            refilled = info->Label2->text();
            info->BitBtn1->click();
        });
    w.main->SpeedButton10->click();
    // The step information stays open while the profile runs; its refill is the same dialog.
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 5000);
    EXPECT_EQ(title, "Tutor: \"Hearing intervals\"");
    EXPECT_EQ(rows, "3");
    EXPECT_EQ(refilled, "Comparison 3");
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    EXPECT_EQ(storedUser(school, "SAM").tutorStep[2], 3);
    EXPECT_TRUE(std::ranges::equal(w.main->Setup.current.block(3), courseSetup(3).block(3)));
    EXPECT_EQ(w.main->Label2->text(), "Step 3 of 3: \"Comparison 3\" in Hearing intervals");
    w.main->close();
}

TEST(TutorRun, F4WorksOnceTheTutorButtonDoesWithoutTheMenuOpening) {
    School school;
    school.establish();
    giveTutor(school, writeCourse(school.root.path()));
    Workstation w;
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "SAM", "s")) << script.seen.join("\n").toStdString();
    QAction* run = w.main->menuAction("Activatetutor1");
    ASSERT_NE(run, nullptr);

    // The File menu was looked at while the button was off; the button comes on later.
    w.main->SpeedButton10->setEnabled(false);
    emit w.main->menuBar()->findChild<QMenu*>("File1")->aboutToShow();
    EXPECT_FALSE(run->isEnabled());
    w.main->SpeedButton10->setEnabled(true);
    ASSERT_TRUE(run->isEnabled());
    script.then(rejectIt());  // the step information
    run->trigger();
    EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_TRUE(w.main->TutorActive);
}
