// The melody setup view: every control against its byte, and the rules that tie them together.
#include "SetupViewDoubles.h"
#include "ui/setup/TMelodyOps.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

struct Melody {
    ui::testing::FakeSetupHost host;
    TMelodyOps ops{host};
    setup::SetupRecord setup = setup::DefaultSetup();
    Melody() {
        ops.resize(900, 600);
        ops.show();
    }
    void load(pitch::MelodySetup m) {
        setup.setMelodyBlock(m);
        ops.LoadSetup(9, setup);
    }
    pitch::MelodySetup stored() {
        ops.StoreSetup(9, setup);
        return setup.melodyBlock();
    }
};

TEST(MelodyOps, LoadThenStoreGivesTheBlockBackByteForByte) {
    Melody v;
    pitch::MelodySetup m = pitch::defaultMelodySetup();
    m.length = 7;
    m.largestLeap = 4;
    m.ambitus = 6;
    m.melodyType = 12;
    m.keys = {1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    m.reserved16 = 9;
    m.showKeySignature = 0;
    m.tonic = 33;
    m.playToneOnClick = 1;
    m.answerModes = 128 + 8 + 4;
    m.autoAnswer = 1;
    m.showFirstTone = 1;
    m.reserved23 = 5;
    m.rhythm = 1;
    m.reserved25 = {3, 4};
    m.upperLimit = 79;
    m.lowerLimit = 57;
    v.load(m);
    EXPECT_EQ(v.stored(), m);
    v.load(pitch::defaultMelodySetup());
    EXPECT_EQ(v.stored(), pitch::defaultMelodySetup());
    // Answer instruments are stored whether or not Lock is on.
    pitch::MelodySetup unlocked = pitch::defaultMelodySetup();
    unlocked.answerModes = 4;
    v.load(unlocked);
    EXPECT_FALSE(v.ops.CheckBox13->isEnabled());
    EXPECT_EQ(v.stored().answerModes, 4);
}

TEST(MelodyOps, TonicByteShowsCheckAndStyle) {
    const struct {
        std::uint8_t tonic;
        bool checked, cadence, radiosEnabled;
    } cases[] = {{33, true, true, true}, {17, true, false, true}, {0, false, false, false}};
    for (const auto& c : cases) {
        Melody v;
        pitch::MelodySetup m = pitch::defaultMelodySetup();
        m.tonic = c.tonic;
        v.load(m);
        EXPECT_EQ(v.ops.CheckBox2->isChecked(), c.checked) << int(c.tonic);
        EXPECT_EQ(v.ops.RadioButton5->isChecked(), c.cadence) << int(c.tonic);
        EXPECT_EQ(v.ops.RadioButton1->isChecked(), !c.cadence) << int(c.tonic);
        EXPECT_EQ(v.ops.RadioButton1->isEnabled(), c.radiosEnabled) << int(c.tonic);
    }
}

TEST(MelodyOps, TypesWithoutKeyOrTonicAndTheirWayBack) {
    Melody v;
    v.load(pitch::defaultMelodySetup());  // key signature and tonic on
    v.ops.ComboBox3->setCurrentIndex(pitch::melody_types::kChromatic);
    for (QToolButton* b : v.ops.keyButtons) EXPECT_FALSE(b->isVisibleTo(&v.ops));
    EXPECT_FALSE(v.ops.CheckBox1->isChecked());
    EXPECT_FALSE(v.ops.CheckBox1->isEnabled());
    EXPECT_FALSE(v.ops.CheckBox2->isChecked());
    // Back to major: both come back from the stored block, not from the screen.
    v.ops.ComboBox3->setCurrentIndex(0);
    EXPECT_TRUE(v.ops.CheckBox1->isChecked());
    EXPECT_TRUE(v.ops.CheckBox2->isChecked());
    EXPECT_TRUE(v.ops.keyButtons[0]->isVisibleTo(&v.ops));
    // A mode: no tonic.
    v.ops.ComboBox3->setCurrentIndex(2);
    EXPECT_FALSE(v.ops.CheckBox2->isEnabled());
    EXPECT_FALSE(v.ops.CheckBox2->isChecked());
    EXPECT_FALSE(v.ops.RadioButton1->isEnabled());
    EXPECT_FALSE(v.ops.RadioButton5->isEnabled());
    EXPECT_EQ(v.stored().melodyType, 2);
}

TEST(MelodyOps, KeyAndLengthRules) {
    Melody v;
    v.load(pitch::defaultMelodySetup());  // only C/a down
    v.ops.keyButtons[6]->click();
    EXPECT_TRUE(v.ops.keyButtons[6]->isChecked()) << "the last key down stays down";
    v.ops.keyButtons[0]->click();
    v.ops.keyButtons[6]->click();
    EXPECT_FALSE(v.ops.keyButtons[6]->isChecked());
    EXPECT_EQ(v.stored().keys[0], 1);

    v.ops.SpinEdit1->setValue(1);
    v.ops.CheckBox6->click();
    EXPECT_EQ(v.ops.SpinEdit1->value(), 3) << "showing the first tone needs more than one";
    v.ops.SpinEdit1->setValue(1);
    EXPECT_FALSE(v.ops.CheckBox6->isChecked());
    v.ops.SpinEdit1->setValue(5);
    v.ops.SpinEdit1->stepUp();
    EXPECT_EQ(v.ops.SpinEdit1->value(), 7) << "the arrows step by two";

    v.ops.ComboBox1->setCurrentIndex(-1);
    v.ops.ComboBox2->setCurrentIndex(-1);
    const pitch::MelodySetup none = v.stored();
    EXPECT_EQ(none.largestLeap, 3);
    EXPECT_EQ(none.ambitus, 3);
}

TEST(MelodyOps, RestoreOutsideMelodyChangesNothing) {
    Melody v;
    v.load(pitch::defaultMelodySetup());
    v.ops.CheckBox8->click();
    v.ops.LoadSetup(1, v.setup);
    v.ops.Restore();
    EXPECT_TRUE(v.ops.CheckBox8->isChecked());
    v.ops.LoadSetup(9, v.setup);
    v.ops.CheckBox8->setChecked(true);
    v.ops.Restore();
    EXPECT_FALSE(v.ops.CheckBox8->isChecked());
}

}  // namespace
