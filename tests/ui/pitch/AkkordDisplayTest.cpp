// The pitch exercise window's display: the play-style indicators, the light display of a played
// answer, the steps of progression chords under the staff, the piano's sound controls and the
// piano keys as accessible buttons.
#include "app/Random.h"
#include "exercises/pitch/PlayQuestion.h"
#include "notation/TSheet.h"
#include "pitch/PianoSoundControls.h"
#include "pitch/PlayStyleIndicators.h"
#include "pitch/TAkkord.h"
#include "pitch/TPiano.h"
#include "sound/MidiMessage.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QTest>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

// A pitch window on its seeded question clock; the clock goes back to the real one with the window,
// also when a test stops early.
struct SeededWindow {
    std::unique_ptr<TAkkord> window;
    ~SeededWindow() { app::SetRandomizeClock(nullptr); }
    TAkkord* operator->() const { return window.get(); }
};

SeededWindow window(ui::testing::RecordingHost& host, int exercise, int style) {
    auto block = host.setup.pitchBlock(exercise);
    block.playTogether = style == 0;
    block.arpeggioUp = style == 1;
    block.arpeggioDown = style == 2;
    block.tonic = 0;
    block.showFirstTone = 0;
    block.autoAnswer = 0;
    host.setup.setPitchBlock(exercise, block);
    std::string device;
    host.out.SelectDeviceByName(device);
    host.out.SetNotifyContext({true, static_cast<std::uint8_t>(exercise)});
    app::SetRandomizeClock([] { return std::uint64_t{7}; });
    auto w = std::make_unique<TAkkord>(exercise, host);
    w->resize(1100, 760);
    w->show();
    w->ShowAnswerPanels(pitch::answer_bits::kByName | pitch::answer_bits::kPiano |
                        pitch::answer_bits::kNotesheet);
    return {std::move(w)};
}

}  // namespace

TEST(AkkordDisplay, TheIndicatorShowsHowTheQuestionWasPlayed) {
    for (int style : {0, 1, 2}) {
        ui::testing::RecordingHost host;
        auto w = window(host, 1, style);
        EXPECT_FALSE(w->playStyles()->isVisible()) << "no question yet";
        w->NewQuestion();
        EXPECT_TRUE(w->playStyles()->isVisible());
        EXPECT_EQ(w->playStyles()->pressedIndex(), style);
        EXPECT_FALSE(w->playStyles()->indicator(style)->accessibleName().isEmpty());
    }
    ui::testing::RecordingHost host;
    auto scales = window(host, 8, 1);
    scales->NewQuestion();
    EXPECT_FALSE(scales->playStyles()->isVisible());
}

TEST(AkkordDisplay, AnAnswerPlayedUpwardsLightsNoteByNoteAndTheQuestionOnlyOnceJudged) {
    ui::testing::RecordingHost host;
    auto w = window(host, 1, 1);
    w->NewQuestion();
    w->SeqNotify(pitch::play_codes::kPlaybackFinished);
    // An unanswered question played again lights nothing.
    w->RepeatQuestion();
    EXPECT_TRUE(w->litNotes().empty());
    w->StopPlaying();
    const auto& notes = w->state().notes;
    ASSERT_GE(notes.size(), 3u);
    // The chord played on the keyboard, its keys held together.
    for (const auto& n : notes) w->MidiInput(sound::NoteOnMessage(0, static_cast<std::uint8_t>(n.pitch), 90));
    for (const auto& n : notes) w->MidiInput(sound::NoteOffMessage(0, static_cast<std::uint8_t>(n.pitch)));
    ASSERT_EQ(w->state().answer.notes.size(), notes.size());
    host.calls.clear();
    w->ButtonAction2();
    EXPECT_TRUE(host.calls.contains("startLight"));
    // The arpeggio starts with the lowest note and steps on every 150 ms tick.
    EXPECT_EQ(w->litNotes(), std::vector<int>{0});
    std::vector<std::vector<int>> seen{w->litNotes()};
    for (int step = 0; step < 40 && !w->litNotes().empty(); ++step) {
        w->LightDisplayStep();
        if (w->litNotes() != seen.back()) seen.push_back(w->litNotes());
    }
    EXPECT_TRUE(w->litNotes().empty()) << "the lights go out with the sound";
    EXPECT_TRUE(host.calls.contains("stopLight"));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[1].front(), 0) << "held arpeggio: the first note stays lit";
    EXPECT_EQ(seen[seen.size() - 2].size(), notes.size()) << "all held before they end";
    // Judged: a repeat lights the question behind the answer.
    w->ButtonAction3();
    w->RepeatQuestion();
    ASSERT_FALSE(w->litNotes().empty());
    EXPECT_GE(static_cast<std::size_t>(w->litNotes().front()), notes.size());
    w->StopPlaying();
    EXPECT_TRUE(w->litNotes().empty());
}

TEST(AkkordDisplay, ProgressionChordsAreNamedByStepAndChord) {
    ui::testing::RecordingHost host;
    auto w = window(host, 10, 0);
    w->NewQuestion();
    w->SeqNotify(pitch::play_codes::kPlaybackFinished);
    w->PreviewAnswer(w->state().entry, true);
    const auto& marks = w->sheet()->chordMarks();
    const auto chords = w->state().chords.size();
    ASSERT_EQ(marks.size(), 2 * chords) << "the answer's chords and the question's";
    // The question's chords are named as its catalogue entry names them.
    QStringList numerals;
    for (std::size_t k = chords; k < marks.size(); ++k) numerals << marks[k].numeral;
    EXPECT_EQ(numerals.join(" - ").toStdString(), w->state().row(w->state().entry).name);
    EXPECT_EQ(marks[0].numeral, marks[chords].numeral);
    EXPECT_FALSE(marks[0].name.isEmpty());
}

TEST(AkkordDisplay, PianoSoundControlsStepTheSettingsVoiceWithinRange) {
    ui::testing::RecordingHost host;
    host.current.pianoVoice = {0, 0, 125, 60};
    auto w = window(host, 1, 0);
    w->EnterExercise();
    auto* down = w->pianoSound()->findChild<QToolButton*>("ProgramDown");
    auto* up = w->pianoSound()->findChild<QToolButton*>("ProgramUp");
    auto* louder = w->pianoSound()->findChild<QToolButton*>("VelocityUp");
    ASSERT_TRUE(down && up && louder);
    down->click();
    EXPECT_EQ(host.current.pianoVoice.program, 0) << "no program below 0";
    up->click();
    EXPECT_EQ(host.current.pianoVoice.program, 1);
    const auto& sent = host.system.Output()->Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().message, sound::ProgramChangeMessage(0, 1));
    louder->click();
    louder->click();
    EXPECT_EQ(host.current.pianoVoice.velocity, 127);
    EXPECT_TRUE(w->pianoSound()->velocityText().endsWith("= 127"));
    EXPECT_FALSE(down->accessibleName().isEmpty());
}

TEST(AkkordDisplay, PianoKeysAreAccessibleButtonsThatEnterTheirNote) {
    ui::testing::RecordingHost host;
    auto w = window(host, 1, 0);
    w->NewQuestion();
    QAccessibleInterface* piano = QAccessible::queryAccessibleInterface(w->piano());
    ASSERT_NE(piano, nullptr);
    EXPECT_EQ(piano->childCount(), w->piano()->highestKey() - pitch::kPianoLowestKey + 1);
    QAccessibleInterface* c4 = piano->child(60 - pitch::kPianoLowestKey);
    ASSERT_NE(c4, nullptr);
    EXPECT_EQ(c4->text(QAccessible::Name), "C4");
    EXPECT_FALSE(c4->state().checked);
    c4->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(w->state().answer.notes.size(), 1u);
    EXPECT_EQ(w->state().answer.notes[0].pitch - w->state().displayShift, 60);
    EXPECT_TRUE(c4->state().checked) << "in the answer";
    EXPECT_FALSE(c4->text(QAccessible::Description).isEmpty());
}
