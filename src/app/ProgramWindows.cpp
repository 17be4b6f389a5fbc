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
    // The exercise windows in their order (those built so far), the start menu, the setup views.
    // The start menu is what the first paint shows: the exercise and results windows are made
    // when first needed, or one by one once the main window is up.
    TKalvintorMain* owner = &mainWindow;
    for (int e : {1, 2}) mainWindow.SetExerciseMaker(e, [owner, e] { return new TAkkord(e, *owner); });
    mainWindow.SetExerciseMaker(3, [owner] { return new TIntervalSam(*owner); });
    for (int e : {7, 8, 9, 10}) mainWindow.SetExerciseMaker(e, [owner, e] { return new TAkkord(e, *owner); });
    mainWindow.SetInfoViewMaker(3, [owner] { return new TUserResult(*owner); });
    mainWindow.SetExerciseMaker(4, [owner] { return new rhythm::TRytmeImit(*owner); });
    mainWindow.SetExerciseMaker(5, [owner] { return new rhythm::TRytmeLaes(*owner); });
    mainWindow.SetExerciseMaker(6, [owner] { return new rhythm::TRytmeKorr(*owner); });
    // The start menu is the first view: the one shown until the start-up shows it anyway.
    mainWindow.CreateMenuDialog();
    RegisterPitchSetupViews(mainWindow);
    // One rhythm setup view serves exercises 4, 5 and 6; the main window owns it.
    auto* rhythmSetup = new rhythm::TRytmeOps(
        [&mainWindow]() -> const kalvintor::setup::SetupRecord& { return mainWindow.Setup.savedCopy; },
        &mainWindow);
    for (int e : {4, 5, 6}) mainWindow.SetSetupView(e, rhythmSetup);
}

}  // namespace kalvintor::ui
