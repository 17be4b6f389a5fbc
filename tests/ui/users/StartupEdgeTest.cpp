// The start-up dialogue's edge cases: the setup on the command line, the close query, wrong
// passwords, forbidden guests and damaged shared files.
#include "StartupFixture.h"
#include "app/MainStartup.h"
#include "data/DataStore.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QProcess>
#include <QSlider>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

QByteArray digest(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString setupFile(const School& school, const QString& name) {
    const QString target = school.root.filePath(name);
    QFile::copy(QStringLiteral(KALVINTOR_SOURCE "/fuzz/corpus/fuzz_setup_file/current.lvs"), target);
    return target;
}

}  // namespace

TEST(StartupEdge, AFreshInstallationMakesItsDataFolderBeforeWritingToIt) {
    // A program directory of its own, laid out like the build's but with no Data folder yet; the
    // machine settings name a data folder that does not exist, so the program's own is used.
    QTemporaryDir installation;
    const QDir built(qEnvironmentVariable("KALVINTOR_PROGRAM_DIR"));
    for (const QString& entry : built.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        if (entry != "Data") QFile::link(built.filePath(entry), installation.filePath(entry));
    const QByteArray builtDir = qgetenv("KALVINTOR_PROGRAM_DIR");
    qputenv("KALVINTOR_PROGRAM_DIR", installation.path().toUtf8());
    School school;
    ASSERT_TRUE(QDir(school.data).removeRecursively());
    {
        Workstation first;
        ModalScript script;
        script
            .then(press(QMessageBox::No))  // choose another data folder?
            .then(rejectIt())              // the folder dialog: keep the program's own
            .then(press(QMessageBox::No))  // log in by the system user name?
            .then(press(QMessageBox::Ok))  // there is no administrator yet
            .then(addUser("Ada", "Lind", "ADA", "secret"))
            .then(logIn("ADA", "secret"))
            .then(rejectIt());  // the setup chooser
        first.main->show();
        EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
        EXPECT_FALSE(first.main->Guest);
        first.main->close();
    }
    qputenv("KALVINTOR_PROGRAM_DIR", builtDir);
    const QString fresh = installation.filePath("Data");
    EXPECT_EQ(QFileInfo(fresh + "/Common.dat").size(), static_cast<qint64>(data::kCommonRecordSize));
    data::DataStore store(toPath(fresh + "/"));
    store.LoadUsers();
    EXPECT_EQ(store.UserList().size(), 1u);
}

TEST(StartupEdge, AnUpperCaseLvsOnTheCommandLineIsLoadedOtherArgumentsFallThrough) {
    School school;
    school.establish();
    {
        Workstation ws({setupFile(school, "EXAMS.LVS")});
        ModalScript script;
        script.then(logIn("SAM", "s"));
        ws.main->show();
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
        EXPECT_TRUE(ws.main->Setup.setupLoaded);
        EXPECT_NE(ws.main->Setup.setupName.find("EXAMS"), std::string::npos) << ws.main->Setup.setupName;
    }
    // A missing file and a file of another kind: the student has no setup yet, so he chooses one.
    const QString other = setupFile(school, "exams.txt");
    for (const QString& argument : {school.root.filePath("missing.lvs"), other}) {
        Workstation ws({argument});
        ModalScript script;
        script.then(logIn("SAM", "s")).then(rejectIt());
        ws.main->show();
        ASSERT_EQ(script.seen.size(), 2) << argument.toStdString();
        EXPECT_TRUE(script.seen[1].startsWith("Levels|")) << script.seen[1].toStdString();
        EXPECT_EQ(ws.main->Setup.setupName.find("exams"), std::string::npos);
    }
}

TEST(StartupEdge, TheCloseAsksAboutResultsFromFiveAnswersOnAndCancelKeepsTheProgram) {
    School school;
    school.establish();
    Workstation ws;
    ModalScript script;
    script.then(logIn("SAM", "s")).then(rejectIt());
    ws.main->show();

    // Four answers: nothing is asked, nothing is saved.
    ws.answer(4);
    EXPECT_TRUE(ws.main->CloseQuery());
    EXPECT_EQ(script.seen.size(), 2);
    data::DataStore store(toPath(school.data + "/"));
    store.LoadResults(ws.main->UserId);
    EXPECT_TRUE(store.ResultList().empty());

    // The fifth: asked once; Cancel keeps the program open and the session going.
    ws.answer(1);
    script.then(press(QMessageBox::Cancel));
    EXPECT_FALSE(ws.main->close());
    EXPECT_TRUE(ws.main->isVisible());
    EXPECT_EQ(ws.exercise->QuestionCount, 5);
    ASSERT_EQ(script.seen.size(), 3);
    EXPECT_TRUE(script.seen[2].contains("save the results")) << script.seen[2].toStdString();

    // No: closed without a result.
    script.then(press(QMessageBox::No));
    EXPECT_TRUE(ws.main->close());
    EXPECT_EQ(script.seen.size(), 4);
    store.LoadResults(ws.main->UserId);
    EXPECT_TRUE(store.ResultList().empty());
}

TEST(StartupEdge, ResultsThatCouldNotBeSavedAreOfferedAgainBeforeTheProgramCloses) {
    School school;
    school.establish();
    Workstation ws;
    ModalScript script;
    script.then(logIn("SAM", "s")).then(rejectIt());
    ws.main->show();
    // The result folder is a link the store does not write through.
    const auto data = toPath(school.data + "/");
    std::filesystem::create_directories(data / "Elsewhere");
    std::filesystem::remove_all(data / "Result");
    std::filesystem::create_directory_symlink(data / "Elsewhere", data / "Result");

    // Saved on Yes, the save fails and its retry is cancelled: the close asks again, and Cancel
    // keeps the program with the result in memory.
    ws.answer(5);
    script.then(press(QMessageBox::Yes)).then(press(QMessageBox::Cancel)).then(press(QMessageBox::Cancel));
    EXPECT_FALSE(ws.main->close());
    ASSERT_EQ(script.seen.size(), 5);
    EXPECT_TRUE(script.seen[4].startsWith("UnsavedResults|")) << script.seen[4].toStdString();
    EXPECT_TRUE(script.seen[4].contains("1 result(s)")) << script.seen[4].toStdString();
    EXPECT_EQ(ws.main->UnsavedResults.size(), 1u);

    // Retry while the folder is still wrong: asked again, now with the reason. (The answers stay
    // counted, so the results question comes first each time; the session was booked already.)
    script.then(press(QMessageBox::No)).then(press(QMessageBox::Retry)).then(fill({}, "CloseAnyway"));
    EXPECT_TRUE(ws.main->close());
    ASSERT_EQ(script.seen.size(), 8);
    EXPECT_TRUE(script.seen[7].startsWith("UnsavedResults|")) << script.seen[7].toStdString();
    EXPECT_TRUE(script.seen[7].contains("symbolic link")) << script.seen[7].toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(data / "Elsewhere")) << "closed anyway: nothing written";

    // Once the folder is right, Retry writes the kept result and the program closes.
    ws.main->show();
    std::filesystem::remove(data / "Result");
    script.then(press(QMessageBox::No)).then(press(QMessageBox::Retry));
    EXPECT_TRUE(ws.main->close());
    ASSERT_EQ(script.seen.size(), 10);
    EXPECT_TRUE(ws.main->UnsavedResults.empty());
    data::DataStore store(data);
    store.LoadResults(ws.main->UserId);
    ASSERT_EQ(store.ResultList().size(), 1u);
    EXPECT_EQ(store.ResultList()[0]->record.questions, 5);
    EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
}

TEST(StartupEdge, AWrongPasswordKeepsTheLoginOpen) {
    School school;
    school.establish();
    Workstation ws;
    ModalScript script;
    script.then(logIn("SAM", "wrong"))
        .then(press(QMessageBox::Ok))  // wrong name or password
        .then(logIn("sam", "s"))       // the name field takes it in upper case
        .then(rejectIt());
    ws.main->show();
    ASSERT_GE(script.seen.size(), 3);
    EXPECT_TRUE(script.seen[1].contains("Wrong name or password")) << script.seen[1].toStdString();
    EXPECT_FALSE(ws.main->Guest);
    EXPECT_EQ(ws.main->UserId, 3);
}

TEST(StartupEdge, GuestsAreRefusedWhereTheSchoolForbidsThem) {
    School school;
    school.establish(false);
    {
        Workstation ws;
        ModalScript script;
        script.then(logIn("GUEST", ""))
            .then(press(QMessageBox::Ok))
            .then(logIn("", ""))
            .then(press(QMessageBox::Ok))
            .then(rejectIt());  // Cancel: the program ends
        ws.main->show();
        EXPECT_TRUE(script.done()) << script.seen.join("\n").toStdString();
        EXPECT_TRUE(ws.main->quitting());
        EXPECT_TRUE(ws.main->Guest);
        EXPECT_EQ(ws.main->UserId, 0);
    }
    // Where guests are welcome, the guest name opens a guest session that keeps nothing.
    data::DataStore store(toPath(school.data + "/"));
    store.LoadCommon();
    store.Common.allowGuestLogin = true;
    store.SaveCommon();
    Workstation ws;
    ModalScript script;
    script.then([](QWidget* w) {
        EXPECT_EQ(w->findChild<QLineEdit*>("Edit1")->text(), "GUEST");
        w->findChild<QAbstractButton*>("OK")->click();
    });
    ws.main->show();
    EXPECT_TRUE(ws.main->Guest);
    ws.answer(5);
    EXPECT_TRUE(ws.main->close());
    EXPECT_EQ(script.seen.size(), 1) << "a guest is asked nothing at the close";
}

TEST(StartupEdge, DamagedSharedFilesAreReportedAndNeverWritten) {
    struct Case {
        const char* file;
        int size;
        bool guest;  // the school's users cannot be trusted: a guest session
    } cases[] = {{"User.dat", 700, true},
                 {"Common.dat", 90, true},
                 {"Common.dat", 500, true},
                 {"Setting.dat", 900, false},
                 {"Class.dat", 10, false}};
    for (const Case& c : cases) {
        School school;
        school.establish();
        {
            QFile f(school.file(c.file));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(c.size, '\x7f'));
        }
        const QByteArray before = digest(school.file(c.file));
        Workstation ws;
        ModalScript script;
        script.then(press(QMessageBox::Ok));
        if (!c.guest) script.then(logIn("SAM", "s")).then(rejectIt());
        ws.main->show();
        ASSERT_FALSE(script.seen.isEmpty());
        EXPECT_TRUE(script.seen[0].contains(c.file)) << script.seen[0].toStdString();
        EXPECT_EQ(ws.main->Guest, c.guest) << c.file;
        ws.main->TrackBar1->setValue(140);
        script.then(press(QMessageBox::No));
        EXPECT_TRUE(ws.main->close());
        EXPECT_EQ(digest(school.file(c.file)), before) << c.file << " of " << c.size << " bytes was written";
    }
}

TEST(StartupEdge, WorkstationsLoggingInAndSavingAtOnceLoseNoSession) {
    School school;
    school.establish();
    {
        data::DataStore store(toPath(school.data + "/"));
        store.LoadCommon();
        School::add(store, "MIA", "m", data::kStudent);
    }
    constexpr int kSessions = 40;
    const std::vector<std::pair<QString, QString>> users = {
        {"SAM", "s"}, {"sam", "s"}, {"MIA", "m"}, {"Mia", "m"}};
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const auto& [login, password] : users) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(KALVINTOR_USERS_WORKSTATION),
                 {school.data + "/", login, password, QString::number(kSessions)});
        processes.push_back(std::move(p));
    }
    for (auto& p : processes) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    // Each user's file holds both workstations' sessions, whole and in his name.
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    for (const char* login : {"SAM", "MIA"}) {
        ASSERT_TRUE(store.FindUser(0, login, true));
        const std::int16_t id = store.CurrentUser()->record.userId;
        EXPECT_EQ(QFileInfo(toQString(store.ResultFileName(id))).size(), 2 * kSessions * 380) << login;
        store.LoadResults(id);
        ASSERT_EQ(store.ResultList().size(), 2u * kSessions) << login;
        for (const auto& r : store.ResultList()) {
            EXPECT_EQ(r->record.userId, id);
            EXPECT_GE(r->record.questions, 5);
        }
    }
}
