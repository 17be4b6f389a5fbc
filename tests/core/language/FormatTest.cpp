// Format texts of the language files.
#include "language/Format.h"

#include <gtest/gtest.h>

using namespace kalvintor::language;

TEST(Format, PlaceholdersTakeTheArgumentsInOrder) {
    struct Case {
        const char* format;
        std::vector<FormatArgument> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"%d of %d correct", {2LL, 3LL}, "2 of 3 correct"},
        {"Step %d of %d", {4LL, 12LL}, "Step 4 of 12"},
        {"%s (%d%%)", {std::string("Anna"), 75LL}, "Anna (75%)"},
        {"%1:d/%0:d", {3LL, 2LL}, "2/3"},
        {"[%4d][%-4d]", {7LL, 8LL}, "[   7][8   ]"},
        {"%d and %d", {1LL}, "1 and "},       // a missing argument is left out
        {"100%", {}, "100%"},                 // a lone percent sign at the end stays
        {"%x %d", {5LL}, "%x 5"},             // an unknown placeholder stays as written
        {"%s", {42LL}, "42"},                 // a number where text was asked reads as text
    };
    for (const auto& c : cases) EXPECT_EQ(FormatText(c.format, c.args), c.expected) << c.format;
}
