// The pitch exercise window in its six modes, driven through whole questions on the recording
// MIDI device: the question played, the sequencer's notices, a right and a wrong answer, the score
// and the counts per catalogue entry.
#include "app/Random.h"
#include "app/TControlButton.h"
#include "exercises/pitch/PlayQuestion.h"
#include "notation/TSheet.h"
#include "pitch/MicMeter.h"
#include "pitch/NameButtons.h"
#include "pitch/TAkkord.h"
#include "pitch/TGuitar.h"
#include "pitch/TPiano.h"
#include "pitch/TickIcon.h"
#include "sound/MidiMessage.h"
#include "theory/Tables.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kalvintor;
using namespace kalvintor::ui;
using pitch::ExerciseMode;

namespace {

// Two entries of each exercise's table to ask from (progressions: two of two chords each).
std::pair<int, int> twoEntries(int exercise) {
    switch (exercise) {
        case 2:
            return {5, 8};  // major third, perfect fifth
        case 10: {
            const auto& table = theory::BuiltInCatalogue().progressions();
            for (int a = 1; a <= theory::kCatalogueEntries; ++a)
                for (int b = a + 1; b <= theory::kCatalogueEntries; ++b)
                    if (table.entry(a).noteCount() > 0 &&
                        table.entry(a).noteCount() == table.entry(b).noteCount())
                        return {a, b};
            return {1, 2};
        }
        default:
            return {1, 2};
    }
}

// The window of an exercise on a recording host; its setup offers two entries on one root,
// played together, with no tonic.
struct Fixture {
    ui::testing::RecordingHost host;
    std::unique_ptr<TAkkord> window;
    int exercise;

    explicit Fixture(int e, bool autoAnswer = false) : exercise(e) {
        if (e == 9) {
            auto melody = host.setup.melodyBlock();
            melody.tonic = 0;
            melody.rhythm = 0;
            melody.length = 4;
            melody.showFirstTone = 0;
            melody.autoAnswer = autoAnswer ? 1 : 0;
            host.setup.setMelodyBlock(melody);
        } else {
            auto block = host.setup.pitchBlock(e);
            block.entryEnabled.fill(0);
            const auto [a, b] = twoEntries(e);
            block.entryEnabled[static_cast<std::size_t>(a - 1)] = 1;
            block.entryEnabled[static_cast<std::size_t>(b - 1)] = 1;
            block.playTogether = 1;
            block.arpeggioUp = 0;
            block.arpeggioDown = 0;
            block.tonic = 0;
            block.showFirstTone = 0;
            block.autoAnswer = autoAnswer ? 1 : 0;
            block.rootMovement = 0;
            block.lowerLimit = 60;
            block.upperLimit = 61;
            host.setup.setPitchBlock(e, block);
        }
        std::string device;
        host.out.SelectDeviceByName(device);
        host.out.SetNotifyContext({true, static_cast<std::uint8_t>(e)});
        app::SetRandomizeClock([] { return std::uint64_t{11}; });
        window = std::make_unique<TAkkord>(e, host);
        window->resize(1100, 760);
        window->show();
    }
    ~Fixture() { app::SetRandomizeClock(nullptr); }

    TControlButton& strip() const { return *window->ControlButton; }
    std::vector<bool> enabled() const {
        return std::vector<bool>(strip().ButtonEnabled.begin(), strip().ButtonEnabled.end());
    }
    std::size_t starts() const { return host.system.Output()->Starts().size(); }
    const sound::Timeline& lastTimeline() const { return host.system.Output()->Starts().back().timeline; }
    void press(int button) const {
        strip().PressButton(button);
        window->ControlButtonUpAction();
    }
    // A new question played to its end, as the sequencer reports it.
    void ask() const {
        press(0);
        window->SeqNotify(pitch::play_codes::kPlaybackFinished);
    }
    int otherEntry() const {
        for (int e : window->state().enabledList)
            if (e != window->state().entry) return e;
        return 0;
    }
    void key(int pitch, bool on) const {
        window->MidiInput(on ? sound::NoteOnMessage(0, static_cast<std::uint8_t>(pitch), 100)
                             : sound::NoteOffMessage(0, static_cast<std::uint8_t>(pitch)));
    }
};

std::vector<int> keysOf(const sound::Timeline& timeline) {
    std::vector<int> keys;
    for (const auto& e : timeline.events)
        if (e.kind == sound::SeqEventKind::Message && sound::IsNoteOn(e.message))
            keys.push_back(sound::Data1Of(e.message));
    return keys;
}

std::vector<int> noticesOf(const sound::Timeline& timeline) {
    std::vector<int> codes;
    for (const auto& e : timeline.events)
        if (e.kind == sound::SeqEventKind::Notify) codes.push_back(e.code);
    return codes;
}

}  // namespace

TEST(Akkord, EachModeAsksPlaysAndJudgesByName) {
    for (int e : {1, 2, 7, 8, 10}) {
        SCOPED_TRACE(::testing::Message() << "exercise " << e);
        Fixture f(e);
        EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, false, false}));
        ASSERT_EQ(f.window->nameButtons()->buttons().size(), 2u);

        f.press(0);
        ASSERT_EQ(f.starts(), 1u);
        const auto& s = f.window->state();
        // The question's notes sound together on the recording device and the notice ends it.
        std::vector<int> asked;
        for (const auto& n : e == 10 ? s.voiced : s.notes)
            if (n.pitch > 0) asked.push_back(n.pitch);
        EXPECT_EQ(keysOf(f.lastTimeline()), asked);
        EXPECT_EQ(noticesOf(f.lastTimeline()), std::vector<int>{pitch::play_codes::kPlaybackFinished});
        EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, true, true})) << "while it plays";
        f.window->SeqNotify(pitch::play_codes::kPlaybackFinished);
        EXPECT_EQ(f.enabled(), (std::vector<bool>{true, true, false, true, false}));
        EXPECT_EQ(f.strip().FocusIndex, 3);

        // Right: the question's own button, right-clicked.
        const int right = s.entry;
        NameButton* rightButton = f.window->nameButtons()->button(right);
        ASSERT_NE(rightButton, nullptr);
        QTest::mouseClick(rightButton, Qt::RightButton);
        EXPECT_EQ(f.window->QuestionCount, 1);
        EXPECT_EQ(f.window->CorrectCount, 1);
        const QString score = e == 10 ? "Chords: %1 of %2" : "Score: %1 of %2";
        EXPECT_EQ(f.host.scoreLabel, score.arg(1).arg(1));
        EXPECT_EQ(s.row(right).asked, 1);
        EXPECT_EQ(s.row(right).right, 1);
        EXPECT_TRUE(f.window->feedbackLabel()->text().startsWith("Correct"))
            << f.window->feedbackLabel()->text().toStdString();
        EXPECT_TRUE(f.window->tick()->isVisible());
        EXPECT_EQ(rightButton->shade(), NameButton::Shade::Right);
        EXPECT_TRUE(f.host.calls.contains("blink:200"));

        // Wrong: the other entry. The new question starts a playback of its own: nothing of the
        // first one sounds again.
        f.ask();
        ASSERT_EQ(f.starts(), 2u);
        std::vector<int> second;
        for (const auto& n : e == 10 ? s.voiced : s.notes)
            if (n.pitch > 0) second.push_back(n.pitch);
        EXPECT_EQ(keysOf(f.lastTimeline()), second);
        const int asked2 = s.entry;
        const int wrong = f.otherEntry();
        f.window->PreviewAnswer(wrong, true);
        EXPECT_EQ(f.window->QuestionCount, 2);
        EXPECT_EQ(f.window->CorrectCount, 1);
        EXPECT_EQ(f.host.scoreLabel, score.arg(1).arg(2));
        EXPECT_EQ(s.row(asked2).asked, asked2 == right ? 2 : 1);
        EXPECT_EQ(s.row(asked2).right, asked2 == right ? 1 : 0);
        EXPECT_TRUE(f.window->feedbackLabel()->text().startsWith("Wrong"));
        EXPECT_FALSE(f.window->tick()->isVisible());
        EXPECT_EQ(f.window->nameButtons()->button(wrong)->shade(), NameButton::Shade::Wrong);
        EXPECT_EQ(f.window->nameButtons()->button(asked2)->shade(), NameButton::Shade::Right);
        // Once judged, a further answer counts nothing.
        f.window->PreviewAnswer(asked2, true);
        EXPECT_EQ(f.window->QuestionCount, 2);
    }
}

TEST(Akkord, AMelodyIsAnsweredNoteByNoteAndCountedPerNote) {
    for (bool right : {true, false}) {
        SCOPED_TRACE(right ? "right" : "wrong");
        Fixture f(9);
        EXPECT_FALSE(f.window->nameButtons()->isVisible()) << "a melody has no names to choose";
        f.press(0);
        const auto notes = f.window->state().notes;
        ASSERT_EQ(notes.size(), 4u);
        std::vector<int> played;
        for (const auto& n : notes) played.push_back(n.pitch);
        EXPECT_EQ(keysOf(f.lastTimeline()), played);
        f.window->SeqNotify(pitch::play_codes::kPlaybackFinished);
        for (const auto& n : notes) {
            const int p = right ? n.pitch : n.pitch + 1;
            f.key(p, true);
            f.key(p, false);
        }
        f.press(3);
        EXPECT_EQ(f.window->QuestionCount, 4);
        EXPECT_EQ(f.window->CorrectCount, right ? 4 : 0);
        EXPECT_EQ(f.window->feedbackLabel()->text(), right ? "Correct" : "0 of 4 notes right");
    }
}

TEST(Akkord, NotesFromTheKeyboardAndTheScreenInstrumentsFormTheAnswer) {
    Fixture f(1, true);
    f.window->ShowAnswerPanels(pitch::answer_bits::kPiano | pitch::answer_bits::kNotesheet);
    f.ask();
    const auto question = f.window->state().notes;
    // A key far outside every instrument's range is not taken; nor is a key before the question
    // ends being judged without the student's doing.
    f.key(10, true);
    f.key(10, false);
    EXPECT_TRUE(f.window->state().answer.notes.empty());
    // The chord played on the screen piano: auto answer judges it once it is complete.
    TPiano* piano = f.window->piano();
    for (const auto& n : question) {
        const int shown = n.pitch - f.window->state().displayShift;
        QTest::mouseClick(piano, Qt::LeftButton, Qt::NoModifier, piano->keyCentre(shown));
    }
    EXPECT_EQ(f.window->QuestionCount, 1);
    EXPECT_EQ(f.window->CorrectCount, 1);
    // The staff shows the answer in green and the question behind it.
    const auto& heads = f.window->sheet()->picture().heads;
    ASSERT_EQ(heads.size(), 2 * question.size());
    EXPECT_EQ(heads.front().ink, kalvintor::notation::Ink::Right);
    EXPECT_EQ(heads.back().ink, kalvintor::notation::Ink::Question);

    // A click between the keys' rows below the keyboard is nothing.
    f.ask();
    QTest::mouseClick(piano, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(f.window->state().answer.notes.empty());
    // A chord played on the MIDI keyboard, one key after another while held.
    for (const auto& n : f.window->state().notes) f.key(n.pitch + 1, true);
    for (const auto& n : f.window->state().notes) f.key(n.pitch + 1, false);
    EXPECT_EQ(f.window->QuestionCount, 1) << "a wrong chord is not judged by itself";
    f.press(3);
    EXPECT_EQ(f.window->QuestionCount, 2);
    EXPECT_EQ(f.window->CorrectCount, 1);
    EXPECT_EQ(f.window->sheet()->picture().heads.front().ink, kalvintor::notation::Ink::Wrong);
}

TEST(Akkord, TheNotesheetEntersClickedNotesWithTheirSpelling) {
    Fixture f(2);
    f.window->ShowAnswerPanels(pitch::answer_bits::kNotesheet);
    f.ask();
    TSheet* sheet = f.window->sheet();
    const auto& g = sheet->geometry();
    // The top line of the upper staff, dragged 30 pixels right: F sharp 5.
    const QPoint at(sheet->picture().firstColumnX + 60, g.top);
    QTest::mousePress(sheet, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(sheet, at + QPoint(30, 0));
    QTest::mouseRelease(sheet, Qt::LeftButton, Qt::NoModifier, at + QPoint(30, 0));
    ASSERT_EQ(f.window->state().answer.notes.size(), 1u);
    EXPECT_EQ(f.window->state().answer.notes[0].pitch, 78);
    EXPECT_EQ(f.window->state().answer.notes[0].spellOffset, -1);
    // Far below the staves nothing is entered.
    const int below = g.lowerBottom() + 6 * g.spacing;
    ASSERT_LT(below, sheet->height());
    QTest::mouseClick(sheet, Qt::LeftButton, Qt::NoModifier, QPoint(at.x(), below));
    EXPECT_EQ(f.window->state().answer.notes.size(), 1u);
    // The right button chooses the delete tool; a click on the note removes it.
    QTest::mouseClick(sheet, Qt::RightButton, Qt::NoModifier, at);
    ASSERT_EQ(sheet->tool(), TSheet::Tool::Delete);
    const auto& head = sheet->picture().heads.front();
    QTest::mouseClick(sheet, Qt::LeftButton, Qt::NoModifier, QPoint(head.x + 8, head.y));
    EXPECT_TRUE(f.window->state().answer.notes.empty());
}

TEST(Akkord, ASetupThatOffersNothingSaysSoAndAsksNothing) {
    ui::testing::RecordingHost host;
    auto block = host.setup.pitchBlock(1);
    block.entryEnabled.fill(0);
    host.setup.setPitchBlock(1, block);
    TAkkord window(1, host);
    EXPECT_FALSE(window.ControlButton->ButtonEnabled[0]);
    EXPECT_TRUE(window.feedbackLabel()->text().startsWith("This setup offers nothing to ask"));
    window.NewQuestion();
    window.ButtonAction3();
    window.PreviewAnswer(1, true);
    window.MicPitch(64);
    EXPECT_EQ(window.QuestionCount, 0);
    EXPECT_TRUE(window.Answered);
}

TEST(Akkord, TheMicrophoneStripShowsTheLevelHeardAndWhatIsWrongWithTheInput) {
    Fixture f(2);
    f.window->MicrophoneAnswering(true);
    MicMeter& meter = *f.window->micMeter();
    using State = sound::MicReading::State;
    struct Case {
        sound::MicReading reading;
        QString startsWith;
    };
    const Case cases[] = {
        {{State::Listening, -28.0}, "Sing the answer"},
        {{State::NoSignal, sound::kMicSilentDb}, "No sound from the microphone"},
        {{State::Clipping, -0.5}, "The microphone is too loud"},
        {{State::Lost, sound::kMicSilentDb}, "The microphone has gone away"},
        {{State::Listening, -40.0}, "Sing the answer"},
    };
    for (const Case& c : cases) {
        f.host.micReading = c.reading;
        meter.readLevel();
        EXPECT_EQ(meter.levelDb(), c.reading.levelDb);
        EXPECT_TRUE(meter.heardText().startsWith(c.startsWith)) << meter.heardText().toStdString();
        EXPECT_EQ(meter.accessibleDescription(), meter.heardText());
    }
    // A sung note is named while the input is fine.
    f.window->MicPitch(64);
    EXPECT_TRUE(meter.heardText().startsWith("Heard: E")) << meter.heardText().toStdString();
}

TEST(Akkord, NamesAreChosenFromTheKeyboardAloneAndEveryControlIsNamed) {
    Fixture f(2);
    f.ask();
    NameButton* right = f.window->nameButtons()->button(f.window->state().entry);
    ASSERT_NE(right, nullptr);
    right->setFocus();
    QTest::keyClick(right, Qt::Key_Space);
    EXPECT_FALSE(f.window->Answered) << "Space only previews the entry";
    EXPECT_EQ(f.window->state().answer.notes.size(), 2u);
    QTest::keyClick(right, Qt::Key_Return);
    EXPECT_TRUE(f.window->Answered);
    EXPECT_EQ(f.window->CorrectCount, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{f.window->piano(), f.window->guitar(),
                                                      f.window->sheet(), f.window->nameButtons()})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    for (NameButton* b : f.window->nameButtons()->buttons()) EXPECT_EQ(b->accessibleName(), b->text());
    // The piano names the key the keyboard focus is on.
    f.window->ShowAnswerPanels(pitch::answer_bits::kPiano);
    f.window->piano()->setFocus();
    QTest::keyClick(f.window->piano(), Qt::Key_Right);
    EXPECT_EQ(f.window->piano()->accessibleDescription(), "Db4");
}

TEST(Akkord, AProgressionIsAnsweredChordByChordOnThePianoAndTheTypeBar) {
    Fixture f(10);
    f.window->ShowAnswerPanels(pitch::answer_bits::kPiano);
    f.ask();
    const auto chords = f.window->state().chords;
    ASSERT_GE(chords.size(), 2u);
    TPiano* piano = f.window->piano();
    for (const auto& chord : chords) {
        // The root's key in any octave, then the chord's type on its button.
        const int shown = 48 + theory::floorMod(chord.pitch, 12);
        QTest::mouseClick(piano, Qt::LeftButton, Qt::NoModifier, piano->keyCentre(shown));
        int symbol = 0;
        while (theory::ProgressionChordTypes[static_cast<std::size_t>(symbol)] != chord.extra) ++symbol;
        QPushButton* type = f.window->chordTypeButton(symbol);
        ASSERT_NE(type, nullptr);
        QTest::mouseClick(type, Qt::LeftButton);
    }
    EXPECT_FALSE(f.window->Answered) << "judged only when asked, without auto answer";
    f.press(3);
    EXPECT_EQ(f.window->QuestionCount, 1);
    EXPECT_EQ(f.window->CorrectCount, 1);
    EXPECT_FALSE(f.window->chordTypeButton(0)->isEnabled()) << "the type bar rests once judged";
}
