// Leaving a changed setup view asks once whether to save it; Cancel keeps the view.
#include "app/TKalvintorMain.h"
#include "app/ViewTags.h"
#include "ui/app/ExerciseTestDoubles.h"
#include "ui/setup/MainSetupHost.h"
#include "ui/setup/TChordOps.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTimer>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

// Answers every question box with `button` and counts them.
struct Answerer {
    explicit Answerer(QMessageBox::StandardButton b) : button(b) {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++asked;
                box->button(button)->click();
            }
        });
        timer.start();
    }
    QMessageBox::StandardButton button;
    QTimer timer;
    int asked = 0;
};

TEST(LeaveSetupView, AChangedViewAsksOnceAndCancelKeepsIt) {
    TKalvintorMain main{nullptr, ui::testing::quietSound()};
    main.SetExerciseWindow(1, new ui::testing::RecordingExercise(1, main));
    RegisterPitchSetupViews(main);
    main.AccessRights.fill(true);
    main.SelectView(1, app::kViewSetup);
    auto* ops = dynamic_cast<TChordOps*>(main.setupView(1));
    ASSERT_NE(ops, nullptr);
    ASSERT_EQ(main.views()->currentWidget(), ops);

    {
        Answerer none(QMessageBox::Cancel);
        main.SelectView(1, app::kViewExercise);
        EXPECT_EQ(none.asked, 0) << "nothing changed, nothing asked";
    }
    main.SelectView(1, app::kViewSetup);
    ops->Akk_SimulCheck->click();
    {
        Answerer cancel(QMessageBox::Cancel);
        main.SelectView(1, app::kViewExercise);
        EXPECT_EQ(cancel.asked, 1);
        EXPECT_EQ(main.CurrentView, app::kViewSetup);
        EXPECT_EQ(main.views()->currentWidget(), ops);
        EXPECT_TRUE(ops->Akk_SimulCheck->isChecked()) << "the change stays on screen";
    }
    {
        Answerer no(QMessageBox::No);
        main.SelectView(1, app::kViewExercise);
        EXPECT_EQ(no.asked, 1);
        EXPECT_EQ(main.CurrentView, app::kViewExercise);
        EXPECT_EQ(main.Setup.current.pitchBlock(1).playTogether, 1) << "No keeps the change in force";
        EXPECT_TRUE(main.Setup.setupChanged);
    }
}

}  // namespace
