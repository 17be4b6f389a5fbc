// The pieces the main window's menu files share: making an item with its text and key, giving it
// a state, and the menus built in MainMenuCommands.cpp.
#pragma once

#include "app/MenuState.h"

#include <QKeySequence>

class QAction;
class QMenu;

namespace kalvintor::ui {

class ResultCommands;
class TKalvintorMain;

// An item with language text `id` (the English text until a language is loaded), its key and,
// for `dialog`, the "..." of a command that opens a dialog.
QAction* addItem(QMenu* menu, const char* name, int id, const char* english, const QKeySequence& key = {},
                 bool dialog = false);
void apply(QAction* action, const app::ItemState& state);

// The results window's commands; null while no results window is registered.
ResultCommands* resultCommands(TKalvintorMain& main);

void CreateAnswerInputMenu(TKalvintorMain& main, QMenu* menu);
// Fills `menu` with "A Users", "U not in class" and, each time it opens, one item per class.
QMenu* CreateUsersMenu(TKalvintorMain& main, QMenu* menu);

}  // namespace kalvintor::ui
