// Language file lines: which are entries, and what their texts are.
#include "language/LanguageFile.h"

#include <gtest/gtest.h>

using namespace kalvintor::language;

TEST(LanguageFile, EntriesInFileOrderWithTheirTextsAsTheyStand) {
    const auto entries = parseLanguageFile(
        "205=New question\r\n"
        "; a comment=with equals\n"
        "\n"
        "no equals sign here\n"
        "abc=not a number\n"
        "12x=not a number either\n"
        "=empty id\n"
        "205==starts with equals\n"
        " 90 = OK \n"
        "95=Close");
    const std::vector<LanguageEntry> expected = {
        {205, "New question"}, {205, "=starts with equals"}, {90, " OK "}, {95, "Close"}};
    EXPECT_EQ(entries, expected);
}

TEST(LanguageFile, Utf8WithCodePage1252FallbackAndByteOrderMark) {
    const auto entries = parseLanguageFile("\xEF\xBB\xBF" "42=Øvelse\n43=\xD8velse\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (LanguageEntry{42, "Øvelse"}));
    EXPECT_EQ(entries[1], (LanguageEntry{43, "Øvelse"}));
}

TEST(LanguageFile, IdsBeyondTheIntegerRangeAreNotIntegers) {
    EXPECT_TRUE(parseLanguageFile("99999999999999999999=x\n").empty());
    int value = 0;
    EXPECT_TRUE(parseIntegerField("-12", value));
    EXPECT_EQ(value, -12);
    EXPECT_FALSE(parseIntegerField("1 2", value));
}
