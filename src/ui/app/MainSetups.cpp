// The main window's setup commands: loading a setup through the chooser and "Save setup...".
#include "Program.h"
#include "TKalvintorMain.h"
#include "TLevels.h"
#include "TSaveSetupDialog.h"
#include "app/ProgramPaths.h"

namespace kalvintor::ui {

void TKalvintorMain::ChooseSetup() {
    const app::ProgramPaths& paths = program().paths;
    const auto file = TLevels::choose(this, paths.programDir, app::setupDirectory(paths, program().privateDirectory));
    if (!file) return;
    Setup.LoadSetupFile(toPath(*file).string(), false);
}

bool TKalvintorMain::SaveSetupAs() {
    const app::ProgramPaths& paths = program().paths;
    const auto file = TSaveSetupDialog::ask(this, app::setupDirectory(paths, program().privateDirectory), Setup.setupName);
    if (!file) return false;
    if (!Setup.SaveSetupFile(toPath(*file).string())) return false;
    // What is saved is the setup the next question about changes compares with.
    Setup.savedCopy = Setup.current;
    Setup.setupChanged = false;
    return true;
}

}  // namespace kalvintor::ui
