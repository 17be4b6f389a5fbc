// The queued event lists of QueueNotes, QueueSound, QueueNotify and QueueProgramChange.
#include "SoundRig.h"

#include "sound/MidiMessage.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::sound;
using kalvintor::sound::testing::SoundRig;

namespace {

constexpr auto kMsg = SeqEventKind::Message;
constexpr auto kNote = SeqEventKind::Notify;

QueuedEvent On(std::int64_t tick, int key, int velocity, int channel = 0, std::uint8_t track = 1) {
    return {track, tick, kMsg, NoteOnMessage(channel, key, velocity), 0, 0};
}
QueuedEvent Off(std::int64_t tick, int key, int channel = 0, std::uint8_t track = 1) {
    return {track, tick, kMsg, NoteOffMessage(channel, key), 0, 0};
}
QueuedEvent Notice(std::uint8_t track, std::int64_t tick, std::uint16_t code, std::uint16_t window) {
    return {track, tick, kNote, 0, code, window};
}

// C, E, G with accents 2, 1, 0 and durations quarter, eighth, half.
const std::vector<QueuedNote> kTriad = {{60, 3, 2}, {64, 4, 1}, {67, 2, 0}};

}  // namespace

TEST(QueueNotes, EachModeQueuesItsSequenceOnTrackOne) {
    struct Case {
        NoteMode mode;
        std::vector<QueuedEvent> events;
        std::int64_t length;
    };
    // Piano voice velocity 110: accents sound at 110, 104, 98.
    const Case cases[] = {
        {NoteMode::Together,
         {On(0, 60, 110), On(0, 64, 104), On(0, 67, 98), Off(1344, 60), Off(1344, 64), Off(1344, 67)},
         1344},
        {NoteMode::Upward,
         {On(0, 60, 110), Off(500, 60), On(550, 64, 104), Off(1050, 64), On(1100, 67, 98), Off(1600, 67)},
         1650},
        {NoteMode::Downward,
         {On(0, 67, 98), Off(500, 67), On(550, 64, 104), Off(1050, 64), On(1100, 60, 110), Off(1600, 60)},
         1650},
        {NoteMode::Silent, {}, 0},
        {NoteMode::Melody,
         {On(0, 60, 110), Off(622, 60), On(672, 64, 104), Off(958, 64), On(1008, 67, 98), Off(2302, 67)},
         2352},
        {NoteMode::ArpeggioUpHeld,
         {On(0, 60, 110), On(500, 64, 104), On(1000, 67, 98), Off(2000, 60), Off(2000, 64), Off(2000, 67)},
         2000},
        {NoteMode::ArpeggioDownHeld,
         {On(0, 67, 98), On(500, 64, 104), On(1000, 60, 110), Off(2000, 60), Off(2000, 64), Off(2000, 67)},
         2000},
    };
    for (const Case& c : cases) {
        SoundRig rig;
        rig.Create();
        rig.midiOut->QueueNotes(kTriad, 3, c.mode, false);
        EXPECT_EQ(rig.sequencer.Queued(), c.events) << "mode " << int(c.mode);
        EXPECT_EQ(TrackLengthTicks(rig.sequencer.Track(1)), c.length) << "mode " << int(c.mode);
        EXPECT_TRUE(rig.sequencer.Track(2).empty());
    }
}

TEST(QueueNotes, VelocityIsRaisedToFifteenBeforeTheAccentStep) {
    SoundRig rig;
    rig.settings.pianoVoice.velocity = 10;
    rig.Create();
    rig.midiOut->QueueNotes(kTriad, 3, NoteMode::Together, false);
    const auto q = rig.sequencer.Queued();
    EXPECT_EQ(Data2Of(q[0].message), 15);
    EXPECT_EQ(Data2Of(q[1].message), 9);
    EXPECT_EQ(Data2Of(q[2].message), 3);
}

TEST(QueueNotes, GuitarVoiceSoundsAnOctaveLowerUnlessLight) {
    for (bool light : {false, true}) {
        SoundRig rig;
        rig.settings.guitarVoice = {1, 24, 100, 60};
        rig.settings.lightGuitar = light;
        rig.Create();
        rig.midiOut->QueueNotes(kTriad, 1, NoteMode::Together, true);
        const int key = light ? 60 : 48;
        EXPECT_EQ(rig.sequencer.Queued(), (std::vector<QueuedEvent>{On(0, key, 100, 1), Off(1344, key, 1)}))
            << "light " << light;
    }
}

TEST(QueueNotes, DamagedItemsNeitherWrapNorReadOutsideTheTables) {
    SoundRig rig;
    rig.Create();
    // A key the guitar transposition pushes below 0, an accent above 2, a duration index of 9.
    const std::vector<QueuedNote> notes = {{5, 3, 2}, {70, 9, 7}};
    rig.midiOut->QueueNotes(notes, 2, NoteMode::Melody, true);
    EXPECT_EQ(rig.sequencer.Queued(), (std::vector<QueuedEvent>{On(672, 58, 110, 1), Off(1294, 58, 1)}));
    // A count beyond the array plays what is there.
    SoundRig more;
    more.Create();
    more.midiOut->QueueNotes(kTriad, 200, NoteMode::Together, false);
    EXPECT_EQ(more.sequencer.Queued().size(), 6u);
}

TEST(QueueSound, PreAndPostCodesAroundOneSoundOnTrackTwo) {
    SoundRig rig;
    rig.Create();
    const settings::TSoundRec click{9, 0, 110, 37};
    // A metronome beat: pre-code 4 × 256 + 2 reaches the main window as that code.
    rig.midiOut->QueueSound(672, 2, 4 * 256 + 2, 19, click, false);
    rig.midiOut->QueueSound(336, 20, 0, 0, click, false);  // velocity step beyond the velocity: 0
    rig.midiOut->QueueSound(672, 0, 0, 17, click, true);
    EXPECT_EQ(rig.sequencer.Queued(),
              (std::vector<QueuedEvent>{Notice(2, 0, 4 * 256 + 2, kWindowMain), On(0, 37, 90, 9, 2),
                                        Off(672, 37, 9, 2), Notice(2, 672, 19, kWindowRhythmImitation),
                                        On(672, 37, 0, 9, 2), Off(1008, 37, 9, 2),
                                        Notice(2, 1680, 17, kWindowRhythmImitation)}));
    EXPECT_EQ(TrackLengthTicks(rig.sequencer.Track(2)), 1680);
    EXPECT_TRUE(rig.sequencer.Track(1).empty());
}

TEST(QueueNotify, RoutesByLowByteAndDropsWhatNobodyReceives) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->SetNotifyContext({false, 2});
    for (std::uint16_t code : {0, 1, 42, 55, 33, 105, 77}) rig.midiOut->QueueNotify(code);
    rig.midiOut->QueueProgramChange(24, 1);
    EXPECT_EQ(rig.sequencer.Queued(),
              (std::vector<QueuedEvent>{Notice(1, 0, 42, kWindowIntervalComparison),
                                        Notice(1, 0, 55, 2),
                                        {1, 0, kMsg, ProgramChangeMessage(1, 24), 0, 0},
                                        Notice(2, 0, 33, kWindowRhythmCorrection),
                                        Notice(2, 0, 5, kWindowMain)}));
    rig.midiOut->SetNotifyContext({true, 2});
    rig.midiOut->QueueNotify(2);
    EXPECT_EQ(rig.sequencer.Queued().back(), Notice(2, 0, 2, kWindowSettingsDialog));
}

TEST(QueueStop, StopClearsBothTracksAndSilencesEveryChannel) {
    SoundRig rig;
    rig.Create();
    rig.midiOut->QueueNotes(kTriad, 3, NoteMode::Together, false);
    rig.midiOut->QueueNotify(105);
    rig.midiOut->Stop();
    EXPECT_TRUE(rig.sequencer.Queued().empty());
    EXPECT_EQ(rig.Port().Clears(), 1);
    EXPECT_EQ(rig.Port().Sent().size(), 16u);
}
