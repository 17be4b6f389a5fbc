// Code page 1252 to and from UTF-8.
#include "records/Cp1252.h"

#include <gtest/gtest.h>

using namespace kalvintor::records;

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheHighControlsRange) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x80", "€"}, {"\x8A", "Š"}, {"\x9F", "Ÿ"}, {"\x96", "–"}, {"\xE6\xF8\xE5", "æøå"}, {"\xDF", "ß"},
        {"\x81", "\xC2\x81"},  // undefined in the code page: kept as the C1 control
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8) << c.utf8;
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
    }
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1252("a♯b𝄞"), "a?b?");
}

TEST(Cp1252, FallbackKeepsValidUtf8AndReadsStrayBytesAsCodePage1252) {
    EXPECT_EQ(utf8WithCp1252Fallback("Grüße"), "Grüße");
    EXPECT_EQ(utf8WithCp1252Fallback("Gr\xFC\xDF" "e"), "Grüße");
    EXPECT_EQ(utf8WithCp1252Fallback("\xC3"), "Ã");              // truncated sequence
    EXPECT_EQ(utf8WithCp1252Fallback("\xC0\xAF"), "À¯");         // overlong form
    EXPECT_EQ(utf8WithCp1252Fallback("\xED\xA0\x80"), "í\xC2\xA0€");  // surrogate
}
