// The pitch setup view: every control against the byte it owns, the grid and the range picker.
#include "SetupViewDoubles.h"
#include "ui/setup/TChordOps.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

struct View {
    ui::testing::FakeSetupHost host;
    TChordOps ops{host};
    setup::SetupRecord setup = setup::DefaultSetup();
    View() {
        ops.resize(1000, 700);
        ops.show();
    }
    std::span<const std::uint8_t> stored(int exercise) {
        ops.StoreSetup(exercise, setup);
        return setup.block(exercise);
    }
};

// A block where every byte the view owns differs from the defaults, the untouched ones included.
pitch::SetupBlock unusualBlock(int exercise) {
    pitch::SetupBlock b = pitch::defaultSetupBlock(static_cast<pitch::PitchExercise>(exercise));
    b.entryEnabled.fill(0);
    b.entryEnabled[2] = 1;
    b.entryEnabled[4] = 1;
    b.playTogether = 1;
    b.arpeggioUp = 0;
    b.showKeySignature = 0;
    b.answerInC = 1;
    b.reserved65 = 7;
    b.answerModes = exercise == 10 ? 128 + 8 + 1 : 128 + 4 + 1;
    b.playToneOnClick = 0;
    b.showFirstTone = 1;
    b.autoAnswer = 1;
    b.tonic = 1 + 32;
    b.rootMovement = exercise == 3 ? 0 : 13;
    b.option = exercise == 10 ? 241 : exercise == 2 ? 1 : 0;
    b.reserved73 = {1, 2, 3, 4, 5, 6, 7};
    b.upperLimit = 84;
    b.lowerLimit = 55;
    if (exercise == 8) b.playTogether = 0;
    return b;
}

TEST(ChordOps, LoadThenStoreGivesTheBlockBackByteForByte) {
    for (int exercise : {1, 2, 3, 7, 8, 10}) {
        View v;
        v.setup.setPitchBlock(exercise, unusualBlock(exercise));
        const setup::SetupRecord before = v.setup;
        v.ops.LoadSetup(exercise, v.setup);
        v.ops.StoreSetup(exercise, v.setup);
        EXPECT_EQ(v.setup.bytes, before.bytes) << "exercise " << exercise;
    }
}

TEST(ChordOps, EachControlWritesTheByteItOwns) {
    // control, exercise, the byte and the value it holds after the control was used
    struct Case {
        const char* what;
        int exercise;
        std::function<void(TChordOps&)> use;
        std::size_t byte;
        std::uint8_t value;
    };
    const Case cases[] = {
        {"simultaneous", 1, [](TChordOps& o) { o.Akk_SimulCheck->click(); }, 60, 1},
        {"arpeggio up", 1, [](TChordOps& o) { o.Akk_OpCheck->click(); }, 61, 0},
        {"arpeggio down", 1, [](TChordOps& o) { o.Akk_NedCheck->click(); }, 62, 0},
        {"key signature", 1, [](TChordOps& o) { o.KeySigCheck->click(); }, 63, 0},
        {"common tone", 3, [](TChordOps& o) { o.CommonToneCheck->click(); }, 63, 0},
        {"lock", 1, [](TChordOps& o) { o.LockCheck->click(); }, 66, 130},
        {"by name", 1,
         [](TChordOps& o) {
             o.LockCheck->click();
             o.ByNameCheck->click();
         },
         66, 131},
        {"guitar", 1,
         [](TChordOps& o) {
             o.LockCheck->click();
             o.GuitarCheck->click();
         },
         66, 134},
        {"notesheet", 1,
         [](TChordOps& o) {
             o.LockCheck->click();
             o.NotesheetCheck->click();
         },
         66, 138},
        {"piano off", 1,
         [](TChordOps& o) {
             o.LockCheck->click();
             o.PianoCheck->click();
         },
         66, 128},
        {"tone on click", 1, [](TChordOps& o) { o.PlayToneCheck->click(); }, 67, 0},
        {"first tone", 1, [](TChordOps& o) { o.FirstToneCheck->click(); }, 68, 1},
        {"auto answer", 1, [](TChordOps& o) { o.AutoAnswerCheck->click(); }, 69, 1},
        {"play tonic", 1, [](TChordOps& o) { o.TonicCheck->click(); }, 70, 17},
        {"cadence", 1,
         [](TChordOps& o) {
             o.TonicCheck->click();
             o.CadenceRadio->click();
         },
         70, 33},
        {"root movement", 1, [](TChordOps& o) { o.RootMovementList->setCurrentRow(18); }, 71, 18},
        {"blank moves down", 1, [](TChordOps& o) { o.RootMovementList->setCurrentRow(9); }, 71, 11},
        {"heading moves up", 1, [](TChordOps& o) { o.RootMovementList->setCurrentRow(24); }, 71, 22},
        {"diatonic roots", 2, [](TChordOps& o) { o.OptionCheck->click(); }, 72, 1},
        {"root bass", 10, [](TChordOps& o) { o.OptionCheck->click(); }, 72, 240},
        {"random inversions with bass", 10,
         [](TChordOps& o) {
             o.InversionList->setCurrentIndex(2);
             o.OptionCheck->click();
         },
         72, 242},
        {"progressions answer on the staff", 10, [](TChordOps&) {}, 66, 10},
        {"scales never together", 8, [](TChordOps& o) { o.Akk_SimulCheck->click(); }, 60, 0},
        {"comparison keeps random roots", 3, [](TChordOps& o) { o.RootMovementList->setCurrentRow(5); }, 71,
         0},
        {"offer entry 3", 1, [](TChordOps& o) { o.ClickEntry(3, true); }, 2, 1},
    };
    for (const Case& c : cases) {
        View v;
        v.ops.LoadSetup(c.exercise, v.setup);
        c.use(v.ops);
        setup::SetupRecord expected = v.setup;
        expected.block(c.exercise)[c.byte] = c.value;
        if (c.exercise == 10) {
            // Progressions always answer on the staff too, and the tonic style shows base tones
            // when the block names none.
            if (c.byte != 66) expected.block(10)[66] = 10;
            expected.block(10)[70] = 16;
        }
        const auto got = v.stored(c.exercise);
        EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.block(c.exercise).begin())) << c.what;
        EXPECT_EQ(got[c.byte], c.value) << c.what;
    }
}

TEST(ChordOps, TheLastOfferedEntryUntickedLeavesEntryOneOffered) {
    View v;
    v.ops.LoadSetup(1, v.setup);
    v.ops.DeselectAll();
    EXPECT_FALSE(v.ops.entryOffered(1));
    EXPECT_EQ(v.stored(1)[0], 1);
    v.ops.SelectAll();
    const auto all = v.stored(1);
    EXPECT_EQ(std::count(all.begin(), all.begin() + 60, 1), 31) << "the built-in chord types with notes";
}

TEST(ChordOps, ABuiltInEntryToggledByItsNameAndTheGridFromTheKeyboard) {
    View v;
    v.ops.LoadSetup(1, v.setup);
    ASSERT_GE(v.ops.DrawGrid1->rowCount(), 3);
    v.ops.DrawGrid1->setCurrentCell(2, 2);
    const QRect name = v.ops.DrawGrid1->visualItemRect(v.ops.DrawGrid1->item(2, 2));
    QTest::mouseClick(v.ops.DrawGrid1->viewport(), Qt::LeftButton, {}, name.center());
    EXPECT_TRUE(v.ops.entryOffered(3)) << "a click on a built-in chord's name offers it";
    v.ops.DrawGrid1->setFocus();
    QTest::keyClick(v.ops.DrawGrid1, Qt::Key_Space);
    EXPECT_FALSE(v.ops.entryOffered(3)) << "Space withdraws it again";
    EXPECT_EQ(v.ops.DrawGrid1->item(2, 0)->checkState(), Qt::Unchecked);
    v.ops.setCompactView(true);
    EXPECT_EQ(v.ops.DrawGrid1->columnCount(), 3);
    EXPECT_FALSE(v.ops.DrawGrid1->item(0, 0)->text().isEmpty());
}

TEST(ChordOps, RootMovementKeepsTheLimitsApart) {
    View v;
    pitch::SetupBlock b = v.setup.pitchBlock(1);
    b.lowerLimit = 60;
    b.upperLimit = 65;
    v.setup.setPitchBlock(1, b);
    v.ops.LoadSetup(1, v.setup);
    EXPECT_EQ(v.ops.Picker->minLimitDistance(), 1);
    v.ops.RootMovementList->setCurrentRow(3);  // ascending 5th
    EXPECT_EQ(v.ops.Picker->limits(), (setup::PitchLimits{60, 71}));
    EXPECT_EQ(v.stored(1)[80], 71);
}

TEST(ChordOps, ExerciseThreeShowsIntervalsOnlyAndHidesTheAnswerChoices) {
    View v;
    v.ops.LoadSetup(3, v.setup);
    EXPECT_FALSE(v.ops.LockCheck->isVisibleTo(&v.ops));
    EXPECT_FALSE(v.ops.RootMovementList->isEnabled());
    EXPECT_FALSE(v.ops.AddButton->isEnabled());
    EXPECT_LE(v.ops.DrawGrid1->rowCount(), 30);
}

TEST(ChordOps, RestoreTakesTheBlockAsItWasWhenTheViewWasEntered) {
    View v;
    v.ops.LoadSetup(1, v.setup);
    v.ops.Akk_SimulCheck->click();
    v.ops.Restore();
    EXPECT_FALSE(v.ops.Akk_SimulCheck->isChecked());
}

TEST(ChordOps, StructurePicturesFollowTheAnswerInstrument) {
    // Piano, guitar and staff pictures have rows of 24, 37 and 42 pixels.
    for (auto [picture, row] : {std::pair{2, 24}, std::pair{4, 37}, std::pair{8, 42}}) {
        View v;
        v.host.picture = picture;
        v.ops.LoadSetup(1, v.setup);
        ASSERT_GT(v.ops.DrawGrid1->rowCount(), 0);
        EXPECT_EQ(v.ops.DrawGrid1->rowHeight(0), row) << "picture " << picture;
        const QIcon icon = v.ops.DrawGrid1->item(0, 1)->icon();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.availableSizes().front().height(), row - 2);
    }
}

TEST(ChordOps, BelowSevenHundredAndOnePixelsTheNarrowLayoutIsUsed) {
    View v;
    v.ops.LoadSetup(1, v.setup);
    const QWidget* options = v.ops.findChild<QWidget*>("OptionPanel");
    EXPECT_FALSE(v.ops.narrowLayout());
    EXPECT_GE(options->width(), 200);
    // The view can be made narrow from the wide layout, and wide again.
    v.ops.resize(695, 600);
    EXPECT_EQ(v.ops.width(), 695);
    EXPECT_TRUE(v.ops.narrowLayout());
    EXPECT_LT(v.ops.minimumSizeHint().width(), 695) << "the narrow layout needs less room";
    EXPECT_GE(options->width(), 190);
    EXPECT_GE(v.ops.DrawGrid1->width(), 426);
    v.ops.resize(701, 600);
    EXPECT_FALSE(v.ops.narrowLayout());
}

TEST(RangePicker, DraggingMarkersStopsAtTheOtherLimitAndTheEnds) {
    ui::testing::FakeSetupHost host;
    RangePicker picker;
    picker.setPicture(setup::PickerPicture::Piano);
    picker.setLimits({60, 72});
    picker.resize(picker.sizeHint());
    picker.show();
    const QPoint lower = picker.markerPoint(60);
    QTest::mousePress(&picker, Qt::LeftButton, {}, lower);
    EXPECT_EQ(picker.selected(), setup::LimitMarker::Lower);
    QMouseEvent move(QEvent::MouseMove, QPointF(picker.markerPoint(84)),
                     QPointF(picker.mapToGlobal(picker.markerPoint(84))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&picker, &move);
    EXPECT_EQ(picker.limits(), (setup::PitchLimits{71, 72})) << "the lower limit stops below the upper one";
    QMouseEvent out(QEvent::MouseMove, QPointF(-30, 30), QPointF(picker.mapToGlobal(QPoint(-30, 30))),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&picker, &out);
    EXPECT_EQ(picker.limits().lower, 41) << "dragged past the left end";
    QTest::mouseRelease(&picker, Qt::LeftButton, {}, QPoint(-30, 30));
    EXPECT_EQ(picker.selected(), setup::LimitMarker::None);

    // From the keyboard: Space switches to the upper limit, Down lowers it.
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_Space);
    QTest::keyClick(&picker, Qt::Key_PageDown);
    EXPECT_EQ(picker.limits().upper, 60);
    EXPECT_FALSE(picker.accessibleName().isEmpty());
}

}  // namespace
