// The program's windows as the entry makes them: the exercise windows in their order, the results
// view, the setup views and the start menu, all owned by the main window.
#pragma once

namespace kalvintor::ui {

class TKalvintorMain;

void CreateProgramWindows(TKalvintorMain& mainWindow);

}  // namespace kalvintor::ui
