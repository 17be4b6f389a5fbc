// The entries of the settings dialog's lists and the names of the remote-control keys.
#include "settings/GeneralMidi.h"

#include <gtest/gtest.h>

namespace kalvintor::settings {
namespace {

TEST(SettingsLists, Entries) {
    EXPECT_EQ(InstrumentEntry(0), "0 - Piano 1");
    EXPECT_EQ(InstrumentEntry(24), "24 - Nylon-str.Gt");
    EXPECT_EQ(InstrumentEntry(127), "127 - Gun Shot");
    EXPECT_EQ(InstrumentEntry(128), "Drum");
    EXPECT_EQ(InstrumentEntry(129), "");
    EXPECT_EQ(InstrumentEntry(-1), "");
    EXPECT_EQ(PercussionKeyEntry(26), "26 -");
    EXPECT_EQ(PercussionKeyEntry(27), "27 - High Q");
    EXPECT_EQ(PercussionKeyEntry(37), "37 - Side Stick");
    EXPECT_EQ(PercussionKeyEntry(87), "87 - Open Surdo");
    EXPECT_EQ(PercussionKeyEntry(88), "88 -");
    EXPECT_EQ(PercussionKeyEntry(128), "");
}

TEST(SettingsLists, ControlKeyNames) {
    EXPECT_EQ(ControlKeyName(60), "C3");
    EXPECT_EQ(ControlKeyName(36), "C1");
    EXPECT_EQ(ControlKeyName(127), "G8");
    EXPECT_EQ(ControlKeyName(0), "C-2");
    EXPECT_EQ(ControlKeyName(61), "Db3");
    EXPECT_EQ(ControlKeyName(128), "");
}

TEST(SettingsLists, PercussionChannelShowsDrum) {
    EXPECT_EQ(ProgramListEntry(9, 5), kDrumEntry);
    EXPECT_EQ(ProgramListEntry(0, 5), 5);
    EXPECT_EQ(ProgramListEntry(3, 300), 0);
}

}  // namespace
}  // namespace kalvintor::settings
