// The user overview, the add/edit dialog, class maintenance and the system settings, reached as a
// logged-in administrator reaches them.
#include "AdminSession.h"
#include "app/MainStartup.h"
#include "app/MainTutor.h"
#include "data/DataStore.h"
#include "records/DateTime.h"
#include "users/MainStartupAccess.h"
#include "users/TAddUserForm.h"
#include "users/TClassMaintenance.h"
#include "users/TProgressForm.h"
#include "users/TStudentsinClass.h"
#include "users/TSystemadmin.h"
#include "users/TUserslist.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

TEST(UserWindows, TheOverviewShowsEveryUsersLatestAndPeriodResults) {
    AdminSession s;
    const std::int16_t sam = s.user("SAM")->record.userId;
    s.result(sam, records::nowLocal() - 0.5, 7, 10);
    s.result(sam, records::nowLocal() - 0.1, 9, 10);

    s.ws->main->Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = s.ws->main->userslist();
    ASSERT_EQ(s.ws->main->views()->currentWidget(), list);
    QTableWidget* grid = list->DrawGrid1;
    ASSERT_EQ(grid->rowCount(), 3);
    const int row = rowOf(grid, "Test, SAM");
    ASSERT_GE(row, 0);
    EXPECT_EQ(cell(grid, row, "Last result"), "9/10 = 90%");
    EXPECT_EQ(cell(grid, row, "Week result sum"), "16/20 = 80%");
    EXPECT_EQ(cell(grid, row, "Last level"), "Intervals");
    EXPECT_EQ(cell(grid, rowOf(grid, "Test, TOM"), "Last result"), "");

    // Columns follow their buttons, and their widths come back through the settings.
    list->TutorButton->click();
    list->LastResult->click();
    EXPECT_EQ(cell(grid, row, "Last result"), "<no column Last result>");
    EXPECT_EQ(cell(grid, row, "Tutor"), "");
    grid->setColumnWidth(1, 222);
    settings::Settings kept;
    list->StoreColumns(kept);
    list->RestoreColumns(settings::defaultSettings());  // never held a layout: unchanged
    list->LastResult->click();
    list->RestoreColumns(kept);
    EXPECT_FALSE(list->LastResult->isChecked());
    EXPECT_TRUE(list->TutorButton->isChecked());
    EXPECT_EQ(grid->columnWidth(1), 222);

    // The details panel of the selected user.
    grid->setCurrentCell(row, 1);
    list->PlusButton->click();
    EXPECT_FALSE(list->Panel2->isHidden());
    EXPECT_TRUE(list->Panel2->text().contains("SAM Test")) << list->Panel2->text().toStdString();
    EXPECT_TRUE(list->Panel2->text().contains("Student"));
}

TEST(UserWindows, DeletingAsksFirstAndNobodyDeletesHimself) {
    AdminSession s;
    s.ws->main->Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = s.ws->main->userslist();
    QTableWidget* grid = list->DrawGrid1;

    grid->setCurrentCell(rowOf(grid, "Test, ADA"), 1);
    s.script.then(press(QMessageBox::Ok));
    list->Delete1->trigger();
    EXPECT_TRUE(s.script.seen.last().contains("cannot delete yourself"))
        << s.script.seen.last().toStdString();
    EXPECT_EQ(grid->rowCount(), 3);

    grid->setCurrentCell(rowOf(grid, "Test, SAM"), 1);
    s.script.then(press(QMessageBox::No));
    list->Delete1->trigger();
    EXPECT_EQ(grid->rowCount(), 3);
    s.script.then(press(QMessageBox::Yes));
    list->Delete1->trigger();
    EXPECT_TRUE(s.script.seen.last().contains("(SAM Test)")) << s.script.seen.last().toStdString();
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_FALSE(s.store().FindUser(0, "SAM", false));
}

TEST(UserWindows, TheOverviewsCommandsActOnlyOnAUserItShows) {
    AdminSession s;
    s.ws->main->Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = s.ws->main->userslist();
    list->DrawGrid1->setCurrentCell(rowOf(list->DrawGrid1, "Test, SAM"), 1);
    list->PlusButton->click();

    // A class nobody is in: the grid is empty and no command reaches the user selected before.
    list->setClassFilter(9);
    EXPECT_EQ(list->DrawGrid1->rowCount(), 0);
    for (QAction* a : {list->Delete1, list->Properties1, list->SetupFile1, list->TutorProfile1})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(list->Panel2->isHidden());
    EXPECT_TRUE(list->New1->isEnabled());

    // Back to every user: the commands return for the selected row.
    list->setClassFilter(-1);
    EXPECT_TRUE(list->Delete1->isEnabled());
    EXPECT_TRUE(list->TutorProfile1->isEnabled());
    EXPECT_FALSE(list->Panel2->isHidden());
}

TEST(UserWindows, TheAddUserDialogChecksNamesPasswordsAndLevels) {
    AdminSession s;
    TAddUserForm& form = addUserForm(*s.ws->main);

    // A name another user has, in any case, is refused; different passwords are typed again.
    s.script.then(addUser("Sue", "Holm", "sam", "x"))
        .then(press(QMessageBox::Ok))
        .then([](QWidget* w) {
            auto* dialog = static_cast<TAddUserForm*>(w);
            dialog->Edit2->setText("SUE");
            dialog->Edit3->setText("one");
            dialog->Edit1->setText("two");
            dialog->BitBtn1->click();
        })
        .then([](QWidget* w) {
            EXPECT_TRUE(static_cast<QMessageBox*>(w)->text().contains("not the same"));
            static_cast<QMessageBox*>(w)->accept();
        })
        .then([](QWidget* w) {
            auto* dialog = static_cast<TAddUserForm*>(w);
            EXPECT_TRUE(dialog->Edit3->text().isEmpty());
            EXPECT_FALSE(dialog->CheckBox2->isChecked()) << "a new student starts without permissions";
            EXPECT_TRUE(dialog->CheckBox2->isEnabled());
            dialog->ComboBox1->setCurrentIndex(dialog->ComboBox1->findText("Teacher"));
            emit dialog->ComboBox1->activated(dialog->ComboBox1->currentIndex());
            EXPECT_TRUE(dialog->CheckBox2->isChecked()) << "teachers have every permission";
            EXPECT_FALSE(dialog->CheckBox2->isEnabled());
            dialog->Edit3->setText("pw");
            dialog->Edit1->setText("pw");
            dialog->BitBtn1->click();
        });
    ASSERT_TRUE(form.AddUser(-1));
    EXPECT_TRUE(s.script.done());
    ASSERT_NE(s.user("SUE"), nullptr);
    EXPECT_EQ(s.user("SUE")->record.accessLevel, data::kTeacher);
    EXPECT_TRUE(s.store().CheckLogin("SUE", "pw"));
    s.store().FindUser(s.user("ADA")->record.userId, {}, true);  // Ada stays the logged-in user

    // An administrator offers all three levels; editing his own record he cannot change his level.
    form.FillLevelList();
    EXPECT_EQ(form.ComboBox1->count(), 3);
    s.store().setSelectedUser(s.store().CurrentUser());
    s.script.then([](QWidget* w) {
        auto* dialog = static_cast<TAddUserForm*>(w);
        EXPECT_FALSE(dialog->ComboBox1->isEnabled());
        EXPECT_EQ(dialog->Edit2->text(), "ADA");
        dialog->BitBtn1->click();  // keeping his own name is allowed
    });
    EXPECT_TRUE(form.EditUser());

    // A teacher sees Student and Teacher only.
    s.store().FindUser(s.user("TOM")->record.userId, {}, true);
    form.FillLevelList();
    EXPECT_EQ(form.ComboBox1->count(), 2);
    EXPECT_EQ(form.ComboBox1->findText("Administrator"), -1);
}

TEST(UserWindows, ClassesAreMadeFilledAndDeleted) {
    AdminSession s;
    TClassMaintenance dialog(s.store(), *s.ws->main->tutor().list, s.ws->main.get());
    dialog.show();
    EXPECT_FALSE(dialog.Edit1->isEnabled()) << "no class yet";
    EXPECT_EQ(dialog.ComboBox1->count(), 2) << "the teachers and administrators";

    dialog.NewClassClick();
    ASSERT_EQ(dialog.classes().size(), 1u);
    EXPECT_EQ(dialog.classes()[0].className, "New Class");
    EXPECT_EQ(dialog.classes()[0].teacherId, 0);
    EXPECT_EQ(dialog.classes()[0].tutorFile, "\\");
    EXPECT_EQ(QFileInfo(s.school.file("Class.dat")).size(), 0) << "written when the dialog closes";
    dialog.Edit1->setText("4B");
    emit dialog.Edit1->textEdited("4B");
    dialog.ComboBox1->setCurrentIndex(dialog.ComboBox1->findText("TOM Test"));
    ASSERT_GE(dialog.ComboBox1->currentIndex(), 0) << "Tom is offered as the teacher";
    emit dialog.ComboBox1->activated(dialog.ComboBox1->currentIndex());
    const std::int16_t tom = s.user("TOM")->record.userId;
    EXPECT_EQ(dialog.classes()[0].teacherId, tom);

    // Sam joins the class; teachers are never offered as students.
    s.script.then([](QWidget* w) {
        auto* content = static_cast<TStudentsinClass*>(w);
        ASSERT_EQ(content->ListBox1->count(), 1);
        EXPECT_EQ(content->ListBox1->item(0)->text(), "Test, SAM");
        EXPECT_TRUE(content->Label2->text().contains("4B"));
        content->ListBox1->setCurrentRow(0);
        content->AddButton->click();
        EXPECT_EQ(content->ListBox1->count(), 0);
        EXPECT_EQ(content->ListBox2->count(), 1);
        content->accept();
    });
    dialog.AddRemoveClick();
    EXPECT_EQ(dialog.ListBox2->count(), 1);
    dialog.accept();

    data::DataStore check(toPath(s.school.data + "/"));
    check.LoadClasses();
    ASSERT_EQ(check.ClassList().size(), 1u);
    EXPECT_EQ(check.ClassList()[0]->record.className, "4B");
    EXPECT_EQ(check.ClassList()[0]->record.teacherId, tom);
    ASSERT_TRUE(check.FindUser(0, "SAM", true));
    EXPECT_EQ(check.CurrentUser()->record.classId, check.ClassList()[0]->record.classId);

    // Deleting the last class leaves an empty, disabled editor and Sam in no class.
    TClassMaintenance again(s.store(), *s.ws->main->tutor().list, s.ws->main.get());
    again.show();
    ASSERT_EQ(again.ListBox1->count(), 1);
    s.script.then(press(QMessageBox::Yes));
    again.DeleteClassClick();
    EXPECT_EQ(again.ListBox1->count(), 0);
    EXPECT_FALSE(again.Edit1->isEnabled());
    ASSERT_TRUE(check.FindUser(0, "SAM", true));
    EXPECT_EQ(check.CurrentUser()->record.classId, 0);
}

TEST(UserWindows, TheSystemSettingsPurgeEveryUsersOldResultsWithProgress) {
    AdminSession s;
    const auto old = records::nowLocal() - 100;
    for (const char* login : {"SAM", "TOM"}) {
        s.result(s.user(login)->record.userId, old, 1, 5);
        s.result(s.user(login)->record.userId, records::nowLocal() - 1, 2, 5);
    }
    TProgressForm progress;
    TSystemadmin dialog(s.store(), progress);
    dialog.show();
    EXPECT_EQ(dialog.DateTimePicker1->date(), QDate::currentDate().addDays(-30));
    EXPECT_EQ(dialog.Edit3->text(), s.school.data + "/");
    dialog.DeleteResults();
    EXPECT_EQ(progress.ProgressBar1->value(), progress.ProgressBar1->maximum());
    EXPECT_EQ(progress.ProgressBar1->maximum(), 3);
    EXPECT_TRUE(progress.isHidden());
    for (const char* login : {"SAM", "TOM"}) {
        s.store().LoadResults(s.user(login)->record.userId);
        EXPECT_EQ(s.store().ResultList().size(), 1u) << login;
    }

    // A common directory that does not exist keeps the dialog open; options reach Common.dat.
    dialog.Edit1->setText(s.school.root.filePath("nowhere"));
    s.script.then(press(QMessageBox::Ok));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.Edit1->setText(s.school.root.path());
    dialog.CheckBox3->setChecked(false);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    data::DataStore check(toPath(s.school.data + "/"));
    check.LoadCommon();
    EXPECT_FALSE(check.Common.allowGuestLogin);
    EXPECT_EQ(check.Common.commonDirectory, s.school.root.path().toStdString() + "/");
}
