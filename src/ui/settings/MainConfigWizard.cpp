// The main window's part in the configuration wizard and the tips at start.
#include "TConfigWizard.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/TKalvintorMain.h"
#include "app/TTipform.h"
#include "app/Texts.h"

#include <QDate>
#include <QMessageBox>

namespace kalvintor::ui {

bool TKalvintorMain::RunConfigWizard() {
    bool hasOutput = false;
    for (const auto& entry : sound_->midiOut().Devices()) hasOutput = hasOutput || !entry.placeholder;
    const app::WizardPlan plan = app::PlanWizard(Settings.wizardDone, program().firstRun, hasOutput);
    if (!plan.due) return false;
    if (plan.noOutputMessage)
        QMessageBox::information(this, text(5007, "Information"),
                                 text(5022,
                                      "No MIDI output device was found. The program runs without sound "
                                      "until one is connected."));
    // Without a page to show (no output device on a completed workstation) there is nothing to ask.
    bool anyPage = false;
    for (bool visible : plan.visible) anyPage = anyPage || visible;
    if (!anyPage) return false;
    TConfigWizard wizard(*this, plan, this);
    const bool ok = wizard.exec() == QDialog::Accepted;
    if ((ok || program().firstRun) && !Guest) StoreSettings(false);
    return ok;
}

void TKalvintorMain::ShowTipsAtStart() {
    TTipform::ShowAtStart(Settings.tipsToShow, QDate::currentDate().dayOfYear(), this);
}

}  // namespace kalvintor::ui
