// The user windows reach the main window's start-up state (its store and add-user dialog).
#pragma once

#include "app/MainStartup.h"
#include "app/TKalvintorMain.h"

namespace kalvintor::ui {

inline MainStartup& startupOf(TKalvintorMain& main) {
    return main.startup();
}

class TAddUserForm;
// The add/edit user dialog of the main window's store, made on first use.
TAddUserForm& addUserForm(TKalvintorMain& main);

}  // namespace kalvintor::ui
