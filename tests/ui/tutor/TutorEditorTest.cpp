// The tutor editor beside the setup view: a course made step by step, reordered, named and
// saved, read back byte for byte as the core writes it; the question when it closes unsaved.
#include "TutorCourse.h"
#include "app/MainTutor.h"
#include "setup/MainSetupHost.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TEditTutorLevel.h"
#include "tutor/TEndTutorStep.h"
#include "tutor/TTutorDefine.h"
#include "tutor/TTutorStepInfo.h"
#include "tutor/TTutorheader.h"
#include "tutor/TTutorlist.h"
#include "ui/AccessibleWalk.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// The step dialog filled in and confirmed.
ModalScript::Step newStep(const QString& name, const QString& hint, int questions) {
    return [=](QWidget* w) {
        auto* d = qobject_cast<TEditTutorLevel*>(w);
        ASSERT_NE(d, nullptr) << w->objectName().toStdString();
        d->Edit1->setText(name);
        d->Memo1->setPlainText(hint);
        d->SpinEdit1->setValue(questions);
        d->BitBtn1->click();
    };
}

QStringList stepNames(const QListWidget* box) {
    QStringList names;
    for (int i = 0; i < box->count(); ++i) names << box->item(i)->text();
    return names;
}

}  // namespace

TEST(TutorEditor, ATeacherMakesReordersAndSavesACourse) {
    School school;
    school.establish();
    Workstation w;
    RegisterPitchSetupViews(*w.main);
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "ADA", "a")) << script.seen.join("\n").toStdString();
    w.main->Speed1Click(3);
    const setup::SetupRecord before = w.main->Setup.current;

    // The tutor-setup button opens the editor beside the setup view of the exercise.
    w.main->SpeedButton9->click();
    ASSERT_TRUE(w.main->TutorEditorActive);
    EXPECT_EQ(w.main->CurrentView, app::kViewSetup);
    TTutorDefine& editor = *w.main->tutor().editor;
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(w.main->SpeedButton1->isEnabled()) << "the exercise view waits until the editor closes";
    QListWidget* box = editor.list(3);

    // A step with the name empty is refused; three steps are made.
    script.then([](QWidget* d) {
        auto* level = qobject_cast<TEditTutorLevel*>(d);
        level->BitBtn1->click();  // no name: the dialog stays
        EXPECT_TRUE(level->isVisible());
        EXPECT_TRUE(level->Edit1->hasFocus() || level->PageControl1->currentIndex() == 1);
        level->Edit1->setText("Thirds");
        level->BitBtn1->click();
    });
    editor.NewStep();
    script.then(newStep("Fifths", "Listen for the open sound.", 12));
    editor.NewStep();
    script.then(newStep("Octaves", "", 8));
    editor.NewStep();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_EQ(stepNames(box), QStringList({"Thirds", "Fifths", "Octaves"}));
    EXPECT_EQ(box->currentRow(), 2);

    // The open step moves up and keeps the setup the teacher then changes in the setup view.
    editor.SpeedButton5->click();
    EXPECT_EQ(stepNames(box), QStringList({"Thirds", "Octaves", "Fifths"}));
    EXPECT_EQ(w.main->tutor().model.editorStep[2], 1);
    auto block = w.main->Setup.current.block(3);
    block[0] = block[0] ? 0 : 1;
    const std::uint8_t changed = block[0];
    w.main->setupView(3)->LoadSetup(3, w.main->Setup.current);
    script.then(press(QMessageBox::Yes));  // keep the change in step 2?
    box->setCurrentRow(0);
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_EQ(w.main->tutor().model.StepOf(3, 2)->record.stepSetup[0], changed);
    EXPECT_EQ(w.main->tutor().model.StepOf(3, 2)->record.stepName, "Octaves");

    // Saving asks for a title first, then writes the file the teacher chose.
    const QString file = school.root.filePath("Course.tut");
    QString offered;
    editor.chooseSaveFile = [&](const QString& start) {
        offered = start;
        return file;
    };
    script.then(press(QMessageBox::Ok)).then([](QWidget* d) {
        auto* header = qobject_cast<TTutorheader*>(d);
        header->Edit1->setText("Sing: basics");
        header->Edit3->setText("Ada Lind");
        header->BitBtn1->click();
    });
    ASSERT_TRUE(editor.SaveTutor());
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_TRUE(offered.endsWith("Singbasi.tut")) << offered.toStdString();
    EXPECT_EQ(editor.Label1->text(), "Sing: basics by Ada Lind");
    EXPECT_FALSE(w.main->tutor().model.modified);

    // Read back, the course is what was made, and the core writes it again byte for byte.
    theory::ChordCatalogue working = w.main->Catalogue.catalogue;
    tutor::CatalogueBackup backup;
    tutor::TutorModel again(working, backup);
    ASSERT_TRUE(again.LoadTutor(file.toStdString(), {}));
    ASSERT_EQ(again.StepCount(3), 3);
    EXPECT_EQ(again.StepOf(3, 1)->record.stepName, "Thirds");
    EXPECT_EQ(again.StepOf(3, 2)->record.stepName, "Octaves");
    EXPECT_EQ(again.StepOf(3, 3)->fullHint(), "Listen for the open sound.");
    EXPECT_EQ(again.StepOf(3, 3)->record.stepQuestions, 12);
    const QString copy = school.root.filePath("Copy.tut");
    ASSERT_TRUE(again.SaveTutorFile(copy.toStdString()));
    QFile a(file), b(copy);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());

    // Closing with an unsaved change asks; Cancel keeps the editor, No closes it unsaved.
    script.then(press(QMessageBox::Yes));  // delete this step?
    editor.DeleteStep();
    EXPECT_EQ(stepNames(box), QStringList({"Octaves", "Fifths"}));
    script.then(press(QMessageBox::Cancel));
    w.main->SpeedButton9->click();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_TRUE(w.main->TutorEditorActive);
    EXPECT_TRUE(w.main->SpeedButton9->isChecked());
    EXPECT_TRUE(editor.isVisible());
    script.then(press(QMessageBox::No));
    w.main->SpeedButton9->click();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    EXPECT_FALSE(w.main->TutorEditorActive);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_FALSE(setup::SetupDiffers(w.main->Setup.current, before)) << "the setup before the editor is back";
    EXPECT_TRUE(w.main->SpeedButton1->isEnabled());
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    w.main->close();
}

TEST(TutorEditor, EveryControlOfTheTutorWindowsHasAName) {
    School school;
    Workstation w;
    MainTutor& t = w.main->tutor();
    t.model.addStep(3, tutor::TTutorObject{});
    t.editor->StartEditor(3);
    t.editor->stepDialog()->ForNewStep(true);
    t.end->Fill(tutor::JudgeStep(60, 2, 3, 90, 55));
    t.info->Fill("Interval comparison", 1, "Course", "Step", "Hint", true, true);
    t.chooser->setWindowTitle("Chooser");
    for (QWidget* window : std::initializer_list<QWidget*>{
             t.editor, t.editor->stepDialog(), t.editor->headerDialog(), t.list, t.chooser, t.info, t.end}) {
        window->show();
        EXPECT_EQ(unnamedControls(window), "") << window->objectName().toStdString();
        window->hide();
    }
}

TEST(TutorEditor, ATutorsOwnMaterialNeverReachesTheChordFile) {
    School school;
    school.establish();
    // A tutor whose chord step uses a chord type of its own (entry 28, the first user entry).
    const std::string file = school.root.filePath("Own.tut").toStdString();
    {
        theory::ChordCatalogue material = theory::BuiltInCatalogue();
        theory::CatalogueEntry& own = material.table(theory::TableKind::ChordTypes).entry(28);
        own = material.table(theory::TableKind::ChordTypes).entry(1);
        own.name = "Tutor chord";
        tutor::CatalogueBackup backup;
        tutor::TutorModel model(material, backup);
        model.header.tutorName = "Own chords";
        tutor::TTutorObject step;
        step.record.stepName = "Own chord";
        step.record.stepSetup[27] = 1;
        model.addStep(1, step);
        ASSERT_TRUE(model.SaveTutorFile(file));
    }
    Workstation w;
    RegisterPitchSetupViews(*w.main);
    ModalScript script;
    ASSERT_TRUE(showLoggedIn(w, script, "ADA", "a")) << script.seen.join("\n").toStdString();
    w.main->Speed1Click(3);
    const std::string before =
        w.main->Catalogue.catalogue.table(theory::TableKind::ChordTypes).entry(28).name;
    ASSERT_TRUE(w.main->tutor().model.LoadTutor(file, {}));
    w.main->SpeedButton9->click();
    ASSERT_TRUE(w.main->TutorEditorActive);
    EXPECT_EQ(w.main->Catalogue.catalogue.table(theory::TableKind::ChordTypes).entry(28).name, "Tutor chord");

    // An edit of the material while the tutor's is in force is the tutor's, not Chord.dat's.
    w.main->CatalogueEdited();
    EXPECT_FALSE(QFile::exists(school.file("Chord.dat")));

    // Leaving the editor brings the user's own material back.
    w.main->SpeedButton9->click();
    EXPECT_FALSE(w.main->TutorEditorActive);
    EXPECT_EQ(w.main->Catalogue.catalogue.table(theory::TableKind::ChordTypes).entry(28).name, before);
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    w.main->close();
}
