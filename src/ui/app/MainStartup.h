// What the main window keeps for the start-up dialogue, the logged-in user and the close: the
// data store of the data directory, the user dialogs, the teacher windows and what may be written.
#pragma once

#include "app/StartupRules.h"
#include "data/DataStore.h"

#include <QPointer>

#include <memory>
#include <vector>

namespace kalvintor::ui {

class TAddUserForm;
class TProgressForm;
class TUserslist;

struct MainStartup {
    MainStartup();
    ~MainStartup();
    MainStartup(const MainStartup&) = delete;
    MainStartup& operator=(const MainStartup&) = delete;

    std::unique_ptr<data::DataStore> store;
    std::unique_ptr<TAddUserForm> addUser;
    TUserslist* userslist = nullptr;
    TProgressForm* progress = nullptr;
    // Files found damaged at start: they are neither trusted nor ever written.
    std::vector<app::DataFileState> files;
    // False while nothing of the session may be written (no usable data directory).
    bool dataUsable = false;
    bool settingsWritable = true;
};

}  // namespace kalvintor::ui
