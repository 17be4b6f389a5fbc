// The program asked to stop from outside: by a signal (a shutdown, a closed terminal) while the
// student is away, with or without a question open on the screen.
#include "StartupFixture.h"
#include "app/QuitSignals.h"
#include "data/DataStore.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// A first start in which the administrator logs in and answers five questions.
void startAndAnswer(Workstation& station, ModalScript& script) {
    script.then(press(QMessageBox::No))
        .then(rejectIt())
        .then(press(QMessageBox::No))
        .then(press(QMessageBox::Ok))
        .then(addUser("Ada", "Lind", "ADA", "secret"))
        .then(logIn("ADA", "secret"))
        .then(rejectIt());
    station.main->show();
    ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();
    ASSERT_FALSE(station.main->Guest);
    station.answer(5);
    ASSERT_EQ(station.exercise->QuestionCount, 5);
}

std::size_t savedSessions(const School& school) {
    data::DataStore store(toPath(school.data + "/"));
    store.LoadUsers();
    if (!store.FindUser(0, "ADA", true)) return 0;
    store.LoadResults(store.CurrentUser()->record.userId);
    return store.ResultList().size();
}

// Runs the event loop until the program ends it; a stuck program fails after ten seconds.
int runUntilEnded() {
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    failSafe.start(10000);
    return QCoreApplication::exec();
}

}  // namespace

TEST(Shutdown, ASignalKeepsTheSessionWithoutAsking) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        School school;
        Workstation station;
        ModalScript script;
        startAndAnswer(station, script);
        const QuitSignals quit(*station.main);
        ASSERT_TRUE(quit.watching());
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        EXPECT_EQ(runUntilEnded(), 0);
        EXPECT_TRUE(station.main->quitting());
        EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
        EXPECT_EQ(savedSessions(school), 1u);
    }
}

TEST(Shutdown, ASignalWhileTheCloseQuestionWaitsEndsThatQuestionAndSavesOnce) {
    School school;
    Workstation station;
    ModalScript script;
    startAndAnswer(station, script);
    const QuitSignals quit(*station.main);
    // The student closed the program and walked away from its question; the system shuts down.
    script.then([](QWidget*) { std::raise(SIGTERM); });
    QTimer::singleShot(0, [&] { station.main->close(); });
    EXPECT_EQ(runUntilEnded(), 0);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(savedSessions(school), 1u);
}

TEST(Shutdown, ASignalDuringTheStartupDialogueEndsTheProgramOnceItsLoopBegins) {
    School school;
    Workstation station;
    ModalScript script;
    const QuitSignals quit(*station.main);
    script.then(press(QMessageBox::No))
        .then(rejectIt())
        .then(press(QMessageBox::No))
        .then(press(QMessageBox::Ok))
        .then(addUser("Ada", "Lind", "ADA", "secret"))
        .then([](QWidget*) { std::raise(SIGTERM); });  // the login dialog waits
    station.main->show();
    EXPECT_TRUE(station.main->quitting());
    // The main window's first show returned before the program's event loop began.
    EXPECT_EQ(runUntilEnded(), 0);
    EXPECT_EQ(savedSessions(school), 0u);
}
