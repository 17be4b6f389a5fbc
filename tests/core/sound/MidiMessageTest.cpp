// Packing of short messages and the notification routing table.
#include "sound/MidiMessage.h"
#include "sound/NotifyRouting.h"
#include "sound/SeqEvent.h"
#include "sound/Ticks.h"

#include <gtest/gtest.h>

using namespace kalvintor::sound;

TEST(MidiMessage, PacksStatusChannelAndData) {
    struct Case {
        std::uint32_t packed;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {NoteOnMessage(0, 60, 100), 0x643C90},
        {NoteOnMessage(9, 37, 110), 0x6E2599},
        {NoteOffMessage(3, 64), 0x004083},
        {ProgramChangeMessage(1, 24), 0x0018C1},
        {ControllerMessage(15, kAllNotesOff), 0x007BBF},
        {ControllerMessage(2, kResetAllControllers), 0x0079B2},
    };
    for (const Case& c : cases) EXPECT_EQ(c.packed, c.expected) << std::hex << c.expected;
    EXPECT_EQ(StatusOf(0x643C90), 0x90);
    EXPECT_EQ(Data1Of(0x643C90), 60);
    EXPECT_EQ(Data2Of(0x643C90), 100);
    EXPECT_FALSE(IsNoteOn(NoteOnMessage(0, 60, 0))) << "velocity 0 is a note-off";
}

TEST(MidiMessage, NotificationValueCarriesCodeAndWindow) {
    const std::int32_t value = NotifyValue(0x0305, kWindowMain);
    EXPECT_EQ(static_cast<std::uint32_t>(value), 0x03050064u);
    EXPECT_EQ(NotifyCodeOf(value), 0x0305);
    EXPECT_EQ(NotifyWindowOf(value), kWindowMain);
    EXPECT_EQ(NotifyCodeOf(NotifyValue(0xFFFF, 1)), 0xFFFF) << "the full 16-bit code survives the sign bit";
}

TEST(Ticks, NoteValuesAndTheirLengthAtATempo) {
    EXPECT_EQ(NoteDurations[1], 2688);
    EXPECT_EQ(NoteDurations[3], 672);
    EXPECT_EQ(NoteDurations[6], 84);
    EXPECT_DOUBLE_EQ(TicksToMs(672, 90), 672.0);
    EXPECT_DOUBLE_EQ(TicksToMs(672, 180), 336.0);
    EXPECT_DOUBLE_EQ(TicksToMs(2688, 60), 4032.0);
}

TEST(NotifyRouting, LowByteChoosesWindowAndTrack) {
    NotifyContext pitch{false, 8};
    struct Case {
        std::uint16_t code;
        NotifyContext context;
        std::optional<NotifyRoute> route;
    };
    const Case cases[] = {
        {1, {true, 0}, NotifyRoute{2, kWindowSettingsDialog, 1}},
        {2, {false, 0}, std::nullopt},  // the settings dialog is hidden
        {10, pitch, NotifyRoute{2, kWindowRhythmImitation, 10}},
        {19, pitch, NotifyRoute{2, kWindowRhythmImitation, 19}},
        {25, pitch, NotifyRoute{2, kWindowRhythmReading, 25}},
        {39, pitch, NotifyRoute{2, kWindowRhythmCorrection, 39}},
        {41, pitch, NotifyRoute{1, kWindowIntervalComparison, 41}},
        {53, pitch, NotifyRoute{1, 8, 53}},
        {53, {false, 4}, std::nullopt},  // a rhythm exercise is current: no pitch window
        {100, pitch, NotifyRoute{2, kWindowMain, 0}},
        {120, pitch, NotifyRoute{2, kWindowMain, 20}},
        {3 * 256 + 101, pitch, NotifyRoute{2, kWindowMain, 3 * 256 + 1}},
        {0x0C0A, pitch, NotifyRoute{2, kWindowRhythmImitation, 0x0C0A}},  // full code kept
        {0, pitch, std::nullopt},
        {3, pitch, std::nullopt},
        {60, pitch, std::nullopt},
        {99, pitch, std::nullopt},
        {121, pitch, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(RouteNotification(c.code, c.context), c.route) << "code " << c.code;
}
