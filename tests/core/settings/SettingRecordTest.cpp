// The 816-byte settings record: offsets, built-in defaults and byte-exact round trips.
#include "settings/SettingRecord.h"

#include <gtest/gtest.h>

#include <random>

using namespace kalvintor::settings;

namespace {

// The built-in default record written out byte by byte: offset → value; every other byte is 0.
const std::vector<std::pair<std::size_t, std::uint8_t>> kDefaultBytes = {
    {0, 1},                                                    // key
    {448, 2},                                                  // statistics period
    {450, 5}, {451, 'A'}, {452, 'r'}, {453, 'i'}, {454, 'a'}, {455, 'l'},
    {532, 9},                                                  // font size
    {537, 7}, {538, 'E'}, {539, 'n'}, {540, 'g'}, {541, 'l'}, {542, 'i'}, {543, 's'}, {544, 'h'},
    {579, 9}, {580, 2}, {581, 9}, {582, 2}, {583, 9}, {584, 2}, {585, 9}, {586, 2},
    {686, 240},                                                // MIDI volume
    {692, 110}, {694, 60},                                     // piano voice velocity, key
    {696, 1}, {698, 24}, {700, 110}, {702, 60},                // guitar voice
    {704, 9}, {708, 110}, {710, 39},                           // rhythm sound
    {712, 9}, {716, 110}, {718, 37},                           // metronome click
    {720, 9}, {724, 125}, {726, 56},                           // first-beat click
    {729, 1},                                                  // damper pedal as enter
    {732, 36}, {733, 38}, {734, 40}, {735, 41}, {736, 43},     // control keys
    {740, 0xE8}, {741, 0xD0}, {742, 0xA0},                     // colour 00A0D0E8
    {746, 1}, {747, 90}, {748, 110}, {750, 1},
    {752, 7}, {753, 'C'}, {754, 'o'}, {755, 'r'}, {756, 'r'}, {757, 'e'}, {758, 'c'}, {759, 't'},
    {772, 5}, {773, 'W'}, {774, 'r'}, {775, 'o'}, {776, 'n'}, {777, 'g'},
    {792, 2}, {793, 3}, {801, 4}, {803, 90},
    {804, 0xFF}, {805, 0xFF},                                  // tips 0000FFFF
    {808, 1}, {810, 1},
};

}  // namespace

TEST(SettingRecord, BuiltInDefaultRecordHoldsExactlyTheDefaultBytes) {
    SettingBytes expected{};
    for (auto [offset, value] : kDefaultBytes) expected[offset] = value;
    EXPECT_EQ(defaultSettingBytes(), expected);
    EXPECT_EQ(encodeSettings(Settings{}), expected);
}

TEST(SettingRecord, DefaultsDecodeToTheirFields) {
    const Settings s = defaultSettings();
    EXPECT_EQ(s.key, 1);
    EXPECT_EQ(s.fontName, "Arial");
    EXPECT_EQ(s.language, "English");
    EXPECT_EQ(s.guitarVoice, (TSoundRec{1, 24, 110, 60}));
    EXPECT_EQ(s.firstBeatClick, (TSoundRec{9, 0, 125, 56}));
    EXPECT_EQ(s.colour, 0x00A0D0E8);
    EXPECT_EQ(s.tipsToShow, 0x0000FFFFu);
    EXPECT_TRUE(s.startInTutorMode);
    EXPECT_FALSE(s.midiInputEnabled);
}

TEST(SettingRecord, EveryFieldIsWrittenAtItsOffset) {
    Settings s = defaultSettings();
    s.mainLeft = -5;
    s.toolWindows[5].dockSide = static_cast<std::uint8_t>(DockSide::Bottom);
    s.toolWindows[1].dockRow = 0x01020304;
    s.answerInputs[9] = {0x0F, 4};
    s.midiOutputDevice = "Built-in synthesizer";
    s.syncDelay = 600;
    s.rhythmWithMetronome = true;
    const auto b = encodeSettings(s);
    EXPECT_EQ(kalvintor::records::getI32(b, 4), -5);
    EXPECT_EQ(b[24 + 5 * 28 + 24], 3);
    EXPECT_EQ(kalvintor::records::getI32(b, 24 + 28 + 16), 0x01020304);
    EXPECT_EQ(b[577], 0x0F);
    EXPECT_EQ(b[578], 4);
    EXPECT_EQ(b[638], 20);
    EXPECT_EQ(b[639], 'B');
    EXPECT_EQ(kalvintor::records::getI32(b, 796), 600);
    EXPECT_EQ(b[809], 1);
}

TEST(SettingRecord, StoredRecordReadAndWrittenBackKeepsEveryByte) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        SettingBytes stored;
        for (auto& byte : stored) byte = static_cast<std::uint8_t>(random());
        const auto settings = decodeSettings(stored);
        ASSERT_TRUE(settings);
        EXPECT_EQ(encodeSettings(*settings), stored);
    }
}

TEST(SettingRecord, DeviceNamesAreCutToTheirRoom) {
    Settings s = defaultSettings();
    s.midiInputDevice = std::string(60, 'x');
    const auto b = encodeSettings(s);
    EXPECT_EQ(b[590], 47);
    EXPECT_EQ(decodeSettings(b)->midiInputDevice, std::string(47, 'x'));
    EXPECT_EQ(b[638], 0);  // the next field is untouched
}

TEST(SettingRecord, RecordsOfAnotherSizeAreRefused) {
    std::vector<std::uint8_t> shortRecord(815), longRecord(817);
    EXPECT_FALSE(decodeSettings(shortRecord));
    EXPECT_FALSE(decodeSettings(longRecord));
    EXPECT_FALSE(decodeSettings({}));
}
