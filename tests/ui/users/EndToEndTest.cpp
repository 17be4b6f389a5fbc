// A school from its first start: the first administrator, a student added, the student practising,
// his results saved at the close and found by kalvintor-admin, his settings back at the next start.
#include "StartupFixture.h"
#include "app/MainStartup.h"
#include "app/TMenuDialog.h"
#include "data/DataStore.h"
#include "users/TUserslist.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QProcess>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

QString admin(const School& school, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(QStringLiteral(KALVINTOR_ADMIN_PROGRAM), QStringList(args) << "--data" << school.data);
    p.waitForFinished(60000);
    if (exitCode) *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(EndToEnd, AStudentsResultsAndSettingsAreKept) {
    School school;
    {
        Workstation first;
        ModalScript script;
        script
            .then(press(QMessageBox::No))                   // choose another data folder?
            .then(rejectIt())                               // the folder dialog: keep this one
            .then(press(QMessageBox::No))                   // log in by the system user name?
            .then(press(QMessageBox::Ok))                   // there is no administrator yet
            .then(addUser("Ada", "Lind", "ADA", "secret"))  // the first administrator
            .then(logIn("ADA", "secret"))
            .then(rejectIt());  // the setup chooser
        first.main->show();
        EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
        ASSERT_FALSE(first.main->Guest);
        EXPECT_EQ(first.main->Access.bevelWidth, 118);
        ASSERT_NE(first.main->userslist(), nullptr);

        // The directory is one kalvintor-admin knows from the first start on.
        int code = -1;
        const QString users = admin(school, {"users", "--csv"}, &code);
        EXPECT_EQ(code, 0) << users.toStdString();
        EXPECT_TRUE(users.contains("ADA")) << users.toStdString();

        // The administrator adds a student in the user overview, then the student logs in.
        // He may keep settings of his own (a new student has none of the four permissions).
        script.then([](QWidget* w) {
            w->findChild<QCheckBox*>("CheckBox4")->setChecked(true);
            addUser("Sam", "Berg", "SAM", "pw")(w);
        });
        first.main->userslist()->New1->trigger();
        script.then(logIn("SAM", "pw")).then(rejectIt());
        first.main->ChangeUser();
        EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        ASSERT_FALSE(first.main->Guest);
        EXPECT_EQ(first.main->Access.bevelWidth, 89);
        EXPECT_TRUE(first.main->SpeedButton11->isHidden()) << "no user overview for students";

        // Five answers, a tempo of his own and the tempo panel at the bottom.
        first.answer(5);
        ASSERT_EQ(first.exercise->QuestionCount, 5);
        first.main->TrackBar1->setValue(123);
        first.main->addToolBar(Qt::BottomToolBarArea, first.main->ToolWindow(kPanelTempo));

        script.then(press(QMessageBox::Yes));  // save the results of this session?
        EXPECT_TRUE(first.main->close());
        EXPECT_TRUE(script.done());
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
    }

    // The student's result file holds the session.
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    ASSERT_TRUE(store.FindUser(0, "SAM", true));
    const std::int16_t sam = store.CurrentUser()->record.userId;
    store.LoadResults(sam);
    ASSERT_EQ(store.ResultList().size(), 1u);
    EXPECT_EQ(store.ResultList()[0]->record.questions, 5);
    EXPECT_EQ(store.ResultList()[0]->record.correct, 5);
    EXPECT_EQ(store.ResultList()[0]->record.exercise, 3);

    int code = -1;
    const QString csv = admin(school, {"results", "--user", "SAM", "--csv"}, &code);
    EXPECT_EQ(code, 0) << csv.toStdString();
    EXPECT_EQ(csv.trimmed().split('\n').size(), 2) << csv.toStdString();  // heading and one session
    EXPECT_TRUE(csv.contains(",5,5") || csv.contains("5,5")) << csv.toStdString();

    // The next start: Sam logs in and finds his tempo and his tool layout.
    {
        Workstation again;
        ModalScript script;
        script.then(logIn("SAM", "pw"));  // his setup of the last session loads without asking
        again.main->show();
        EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
        EXPECT_EQ(again.main->menuDialog()->WelcomeLines.front(), "Sam Berg") << "the start menu greets him";
        EXPECT_EQ(again.main->Settings.pitchTempo, 123);
        again.main->Speed1Click(3);
        EXPECT_EQ(again.main->TrackBar1->value(), 123);
        EXPECT_EQ(again.main->toolBarArea(again.main->ToolWindow(kPanelTempo)), Qt::BottomToolBarArea);
        script.then(press(QMessageBox::No));
        again.main->close();
    }
}
