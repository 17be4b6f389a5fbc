// Version texts of the welcome window.
#include "app/Version.h"

#include <gtest/gtest.h>

using namespace kalvintor::app;

TEST(Version, ReleaseFollowsTheMinorDirectlyWhenNotZero) {
    EXPECT_EQ(versionCaption({4, 0, 1, 7}), "Kalvintor School 4.01");
    EXPECT_EQ(versionCaption({4, 0, 0, 7}), "Kalvintor School 4.0");
    EXPECT_EQ(versionCaption({4, 2, 12, 7}), "Kalvintor School 4.212");
    EXPECT_EQ(buildLabel({4, 0, 1, 1234}), "(build 1234)");
}

TEST(Version, TheBuildCarriesTheProgramVersion) {
    const Version v = programVersion();
    EXPECT_EQ(v.major, 4);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(versionCaption(v), "Kalvintor School 4.01");
}
