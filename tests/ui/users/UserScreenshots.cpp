// Pictures of the teacher's user windows: the user overview with a student's details and class
// maintenance with a class, its teacher, its students and its tutor. Taken from the screen, each
// cropped to its window, when KALVINTOR_SCREENSHOT_DIR names a folder (run under Xvfb on the xcb
// platform); skipped otherwise.
#include "AdminSession.h"
#include "app/MainTutor.h"
#include "tutor/TTutorlist.h"
#include "ui/ScreenCapture.h"
#include "users/TClassMaintenance.h"
#include "users/TUserslist.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// A school of a teacher and four students, three of them in class 4B with the shipped course.
struct SchoolWithClass {
    AdminSession s;
    data::ClassRecord c;

    SchoolWithClass() {
        data::DataStore& store = s.store();
        const QString common = s.school.root.filePath("Common");
        QDir().mkpath(common);
        QFile::copy(toQString(program().paths.languageDir / "English.tut"), common + "/English.tut");
        store.Common.commonDirectory = (common + "/").toStdString();
        store.SaveCommon();
        const auto add = [&store](const char* login, const char* first, const char* last, int level,
                                  const data::ClassRecord* member) {
            data::UserRecord r;
            r.userId = store.NextId(data::IdKind::User);
            r.loginName = login;
            r.fullName = data::joinFullName(first, last);
            r.accessLevel = level;
            if (member) {
                r.classId = member->classId;
                r.tutorFile = member->tutorFile;
            }
            store.SaveUser(r);
            return r.userId;
        };
        c.classId = store.NextId(data::IdKind::Class);
        c.className = "4B";
        c.teacherId = add("MIA", "Mia", "Holm", data::kTeacher, nullptr);
        c.tutorFile = "English.tut";
        store.SaveClass(c);
        const std::int16_t kim = add("KIM", "Kim", "Dahl", data::kStudent, &c);
        const std::int16_t lea = add("LEA", "Lea", "Moe", data::kStudent, &c);
        add("OLE", "Ole", "Berg", data::kStudent, &c);
        add("IDA", "Ida", "Lund", data::kStudent, nullptr);
        // The session's own users under everyday names.
        store.LoadUsers();
        for (const auto& [login, first, last] :
             {std::tuple{"ADA", "Ada", "Lind"}, {"SAM", "Sam", "Vik"}, {"TOM", "Tom", "Ek"}}) {
            if (data::TUserInfo* u = s.user(login)) {
                data::UserRecord r = u->record;
                r.fullName = data::joinFullName(first, last);
                store.SaveUser(r);
            }
        }
        s.result(kim, records::nowLocal() - 0.2, 17, 20);
        s.result(kim, records::nowLocal() - 1.1, 12, 20);
        s.result(lea, records::nowLocal() - 0.4, 9, 20);
        store.LoadClasses();
        store.LoadUsers();
    }
};

}  // namespace

TEST(UserScreens, ClassMaintenanceAndTheUserOverview) {
    if (screenshotDir().isEmpty()) GTEST_SKIP() << "KALVINTOR_SCREENSHOT_DIR is not set";
    SchoolWithClass school;
    AdminSession& s = school.s;
    ASSERT_TRUE(s.script.done());

    TClassMaintenance dialog(s.store(), *s.ws->main->tutor().list, s.ws->main.get());
    dialog.show();
    dialog.move(60, 60);
    captureScreen("startup-class-maintenance.png", dialog.frameGeometry());
    dialog.accept();

    TKalvintorMain& main = *s.ws->main;
    main.showNormal();
    main.setGeometry(40, 40, 980, 620);
    main.Speed1Click(app::kViewUserOverview * 256 + 3);
    TUserslist* list = main.userslist();
    list->WeekResult->click();
    list->ClassButton->click();
    list->TutorButton->click();
    list->DrawGrid1->setCurrentCell(rowOf(list->DrawGrid1, "Dahl, Kim"), 1);
    list->PlusButton->click();
    captureScreen("startup-user-overview.png", main.frameGeometry());
    s.script.then(press(QMessageBox::No));
    main.close();
}
