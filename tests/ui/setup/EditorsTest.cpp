// The chord-type and progression editors, alone and opened from the setup view's grid.
#include "SetupViewDoubles.h"
#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/Generation.h"
#include "notation/TSheet.h"
#include "pitch/TGuitar.h"
#include "theory/Naming.h"
#include "ui/setup/TAkkProgEdit.h"
#include "ui/setup/TChordEdit.h"
#include "ui/setup/TChordOps.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

ui::testing::FakeSetupHost& pictured(ui::testing::FakeSetupHost& host, int picture) {
    host.picture = picture;
    return host;
}

// A chord-type editor on screen for `exercise`, its notes entered on the instrument of answer
// picture `picture` (8 the staff, 4 the guitar).
struct EditorOnScreen {
    EditorOnScreen(int picture, int exercise, QSize size) : edit(pictured(host, picture)) {
        edit.resize(size);
        edit.begin({}, exercise);
        edit.show();
    }
    ui::testing::FakeSetupHost host;
    TChordEdit edit;
};

void clickKey(EditKeyboard* keyboard, int pitch, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(keyboard, button, {}, keyboard->keyCentre(pitch));
}

TEST(ChordEdit, NotesComeFromTheKeyboardAndBadEntriesAreRefusedWithAReason) {
    ui::testing::FakeSetupHost host;
    TChordEdit edit(host);
    edit.begin({}, 1);
    edit.show();
    for (int p : {67, 60, 64, 64}) clickKey(edit.Keyboard, p);
    ASSERT_EQ(edit.entry().count, 3) << "the second E is not entered";
    EXPECT_EQ(edit.entry().notes[0].pitch, 60);
    EXPECT_EQ(edit.NotesLabel->text(), "C  E  G");
    clickKey(edit.Keyboard, 64, Qt::RightButton);
    EXPECT_EQ(edit.entry().count, 2);
    EXPECT_EQ(edit.Keyboard->pitchAt(edit.Keyboard->keyCentre(61)), 61);

    edit.ClearEntry();
    edit.OkButton->click();
    EXPECT_TRUE(edit.isVisible()) << "no notes: OK does not close";
    EXPECT_FALSE(edit.ProblemLabel->text().isEmpty());
}

TEST(ChordEdit, NotesFromTheMidiKeyboard) {
    ui::testing::FakeSetupHost host;
    TChordEdit edit(host);
    edit.begin({}, 1);
    const auto message = [](int status, int key, int velocity) {
        return static_cast<std::uint32_t>(status | key << 8 | velocity << 16);
    };
    edit.MidiInput(message(0x80, 64, 0));
    EXPECT_EQ(edit.heldKeys(), 0) << "a note-off without its note-on";
    edit.MidiInput(message(0x90, 64, 90));
    edit.MidiInput(message(0x91, 60, 90));
    edit.MidiInput(message(0x90, 90, 90));  // above the range
    edit.MidiInput(message(0xB0, 61, 90));  // not a note
    EXPECT_EQ(edit.heldKeys(), 2);
    ASSERT_EQ(edit.entry().count, 2);
    EXPECT_EQ(edit.entry().notes[0].pitch, 60);
    edit.MidiInput(message(0x90, 64, 0));
    EXPECT_EQ(edit.heldKeys(), 1);
}

TEST(ChordEdit, NotesComeFromTheStaffWithItsSpellingAndItsDeleteTool) {
    EditorOnScreen screen(8, 1, {640, 420});
    TChordEdit& edit = screen.edit;
    ASSERT_TRUE(edit.Sheet->isVisible());
    EXPECT_FALSE(edit.Keyboard->isVisible());
    EXPECT_TRUE(edit.AddNotesButton->isVisible() && edit.AddNotesButton->isChecked());
    const auto at = [&](int naturalPitch) {
        return QPoint(edit.Sheet->width() / 2, edit.Sheet->geometry().noteY(naturalPitch, false));
    };
    // C, then E and G above it on the treble staff.
    for (int p : {60, 64, 67}) QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, at(p));
    ASSERT_EQ(edit.entry().count, 3);
    EXPECT_EQ(edit.NotesLabel->text(), "C  E  G");
    // The delete tool takes the E out where it is drawn.
    edit.DeleteNotesButton->click();
    EXPECT_EQ(edit.Sheet->tool(), TSheet::Tool::Delete);
    QPoint e;
    for (const auto& head : edit.Sheet->picture().heads)
        if (edit.entry().notes[static_cast<std::size_t>(head.index)].pitch == 64)
            e = QPoint(head.x + 4, head.y);
    ASSERT_NE(e, QPoint());
    QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, e);
    EXPECT_EQ(edit.NotesLabel->text(), "C  G");
}

TEST(ChordEdit, AScaleOnTheStaffTakesANoteWhereItIsPressed) {
    EditorOnScreen screen(8, 8, {640, 420});
    TChordEdit& edit = screen.edit;
    ASSERT_FALSE(edit.Sheet->chordLike) << "a scale's notes stand in sequence";
    const auto y = [&](int naturalPitch) { return edit.Sheet->geometry().noteY(naturalPitch, false); };
    const int right = edit.Sheet->width() - 40;
    QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, QPoint(right, y(60)));
    QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, QPoint(right, y(64)));
    ASSERT_EQ(edit.NotesLabel->text(), "C  E");
    // A press between the two columns puts G between them.
    const auto& columns = edit.Sheet->picture().columnX;
    ASSERT_GE(columns.size(), 2u);
    QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, QPoint((columns[0] + columns[1]) / 2 + 2, y(67)));
    EXPECT_EQ(edit.NotesLabel->text(), "C  G  E");
}

TEST(ChordEdit, NotesComeFromTheGuitarOnTheStringPlayed) {
    EditorOnScreen screen(4, 1, {700, 420});
    TChordEdit& edit = screen.edit;
    ASSERT_TRUE(edit.Guitar->isVisible());
    EXPECT_FALSE(edit.Sheet->isVisible());
    EXPECT_FALSE(edit.AddNotesButton->isVisible());
    // The guitar shows its notes as written, an octave above their sound: the open low E (52) is
    // below the range; the A string's third fret (C 60) and the D string's second (E 64) go in.
    QTest::mouseClick(edit.Guitar, Qt::LeftButton, {}, edit.Guitar->fretCentre(6, 0));
    QTest::mouseClick(edit.Guitar, Qt::LeftButton, {}, edit.Guitar->fretCentre(5, 3));
    QTest::mouseClick(edit.Guitar, Qt::LeftButton, {}, edit.Guitar->fretCentre(4, 2));
    ASSERT_EQ(edit.entry().count, 2);
    EXPECT_EQ(edit.entry().notes[0].pitch, 60);
    EXPECT_EQ(edit.entry().notes[1].pitch, 64);
    EXPECT_EQ(edit.NotesLabel->text(), "C  E");
    // The high E (76) played on the B string's fifth fret stays on that string.
    QTest::mouseClick(edit.Guitar, Qt::LeftButton, {}, edit.Guitar->fretCentre(2, 5));
    ASSERT_EQ(edit.entry().count, 3);
    EXPECT_EQ(edit.entry().notes[2].guitarString & 0x0F, 2);
    QTest::mouseClick(edit.Guitar, Qt::RightButton, {}, edit.Guitar->fretCentre(2, 5));
    // A right click takes a note out.
    QTest::mouseClick(edit.Guitar, Qt::RightButton, {}, edit.Guitar->fretCentre(4, 2));
    EXPECT_EQ(edit.entry().count, 1);
}

TEST(ChordEdit, StoredNotesOutsideTheRangeAreLeftOut) {
    ui::testing::FakeSetupHost host;
    TChordEdit edit(host);
    theory::CatalogueEntry stored;
    stored.name = "Wide";
    stored.count = 3;
    stored.notes[0].pitch = 48;
    stored.notes[1].pitch = 60;
    stored.notes[2].pitch = 90;
    edit.begin(stored, 1);
    ASSERT_EQ(edit.entry().count, 1);
    EXPECT_EQ(edit.entry().notes[0].pitch, 60);
    EXPECT_EQ(edit.Edit1->text(), "Wide");
}

TEST(ChordEdit, InversionModeBuildsTheInversionFromAChordType) {
    ui::testing::FakeSetupHost host;
    TChordEdit edit(host);
    edit.begin({}, 7);
    edit.show();
    EXPECT_FALSE(edit.Keyboard->isEnabled());
    EXPECT_FALSE(edit.Edit1->isVisible());
    EXPECT_EQ(edit.ComboBox1->currentIndex(), 0);
    const auto visibleInversions = [&edit] {
        int n = 0;
        for (auto* b : edit.RadioGroup1->findChildren<QRadioButton*>()) n += b->isVisible() ? 1 : 0;
        return n;
    };
    EXPECT_EQ(visibleInversions(), 3) << "a triad: root position and two inversions";
    edit.RadioGroup1->findChild<QRadioButton*>("Inversion1")->click();
    ASSERT_EQ(edit.entry().count, 3);
    EXPECT_EQ(edit.entry().notes[0].pitch, 64);
    EXPECT_EQ(edit.entry().notes[2].pitch, 72);
    EXPECT_EQ(edit.entry().notes[1].extra, 1);
    EXPECT_EQ(edit.Edit1->text().toStdString(),
              host.catalogue.catalogue.chordTypes().entry(1).name + " (1. inversion)");
}

TEST(ProgressionEdit, NewProgressionsStepsAndRows) {
    ui::testing::FakeSetupHost host;
    TAkkProgEdit edit(host);
    edit.begin({});
    EXPECT_EQ(edit.TrackBar1->value(), 2);
    EXPECT_EQ(edit.stepLists[0]->currentText(), "I");
    EXPECT_EQ(edit.typeLists[1]->currentIndex(), 0);
    EXPECT_FALSE(edit.stepLists[2]->isEnabled());
    edit.stepLists[0]->setCurrentIndex(8);  // bVI
    edit.StoreChords();
    EXPECT_EQ(edit.entry().notes[0].pitch, 68);
    EXPECT_EQ(edit.entry().notes[0].spellOffset, 1);
    edit.stepLists[0]->setCurrentIndex(9);  // VI
    edit.StoreChords();
    EXPECT_EQ(edit.entry().notes[0].pitch, 69);
    EXPECT_EQ(edit.entry().notes[0].spellOffset, 0);
    EXPECT_EQ(edit.Label11->text(), "VI - I");

    edit.TrackBar1->setValue(4);
    edit.stepLists[3]->setCurrentIndex(7);
    edit.TrackBar1->setValue(3);
    EXPECT_FALSE(edit.stepLists[3]->isEnabled());
    EXPECT_EQ(edit.stepLists[3]->currentIndex(), 7) << "the lower rows keep their values";
    EXPECT_EQ(edit.entry().count, 3);
}

// Answers the next modal editor with `fill`, then OK.
template <typename Editor>
void answerEditor(std::function<void(Editor&)> fill) {
    QTimer::singleShot(0, [fill] {
        auto* editor = qobject_cast<Editor*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        fill(*editor);
        editor->OkButton->click();
    });
}

bool gridShows(const TChordOps& ops, const QString& text) {
    for (int r = 0; r < ops.DrawGrid1->rowCount(); ++r)
        for (int c = 0; c < ops.DrawGrid1->columnCount(); ++c)
            if (ops.DrawGrid1->item(r, c) && ops.DrawGrid1->item(r, c)->text().contains(text)) return true;
    return false;
}

TEST(ChordOps, AChordTypeAddedIsOfferedShownAndSurvivesARestart) {
    ui::testing::FakeSetupHost host;
    TChordOps ops(host);
    ops.resize(1000, 700);
    ops.show();
    setup::SetupRecord setup = setup::DefaultSetup();
    ops.LoadSetup(1, setup);
    answerEditor<TChordEdit>([](TChordEdit& e) {
        e.Edit1->setText("Quartal");
        for (int p : {60, 65, 70}) clickKey(e.Keyboard, p);
    });
    ops.AddButton->click();
    EXPECT_TRUE(gridShows(ops, "Quartal"));
    EXPECT_TRUE(ops.entryOffered(32));
    EXPECT_EQ(host.edits, 1);
    ops.StoreSetup(1, setup);
    EXPECT_EQ(setup.pitchBlock(1).entryEnabled[31], 1);

    setup::UserCatalogue restarted;
    restarted.Load(host.catalogue.file);
    EXPECT_EQ(restarted.catalogue.chordTypes().entry(32).name, "Quartal");
    EXPECT_EQ(restarted.catalogue.chordTypes().entry(32).count, 3);

    // The students get asked it: with only the new chord offered, every question is a quartal chord.
    pitch::SetupBlock block = setup.pitchBlock(1);
    block.entryEnabled.fill(0);
    block.entryEnabled[31] = 1;
    pitch::PitchExerciseState state;
    state.mode = pitch::ExerciseMode::Chord;
    pitch::ApplySetup(state, block, restarted.catalogue, true, true);
    ASSERT_EQ(pitch::GenerateQuestion(state, restarted.catalogue), pitch::GenerateResult::Generated);
    EXPECT_EQ(state.entry, 32);
    ASSERT_EQ(state.notes.size(), 3u);
    EXPECT_EQ(state.notes[1].pitch - state.notes[0].pitch, 5);
    EXPECT_EQ(state.notes[2].pitch - state.notes[0].pitch, 10);

    // Without the right to change material, a user entry's name only toggles its offer.
    host.mayEdit = false;
    ops.ClickEntry(32, false);
    EXPECT_FALSE(ops.entryOffered(32));
}

TEST(ChordOps, AProgressionAddedIsNamedFromItsChords) {
    ui::testing::FakeSetupHost host;
    TChordOps ops(host);
    ops.show();
    setup::SetupRecord setup = setup::DefaultSetup();
    ops.LoadSetup(10, setup);
    answerEditor<TAkkProgEdit>([](TAkkProgEdit& e) {
        e.TrackBar1->setValue(3);
        e.stepLists[0]->setCurrentIndex(5);  // IV
        e.stepLists[1]->setCurrentIndex(7);  // V
    });
    ops.AddButton->click();
    const theory::CatalogueEntry& added = host.catalogue.catalogue.progressions().entry(36);
    ASSERT_EQ(added.count, 3);
    EXPECT_EQ(theory::ProgressionName(added), "IV - V - I");
    EXPECT_TRUE(gridShows(ops, "IV - V - I"));
    EXPECT_TRUE(ops.entryOffered(36));
}

}  // namespace
