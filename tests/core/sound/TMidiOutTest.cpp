// The output object's device table, opening by index and name, volume and immediate messages.
#include "SoundRig.h"

#include "sound/MidiMessage.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::sound;
using kalvintor::sound::testing::SoundRig;

TEST(TMidiOutDevices, TableListsMapperThenDevicesUpToTwenty) {
    SoundRig rig;
    for (int i = 0; i < 25; ++i) rig.system.outputNames.push_back("Port " + std::to_string(i));
    rig.Create(false);
    const auto& devices = rig.midiOut->Devices();
    ASSERT_EQ(devices.size(), 20u);
    EXPECT_EQ(devices[0], (DeviceEntry{kMapperId, "Recording synthesizer", false}));
    EXPECT_EQ(devices[1], (DeviceEntry{0, "Port 0", false}));
    EXPECT_EQ(devices[19], (DeviceEntry{18, "Port 18", false}));
}

TEST(TMidiOutDevices, WithoutAnyDeviceOnePlaceholderThatOpensNothing) {
    SoundRig rig;
    rig.system.mapperName.reset();
    rig.language.apply({{102, "Keine"}}, language::kLoadFull);
    rig.Create(false);
    ASSERT_EQ(rig.midiOut->Devices().size(), 1u);
    EXPECT_EQ(rig.midiOut->Devices()[0], (DeviceEntry{0, "Keine", true}));
    EXPECT_TRUE(rig.midiOut->SelectDevice(1));
    EXPECT_FALSE(rig.midiOut->Opened());
    // Every sounding operation is silent and harmless.
    rig.midiOut->QueueNotify(51);
    rig.midiOut->Play();
    rig.midiOut->NoteOn({0, 0, 100, 60});
    EXPECT_TRUE(rig.sequencer.Queued().empty());
    std::uint8_t level = 0;
    EXPECT_FALSE(rig.midiOut->GetVolume(level));
}

TEST(TMidiOutDevices, SelectByName) {
    SoundRig rig;
    rig.system.outputNames = {"Alpha", "Beta"};
    rig.Create(false);

    std::string empty;
    EXPECT_TRUE(rig.midiOut->SelectDeviceByName(empty));
    EXPECT_EQ(empty, "Recording synthesizer") << "an empty name opens entry 1 and stores its name";
    EXPECT_EQ(rig.midiOut->OpenedId(), kMapperId);

    std::string beta = "Beta";
    EXPECT_TRUE(rig.midiOut->SelectDeviceByName(beta));
    EXPECT_EQ(rig.midiOut->OpenedId(), 1);

    std::string unknown = "beta";  // names compare case-sensitively
    EXPECT_FALSE(rig.midiOut->SelectDeviceByName(unknown));
    EXPECT_TRUE(rig.midiOut->Opened()) << "the previous device stays open";
    EXPECT_EQ(rig.midiOut->OpenedId(), 1);
    EXPECT_TRUE(rig.shown.empty());

    EXPECT_FALSE(rig.midiOut->SelectDevice(4));
    EXPECT_FALSE(rig.midiOut->Opened()) << "an index outside the table closes the device";
}

TEST(TMidiOutDevices, EmptyNameGetsAtMost47Characters) {
    SoundRig rig;
    rig.system.mapperName = std::string(60, 'x');
    rig.Create(false);
    std::string name;
    ASSERT_TRUE(rig.midiOut->SelectDeviceByName(name));
    EXPECT_EQ(name, std::string(47, 'x'));
}

TEST(TMidiOutDevices, OpenFailuresAreReportedAndLeaveTheObjectUsable) {
    SoundRig rig;
    rig.system.outputNames = {"Busy"};
    rig.system.failingOutputIds = {0};
    rig.language.apply({{5021, "Cannot open %s%s"}}, language::kLoadFull);
    rig.Create(false);
    EXPECT_FALSE(rig.midiOut->SelectDevice(2));
    ASSERT_EQ(rig.shown.size(), 1u);
    EXPECT_EQ(rig.shown[0], "Cannot open \"Busy\".\r\n\r\r\ndevice busy");
    EXPECT_FALSE(rig.midiOut->Opened());

    rig.system.throwOnOpen = true;
    EXPECT_FALSE(rig.midiOut->SelectDevice(1));
    EXPECT_EQ(rig.shown.back(), "ChangeDevice exception: Error opening MIDI out");

    rig.system.throwOnOpen = false;
    EXPECT_TRUE(rig.midiOut->SelectDevice(1));
    EXPECT_EQ(rig.sequencer.Output(), rig.system.Output()) << "the sequencer plays on the new device";
}

TEST(TMidiOutDevices, ListingFailureIsReported) {
    SoundRig rig;
    rig.system.throwOnList = true;
    rig.Create(false);
    EXPECT_EQ(rig.shown, std::vector<std::string>{"Error listing MIDI-out devices"});
}

TEST(TMidiOutVolume, LevelGoesIntoHighBytesOfBothHalves) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->SetVolume(0xB4);
    EXPECT_EQ(rig.Port().Volume(), 0xB400B400u);
    std::uint8_t level = 0;
    ASSERT_TRUE(rig.midiOut->GetVolume(level));
    EXPECT_EQ(level, 0xB4);
    ASSERT_TRUE(rig.Port().SetVolume(0x00001234));
    ASSERT_TRUE(rig.midiOut->GetVolume(level));
    EXPECT_EQ(level, 0x12) << "bits 8..15 of the device's word";
}

TEST(TMidiOutImmediate, MessagesGoStraightToTheDevice) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->NoteOn({3, 0, 90, 64});
    rig.midiOut->NoteOff(64);
    rig.midiOut->ProgramChange(24, 1);
    std::vector<std::uint32_t> sent;
    for (const SentMessage& m : rig.Port().Sent()) sent.push_back(m.message);
    EXPECT_EQ(sent, (std::vector<std::uint32_t>{NoteOnMessage(3, 64, 90), NoteOffMessage(3, 64),
                                                ProgramChangeMessage(1, 24)}));

    rig.Port().ClearSent();
    rig.midiOut->AllNotesOff();
    ASSERT_EQ(rig.Port().Sent().size(), 16u);
    for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(rig.Port().Sent()[ch].message, ControllerMessage(ch, 123));
}

TEST(TMidiOutImmediate, ResetControllersStopsAtTheFirstFailureWithTheSystemText) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->ResetControllers();
    ASSERT_EQ(rig.Port().Sent().size(), 16u);
    EXPECT_EQ(rig.Port().Sent()[5].message, ControllerMessage(5, 121));
    EXPECT_TRUE(rig.shown.empty());

    rig.Port().FailSends(true);
    rig.midiOut->ResetControllers();
    EXPECT_EQ(rig.shown, std::vector<std::string>{"recording device refused"});
    rig.midiOut->AllNotesOff();
    EXPECT_EQ(rig.shown.size(), 1u) << "other immediate errors are ignored";
}
