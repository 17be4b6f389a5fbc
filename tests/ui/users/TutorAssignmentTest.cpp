// A teacher gives tutors: one student through "Tutor profile..." of the user overview, a whole
// class through class maintenance, always choosing from the tutor list of the common directory.
#include "AdminSession.h"
#include "app/MainTutor.h"
#include "app/THelpWindow.h"
#include "data/SharedFile.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TTutorlist.h"
#include "tutor/TutorHeader.h"
#include "ui/AccessibleWalk.h"
#include "users/TClassMaintenance.h"
#include "users/TUserslist.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <optional>
#include <string>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// The shipped course copied into the school's common directory; its title.
QString shareShippedCourse(AdminSession& s) {
    const QString common = s.school.root.filePath("Common");
    QDir().mkpath(common);
    const auto shipped = program().paths.languageDir / "English.tut";
    EXPECT_TRUE(QFile::copy(toQString(shipped), common + "/English.tut"));
    s.store().Common.commonDirectory = (common + "/").toStdString();
    EXPECT_TRUE(s.store().SaveCommon());
    const auto header = tutor::ReadTutorHeader(shipped);
    return header ? QString::fromStdString(header->tutorName) : QString();
}

data::UserRecord storedUser(const School& school, const std::string& login) {
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    store.FindUser(0, login, true);
    return store.CurrentUser() ? store.CurrentUser()->record : data::UserRecord{};
}

// The user's record with a tutor and the same step in every exercise.
void setTutor(AdminSession& s, const std::string& login, const std::string& file, int step) {
    data::UserRecord r = storedUser(s.school, login);
    r.tutorFile = file;
    r.tutorStep.fill(step);
    ASSERT_TRUE(s.store().SaveUser(r));
}

// The tutor list: the course titled `title` is picked and confirmed.
ModalScript::Step pickCourse(const QString& title) {
    return [title](QWidget* w) {
        auto* list = qobject_cast<TTutorlist*>(w);
        ASSERT_NE(list, nullptr) << w->objectName().toStdString();
        const auto found = list->ListBox1->findItems(title, Qt::MatchExactly);
        if (found.isEmpty()) {
            ADD_FAILURE() << "the list does not offer " << title.toStdString();
            list->reject();
            return;
        }
        list->ListBox1->setCurrentItem(found.front());
        list->BitBtn1->click();
    };
}

bool steps(const data::UserRecord& r, int step) {
    return std::ranges::all_of(r.tutorStep, [step](int s) { return s == step; });
}

}  // namespace

TEST(TutorAssignment, TutorProfileGivesAStudentACourseFromItsFirstSteps) {
    AdminSession s;
    const QString title = shareShippedCourse(s);
    setTutor(s, "SAM", "Old.tut", 3);
    s.ws->main->Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = s.ws->main->userslist();
    QTableWidget* grid = list->DrawGrid1;
    grid->setCurrentCell(rowOf(grid, "Test, SAM"), 1);

    // The command is in the "Users" menu and in the grid's pop-up menu, for the selected user.
    auto* usersMenu = list->findChild<QToolButton*>("UsersMenu")->menu();
    EXPECT_TRUE(usersMenu->actions().contains(list->TutorProfile1));
    EXPECT_TRUE(grid->actions().contains(list->TutorProfile1));
    ASSERT_TRUE(list->TutorProfile1->isEnabled());

    // Load tutor... from the list, then OK.
    QString caption, shownTitle;
    int firstStep = 0;
    s.script.then([&](QWidget* w) {
        auto* chooser = qobject_cast<TChooseTutor*>(w);
        ASSERT_NE(chooser, nullptr) << w->objectName().toStdString();
        caption = chooser->windowTitle();
        chooser->Button1->click();
        shownTitle = chooser->Label8->text();
        firstStep = chooser->TrackBars[3]->value();
        chooser->BitBtn1->click();
    });
    s.script.then(pickCourse(title));
    list->TutorProfile1->trigger();
    ASSERT_TRUE(s.script.done()) << s.script.seen.join("\n").toStdString();
    // The chooser may have been seen once more as the list closed; that turn ends here.
    QTest::qWait(50);
    EXPECT_EQ(caption, "Tutor profile for SAM Test");
    EXPECT_TRUE(shownTitle.contains(title)) << shownTitle.toStdString();
    EXPECT_EQ(firstStep, 1) << "a new course starts at its first step";
    const data::UserRecord sam = storedUser(s.school, "SAM");
    EXPECT_EQ(sam.tutorFile, "English.tut") << "a tutor of the common directory is kept by its name";
    EXPECT_TRUE(steps(sam, 1));

    // The overview shows the tutor at once; clicking it in the details opens the chooser again,
    // and cancelling there changes nothing.
    list->TutorButton->click();
    EXPECT_EQ(cell(grid, rowOf(grid, "Test, SAM"), "Tutor"), title);
    list->PlusButton->click();
    ASSERT_TRUE(list->Panel2->text().contains("href=\"tutor\"")) << list->Panel2->text().toStdString();
    EXPECT_TRUE(list->Panel2->text().contains(title.toHtmlEscaped()));
    EXPECT_EQ(unnamedControls(list), "");
    s.script.then([](QWidget* w) {
        auto* chooser = qobject_cast<TChooseTutor*>(w);
        ASSERT_NE(chooser, nullptr) << w->objectName().toStdString();
        chooser->TrackBars[3]->setValue(2);
        chooser->BitBtn2->click();
    });
    emit list->Panel2->linkActivated("tutor");
    ASSERT_TRUE(s.script.done()) << s.script.seen.join("\n").toStdString();
    const data::UserRecord again = storedUser(s.school, "SAM");
    EXPECT_EQ(again.tutorFile, "English.tut");
    EXPECT_TRUE(steps(again, 1));
}

TEST(TutorAssignment, AChoiceThatCannotBeSavedIsNotShownAsTheUsers) {
    AdminSession s;
    const QString title = shareShippedCourse(s);
    s.ws->main->Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = s.ws->main->userslist();
    list->DrawGrid1->setCurrentCell(rowOf(list->DrawGrid1, "Test, SAM"), 1);
    std::optional<data::LockedFile> held;
    s.script
        .then([&](QWidget* w) {
            auto* chooser = qobject_cast<TChooseTutor*>(w);
            ASSERT_NE(chooser, nullptr) << w->objectName().toStdString();
            chooser->Button1->click();
            // Another workstation holds User.dat when OK is pressed, and the user gives up.
            held = data::LockedFile::open(toPath(s.school.file("User.dat")), "held", "", {});
            ASSERT_TRUE(held);
            chooser->BitBtn1->click();
        })
        .then(pickCourse(title))
        .then(press(QMessageBox::Ok));
    list->TutorProfile1->trigger();
    QTest::qWait(50);
    held.reset();
    EXPECT_TRUE(s.script.done()) << s.script.seen.join("\n").toStdString();
    EXPECT_NE(s.user("SAM")->record.tutorFile, "English.tut");
    EXPECT_NE(storedUser(s.school, "SAM").tutorFile, "English.tut");
}

TEST(TutorAssignment, AClassTutorIsChosenFromTheListAndReachesEveryMember) {
    AdminSession s;
    const QString title = shareShippedCourse(s);
    School::add(s.store(), "KIM", "k", data::kStudent);
    data::ClassRecord c;
    c.classId = s.store().NextId(data::IdKind::Class);
    c.className = "4B";
    c.tutorFile = "\\";
    ASSERT_TRUE(s.store().SaveClass(c));
    // Sam works on another course at step 3; Kim is on the shipped course at step 4 already.
    for (const char* login : {"SAM", "KIM"}) {
        data::UserRecord r = storedUser(s.school, login);
        r.classId = c.classId;
        ASSERT_TRUE(s.store().SaveUser(r));
    }
    setTutor(s, "SAM", "Old.tut", 3);
    setTutor(s, "KIM", "English.tut", 4);

    TClassMaintenance dialog(s.store(), *s.ws->main->tutor().list, s.ws->main.get());
    dialog.show();
    QComboBox* tutors = dialog.ComboBox2;
    ASSERT_EQ(tutors->count(), 2);
    EXPECT_EQ(tutors->itemText(0), "Change...");
    EXPECT_EQ(tutors->itemText(1), "none");
    EXPECT_EQ(tutors->currentIndex(), 1);
    const auto choose = [tutors](int entry) {
        tutors->setCurrentIndex(entry);
        emit tutors->activated(entry);
    };

    // Cancelling the list leaves the class and its members as they were.
    s.script.then(rejectIt());
    choose(0);
    ASSERT_TRUE(s.script.done());
    EXPECT_EQ(tutors->count(), 2);
    EXPECT_EQ(tutors->currentIndex(), 1);
    EXPECT_EQ(storedUser(s.school, "SAM").tutorFile, "Old.tut");
    EXPECT_EQ(dialog.classes()[0].tutorFile, "\\");

    // A course from the list: every member has it, from step 1 unless he was on it already.
    s.script.then(pickCourse(title));
    choose(0);
    ASSERT_TRUE(s.script.done()) << s.script.seen.join("\n").toStdString();
    ASSERT_EQ(tutors->count(), 3);
    EXPECT_EQ(tutors->currentIndex(), 2);
    EXPECT_EQ(tutors->currentText(), title);
    EXPECT_EQ(unnamedControls(&dialog), "");
    EXPECT_EQ(dialog.classes()[0].tutorFile, "English.tut");
    EXPECT_EQ(storedUser(s.school, "SAM").tutorFile, "English.tut");
    EXPECT_TRUE(steps(storedUser(s.school, "SAM"), 1));
    EXPECT_TRUE(steps(storedUser(s.school, "KIM"), 4));
    EXPECT_NE(storedUser(s.school, "TOM").tutorFile, "English.tut") << "not a member";
    EXPECT_EQ(s.user("SAM")->record.tutorFile, "English.tut") << "the program's users are read again";

    // "none" takes it from all of them; the class keeps that when the dialog closes.
    choose(1);
    EXPECT_EQ(tutors->count(), 2);
    for (const char* login : {"SAM", "KIM"}) EXPECT_EQ(storedUser(s.school, login).tutorFile, "\\") << login;
    dialog.accept();
    data::DataStore check(toPath(s.school.data + "/"));
    check.LoadClasses();
    ASSERT_EQ(check.ClassList().size(), 1u);
    EXPECT_EQ(check.ClassList()[0]->record.tutorFile, "\\");

    dialog.HelpButton->click();
    EXPECT_EQ(s.ws->main->helpWindow()->currentTopic(), 295);
}
