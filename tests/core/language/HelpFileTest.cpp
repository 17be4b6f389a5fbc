// Help files: topics by number.
#include "language/HelpFile.h"

#include <gtest/gtest.h>

using namespace kalvintor::language;

TEST(HelpFile, TopicsWithTitlesAndBodies) {
    const auto help = parseHelpFile(
        "ignored preamble\n"
        "@@topic 1 Contents\r\n"
        "<p>Welcome</p>\n"
        "@@topic 195 User overview\n"
        "<p>Overview</p>\n"
        "@@topic x not a topic line\n"
        "@@topic 195 Again\n"
        "<p>second body is dropped</p>\n");
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help.at(1).title, "Contents");
    EXPECT_EQ(help.at(1).body, "<p>Welcome</p>\n");
    EXPECT_EQ(help.at(195).title, "User overview");
    EXPECT_EQ(help.at(195).body, "<p>Overview</p>\n@@topic x not a topic line\n");
}

TEST(HelpFile, ContentsLinksEveryTopicButTheContentsItself) {
    const auto help = parseHelpFile("@@topic 1 Contents\n@@topic 13 Results & <marks>\n@@topic 11 Chords\n");
    EXPECT_EQ(helpContents(help, "Help"),
              "<h1>Help</h1>\n<ul>\n"
              "<li><a href=\"topic:11\">Chords</a></li>\n"
              "<li><a href=\"topic:13\">Results &amp; &lt;marks&gt;</a></li>\n"
              "</ul>\n");
}
