// The welcome window: version caption, hidden build label, click to hide, "About".
#include "app/TVelkommen.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using kalvintor::ui::TVelkommen;

TEST(Welcome, ShowsTheVersionWithTheBuildLabelHidden) {
    TVelkommen welcome;
    welcome.show();
    EXPECT_EQ(welcome.size(), QSize(290, 296));
    EXPECT_TRUE(welcome.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(welcome.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(welcome.versionLabel()->text(), "Kalvintor School 4.01");
    EXPECT_EQ(welcome.buildLabel()->text(), "(build 1)");
    EXPECT_FALSE(welcome.buildLabel()->isVisible());
}

TEST(Welcome, AClickHidesItAndAboutShowsItWithTheBuildLabel) {
    TVelkommen welcome;
    welcome.show();
    QTest::mouseClick(&welcome, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(welcome.isVisible());
    welcome.showAbout();
    EXPECT_TRUE(welcome.isVisible());
    EXPECT_TRUE(welcome.buildLabel()->isVisible());
}
