// How the main window's panels look: switches that cannot be used look alike whatever their
// state, and the right-hand group of the toolbar keeps to its right-hand end.
#include "ExerciseTestDoubles.h"
#include "app/TKalvintorMain.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kalvintor::ui;

TEST(Look, ADisabledSwitchLooksTheSameOnAndOff) {
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    main.show();
    main.ShowToolPanel(kPanelExtras, true);
    for (QToolButton* button : {main.Metro, main.SpeedButton12}) {
        ASSERT_FALSE(button->isEnabled()) << "no metronome in the start menu";
        button->setChecked(false);
        const QImage off = button->grab().toImage();
        button->setChecked(true);
        EXPECT_EQ(button->grab().toImage(), off) << button->objectName().toStdString() << " is drawn pressed";
    }
}

TEST(Look, TheHelpButtonKeepsToTheRightHandEndOfAWideToolbar) {
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    main.resize(1600, 900);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QToolBar* bar = main.ToolWindow(kPanelStandard);
    const int helpRight = main.SpeedButton4->mapTo(bar, main.SpeedButton4->rect().topRight()).x();
    EXPECT_GT(helpRight, bar->width() - 40);
    const int viewsRight = main.SpeedButton11->mapTo(bar, main.SpeedButton11->rect().topRight()).x();
    EXPECT_LT(viewsRight, bar->width() / 2 + 200) << "the view buttons stay with the exercise buttons";
}
