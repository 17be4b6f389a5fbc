// Packed little-endian fields and ShortStrings against bytes spelled out.
#include "records/Binary.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kalvintor::records;

TEST(Binary, IntegersAreLittleEndianAtTheirOffsets) {
    std::vector<std::uint8_t> b(16, 0xEE);
    putI16(b, 0, -2);
    putU16(b, 2, 0x1234);
    putI32(b, 4, -123456789);
    putU32(b, 8, 0xA0D0E8u);
    putBool(b, 12, true);
    putI8(b, 13, -1);
    const std::vector<std::uint8_t> expected = {0xFE, 0xFF, 0x34, 0x12, 0xEB, 0x32, 0xA4, 0xF8,
                                                0xE8, 0xD0, 0xA0, 0x00, 0x01, 0xFF, 0xEE, 0xEE};
    EXPECT_EQ(b, expected);
    EXPECT_EQ(getI16(b, 0), -2);
    EXPECT_EQ(getU16(b, 2), 0x1234);
    EXPECT_EQ(getI32(b, 4), -123456789);
    EXPECT_EQ(getU32(b, 8), 0xA0D0E8u);
    EXPECT_TRUE(getBool(b, 12));
    EXPECT_EQ(getI8(b, 13), -1);
}

TEST(Binary, AnyNonZeroByteIsTrue) {
    const std::vector<std::uint8_t> b = {0, 1, 2, 0xFF};
    EXPECT_FALSE(getBool(b, 0));
    EXPECT_TRUE(getBool(b, 1));
    EXPECT_TRUE(getBool(b, 2));
    EXPECT_TRUE(getBool(b, 3));
}

TEST(Binary, DoublesAreIeeeLittleEndian) {
    std::vector<std::uint8_t> b(8);
    putF64(b, 0, 36526.5);  // 1 January 2000, noon
    const std::vector<std::uint8_t> expected = {0x00, 0x00, 0x00, 0x00, 0xD0, 0xD5, 0xE1, 0x40};
    EXPECT_EQ(b, expected);
    EXPECT_DOUBLE_EQ(getF64(b, 0), 36526.5);
}

TEST(ShortString, WritesLengthAndCodePage1252Text) {
    std::vector<std::uint8_t> b(8, 0xAA);
    ShortString<6>::write(b, 1, "Für€");
    const std::vector<std::uint8_t> expected = {0xAA, 4, 'F', 0xFC, 'r', 0x80, 0xAA, 0xAA};
    EXPECT_EQ(b, expected);
    EXPECT_EQ(ShortString<6>::read(b, 1), "Für€");
}

TEST(ShortString, TextIsCutToTheRoomAndTheRestOfTheRoomKept) {
    std::vector<std::uint8_t> b = {9, 'x', 'x', 'x', 'x', 'x', 0x55};
    putShortString(b, 0, 5, "abcdefgh");
    const std::vector<std::uint8_t> cut = {5, 'a', 'b', 'c', 'd', 'e', 0x55};
    EXPECT_EQ(b, cut);
    putShortString(b, 0, 5, "Z");
    const std::vector<std::uint8_t> shorter = {1, 'Z', 'b', 'c', 'd', 'e', 0x55};
    EXPECT_EQ(b, shorter);
    EXPECT_EQ(getShortString(b, 0, 5), "Z");
}

TEST(ShortString, LengthBeyondTheRoomIsClampedOnReading) {
    const std::vector<std::uint8_t> b = {200, 'a', 'b', 'c', 'Q', 'Q'};
    EXPECT_EQ(getShortString(b, 0, 3), "abc");
}
