// Windows made when first needed or once the main window is up: until then they are offered all the
// same, a command that reaches one finds it made in the state it would have had, and each is made
// once.
#include "StartupFixture.h"
#include "app/TMenuDialog.h"
#include "pitch/TAkkord.h"
#include "setup/SetupRecord.h"
#include "users/TUserslist.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

#include <array>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

TEST(DeferredWindows, CommandsReachWindowsNotYetMadeAndTheRestAreMadeOnceTheWindowIsUp) {
    struct Case {
        const char* login;
        const char* password;
        bool teacher;
    };
    for (const Case& c : {Case{"ADA", "a", true}, Case{"SAM", "s", false}}) {
        SCOPED_TRACE(c.login);
        School school;
        school.establish();
        TKalvintorMain main(nullptr, std::make_unique<sound::RecordingMidiSystem>());
        std::array<int, 11> made{};
        main.SetExerciseMaker(1, [&] {
            ++made[1];
            return new TAkkord(1, main);
        });
        main.SetExerciseMaker(3, [&] {
            ++made[3];
            return new TIntervalSam(main);
        });
        main.CreateMenuDialog();
        main.StartupDialogue = true;
        ModalScript script;
        script.then(logIn(c.login, c.password)).then(rejectIt());
        main.show();
        ASSERT_TRUE(script.done()) << script.seen.join("\n").toStdString();

        // Nothing is made before the first paint, yet the exercises are offered.
        EXPECT_EQ(made, (std::array<int, 11>{}));
        EXPECT_EQ(main.findChild<TUserslist*>(), nullptr);
        for (int e : {1, 3}) {
            EXPECT_TRUE(main.exerciseButton(e)->isEnabled()) << e;
            EXPECT_TRUE(main.menuDialog()->exerciseButton(e)->isEnabled()) << e;
        }
        EXPECT_FALSE(main.menuDialog()->exerciseButton(2)->isEnabled()) << "no window for it";

        // The class filter reaches the user overview of a teacher; a student has none.
        main.FilterUsersByClass(0);
        ASSERT_EQ(main.userslist() != nullptr, c.teacher);
        if (c.teacher) {
            EXPECT_EQ(main.userslist()->classFilter(), 0);
        }

        // Chosen in the start menu, the exercise is made, shown and named after the setup in force
        // like every window made before the start-up loaded it.
        main.menuDialog()->exerciseButton(3)->click();
        EXPECT_EQ(made[3], 1);
        TExerciseBaseClass* chosen = main.exerciseWindow(3);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(main.views()->currentWidget(), chosen);
        const QString setupName = QString::fromStdString(setup::displayName(main.Setup.setupName));
        EXPECT_EQ(chosen->windowTitle(), setupName);

        // The rest come from the event loop once the window has painted, each once.
        const QDeadlineTimer deadline(20000);
        while (made[1] == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(made[1], 1);
        EXPECT_EQ(made[3], 1);
        EXPECT_EQ(main.findChild<TUserslist*>() != nullptr, c.teacher);
        EXPECT_EQ(main.exerciseWindow(1)->windowTitle(), setupName);
        EXPECT_EQ(main.views()->currentWidget(), chosen) << "made in the background, not shown";
        main.close();
    }
}
