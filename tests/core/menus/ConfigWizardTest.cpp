// The configuration wizard's pages and stored choice, the microphone meter and the tips at start.
#include "app/ConfigWizard.h"
#include "app/Tips.h"

#include <gtest/gtest.h>

namespace kalvintor::app {
namespace {

TEST(ConfigWizard, PagesOfAStart) {
    using P = WizardPage;
    // Not the first run and completed: no wizard.
    EXPECT_FALSE(PlanWizard(true, false, true).due);
    // Not the first run, not completed: only the instrument page.
    WizardPlan plan = PlanWizard(false, false, true);
    EXPECT_TRUE(plan.due);
    EXPECT_EQ(plan.visible, (std::array<bool, kWizardPages>{false, false, false, false, true}));
    // First run, completed: the workstation's pages without the instrument.
    plan = PlanWizard(true, true, true);
    EXPECT_EQ(plan.visible, (std::array<bool, kWizardPages>{true, true, true, true, false}));
    EXPECT_FALSE(plan.noOutputMessage);
    // No output device: said once, no sound page.
    plan = PlanWizard(false, true, false);
    EXPECT_TRUE(plan.noOutputMessage);
    EXPECT_FALSE(plan.shows(P::Sound));
    EXPECT_TRUE(plan.shows(P::Instrument));
}

TEST(ConfigWizard, FinishingStoresTheInstrumentForEveryExercise) {
    struct Case {
        std::uint8_t instrument;
        int height;
        std::uint8_t mask, stored;
    };
    const Case cases[] = {
        {kWizardPiano, 500, 2, 2},
        {kWizardPiano, 650, 10, 2},
        {kWizardPiano, 768, 11, 2},
        {kWizardGuitar, 480, 4, 4},
        {kWizardGuitar, 600, 12, 4},
        {kWizardGuitar, 768, 13, 4},
        {0, 500, 1, 1},
        {0, 600, 9, 1},
        {0, 1080, 9, 1},
    };
    for (const Case& c : cases) {
        settings::Settings s = settings::defaultSettings();
        FinishWizard(s, c.instrument, c.height);
        EXPECT_TRUE(s.wizardDone);
        for (const auto& input : s.answerInputs) {
            EXPECT_EQ(input.mask, c.mask) << int(c.instrument) << " at " << c.height;
            EXPECT_EQ(input.instrument, c.stored);
        }
    }
}

TEST(ConfigWizard, LevelMeter) {
    EXPECT_EQ(LevelPercent(0.0f), 0);
    EXPECT_EQ(LevelPercent(0.001f), 0);  // -60 dBFS
    EXPECT_EQ(LevelPercent(0.0316228f), 50);
    EXPECT_EQ(LevelPercent(1.0f), 100);
    EXPECT_EQ(LevelPercent(3.0f), 100);  // clipped input stays full
    EXPECT_EQ(LevelPercent(-1.0f), 0);
}

TEST(ConfigWizard, TipsAtStart) {
    EXPECT_EQ(TipAtStart(0xFFFF, 1), 1);
    EXPECT_EQ(TipAtStart(0xFFFF, 4), 4);
    EXPECT_EQ(TipAtStart(0b100001, 2), 6);  // tips 2..5 hidden
    EXPECT_EQ(TipAtStart(0b000001, 6), 1);  // wraps round
    EXPECT_EQ(TipAtStart(0xFFC0, 1), 0);    // bits beyond the six tips do not count
    std::uint32_t mask = 0b111111;
    EXPECT_TRUE(HideTip(mask, 2));
    EXPECT_EQ(mask, 0b111101u);
    EXPECT_FALSE(HideTip(mask, 2));  // already hidden: unchanged
    EXPECT_EQ(mask, 0b111101u);
    EXPECT_FALSE(HideTip(mask, 0));
}

}  // namespace
}  // namespace kalvintor::app
