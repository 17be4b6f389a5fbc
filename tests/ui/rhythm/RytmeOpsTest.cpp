// The rhythm setup view: filled from and written into an exercise's block, with its rules.
#include "rhythm/TRytmeOps.h"
#include "setup/SetupRecord.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui::rhythm;

namespace {

struct View {
    setup::SetupRecord saved = setup::DefaultSetup();
    TRytmeOps ops{[this]() -> const setup::SetupRecord& { return saved; }};
    template <typename T>
    T* find(const char* name) const {
        return ops.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace

TEST(RytmeOps, ExerciseSixShowsCorrectionsAndStoresNoTiesLeavingTheEvaluationAlone) {
    View v;
    v.ops.show();
    setup::SetupRecord record = setup::DefaultSetup();
    auto block = record.rhythmBlock(6);
    block.strictness = 2;
    block.ties = 1;
    record.setRhythmBlock(6, block);
    v.ops.LoadSetup(6, record);
    EXPECT_TRUE(v.find<QSpinBox>("SpinEdit3")->isVisible());
    EXPECT_FALSE(v.find<QGroupBox>("RadioGroup1")->isVisible());
    EXPECT_FALSE(v.find<QCheckBox>("CheckBox1")->isEnabled());
    v.find<QSpinBox>("SpinEdit3")->setValue(4);
    v.find<QSlider>("TrackBar1")->setValue(120);
    v.ops.StoreSetup(6, record);
    const auto stored = record.rhythmBlock(6);
    EXPECT_EQ(stored.errors, 4);
    EXPECT_EQ(stored.ties, 0);
    EXPECT_EQ(stored.strictness, 2) << "left as it was";
    EXPECT_EQ(stored.tempo, 120);
}

TEST(RytmeOps, ClickingMetersAndValuesFollowsTheRulesAndEveryControlHasAName) {
    View v;
    v.ops.show();
    setup::SetupRecord record = setup::DefaultSetup();
    v.ops.LoadSetup(4, record);
    // Choose 3/8: whole and half notes are released and disabled, the eighth note comes in.
    QTest::mouseClick(v.find<QToolButton>("SpeedButton15"), Qt::LeftButton);
    EXPECT_FALSE(v.find<QToolButton>("SpeedButton2")->isEnabled());
    EXPECT_FALSE(v.find<QToolButton>("SpeedButton2")->isChecked());
    EXPECT_TRUE(v.find<QToolButton>("SpeedButton4")->isChecked());
    // Releasing every meter brings 4/4 back.
    QTest::mouseClick(v.find<QToolButton>("SpeedButton15"), Qt::LeftButton);
    QTest::mouseClick(v.find<QToolButton>("SpeedButton14"), Qt::LeftButton);
    EXPECT_TRUE(v.find<QToolButton>("SpeedButton14")->isChecked());
    v.ops.StoreSetup(4, record);
    EXPECT_EQ(record.rhythmBlock(4).meters[3], 1);
    EXPECT_EQ(record.rhythmBlock(4).noteValues[3], 1);

    // "Restore" shows the saved copy again.
    QTest::mouseClick(v.find<QToolButton>("SpeedButton25"), Qt::LeftButton);
    EXPECT_FALSE(v.find<QToolButton>("SpeedButton4")->isChecked());

    for (QWidget* w : v.ops.findChildren<QWidget*>()) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QSpinBox*>(w) || qobject_cast<QSlider*>(w)) {
            const auto* b = qobject_cast<QAbstractButton*>(w);
            EXPECT_FALSE(w->accessibleName().isEmpty() && (b == nullptr || b->text().isEmpty()))
                << w->objectName().toStdString();
        }
    }
}
