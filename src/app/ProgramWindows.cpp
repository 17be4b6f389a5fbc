// The program's windows as the entry makes them.
#include "ProgramWindows.h"

#include "app/TKalvintorMain.h"
#include "pitch/TAkkord.h"
#include "pitch/TIntervalSam.h"
#include "results/TUserResult.h"
#include "rhythm/TRytmeImit.h"
#include "rhythm/TRytmeKorr.h"
#include "rhythm/TRytmeLaes.h"
#include "rhythm/TRytmeOps.h"
#include "setup/MainSetupHost.h"

namespace kalvintor::ui {

void CreateProgramWindows(TKalvintorMain& mainWindow) {
    // The exercise windows in their order (those built so far); the start menu last.
    for (int e : {1, 2}) mainWindow.SetExerciseWindow(e, new TAkkord(e, mainWindow));
    mainWindow.SetExerciseWindow(3, new TIntervalSam(mainWindow));
    for (int e : {7, 8, 9, 10}) mainWindow.SetExerciseWindow(e, new TAkkord(e, mainWindow));
    mainWindow.SetInfoView(3, new TUserResult(mainWindow));
    RegisterPitchSetupViews(mainWindow);
    mainWindow.SetExerciseWindow(4, new rhythm::TRytmeImit(mainWindow));
    mainWindow.SetExerciseWindow(5, new rhythm::TRytmeLaes(mainWindow));
    mainWindow.SetExerciseWindow(6, new rhythm::TRytmeKorr(mainWindow));
    // One rhythm setup view serves exercises 4, 5 and 6; the main window owns it.
    auto* rhythmSetup = new rhythm::TRytmeOps(
        [&mainWindow]() -> const kalvintor::setup::SetupRecord& { return mainWindow.Setup.savedCopy; },
        &mainWindow);
    for (int e : {4, 5, 6}) mainWindow.SetSetupView(e, rhythmSetup);
    mainWindow.CreateMenuDialog();
}

}  // namespace kalvintor::ui
