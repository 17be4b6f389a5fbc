// The --version and --help answers of the installed programs.
#include "app/InfoOptions.h"
#include "app/Version.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace kalvintor::app;

TEST(InfoOptions, VersionAndHelpAreAnsweredAndEverythingElseGoesOn) {
    // The build number is the build system's to choose; the rest is this release's own.
    std::ostringstream versionOut;
    ASSERT_EQ(answerInfoOption({"--version"}, "kalvintor", "HELP", versionOut), 0);
    EXPECT_THAT(versionOut.str(), ::testing::MatchesRegex("kalvintor 4\\.0\\.1 \\(build [0-9]+\\)\n"));
    const std::string version = versionOut.str();
    struct Case {
        std::vector<std::string_view> args;
        std::optional<int> code;
        std::string out;
    };
    const Case cases[] = {
        {{"--version"}, 0, version},
        {{"--help"}, 0, "HELP"},
        {{"Beginner.lvs"}, std::nullopt, ""},
        {{"Beginner.lvs", "--version"}, std::nullopt, ""},
        {{}, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(answerInfoOption(c.args, "kalvintor", "HELP", out), c.code);
        EXPECT_EQ(out.str(), c.out);
    }
    const std::string help = programHelp("/usr/share/kalvintor", "/etc/kalvintor/kalvintor.ini");
    EXPECT_NE(help.find("Usage: kalvintor [SETUP.lvs]"), std::string::npos);
    EXPECT_NE(help.find("Program files:    /usr/share/kalvintor\n"), std::string::npos);
    EXPECT_NE(help.find("Machine settings: /etc/kalvintor/kalvintor.ini"), std::string::npos);
}
