// The configuration wizard's and the tips' rules.
#include "app/ConfigWizard.h"

#include <algorithm>
#include <cmath>

namespace kalvintor::app {

WizardPlan PlanWizard(bool completed, bool firstRun, bool hasOutputDevice) {
    WizardPlan plan;
    plan.due = !completed || firstRun;
    if (!plan.due) return plan;
    auto show = [&plan](WizardPage p, bool on) { plan.visible[static_cast<std::size_t>(p)] = on; };
    show(WizardPage::Language, firstRun);
    show(WizardPage::MidiInput, firstRun);
    show(WizardPage::Microphone, firstRun);
    show(WizardPage::Instrument, !completed);
    plan.noOutputMessage = !hasOutputDevice;
    show(WizardPage::Sound, hasOutputDevice && firstRun);
    return plan;
}

void FinishWizard(settings::Settings& settings, std::uint8_t instrument, int screenHeight) {
    if (instrument != kWizardPiano && instrument != kWizardGuitar) instrument = kWizardOther;
    std::uint8_t mask = instrument;
    if (screenHeight > 500) mask |= 8;
    if (screenHeight > 650) mask |= 1;
    for (auto& input : settings.answerInputs) {
        input.mask = mask;
        input.instrument = instrument;
    }
    settings.wizardDone = true;
}

int LevelPercent(float peak) {
    if (!(peak > 0.0f)) return 0;
    const double db = 20.0 * std::log10(std::min(1.0, static_cast<double>(peak)));
    return static_cast<int>(std::lround(std::clamp((db + 60.0) / 60.0, 0.0, 1.0) * 100.0));
}

}  // namespace kalvintor::app
