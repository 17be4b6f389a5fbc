// The main window's user commands: "User info...", "Class maintenance...", "Administration..."
// and "Refresh".
#include "MainStartup.h"
#include "MainTutor.h"
#include "TKalvintorMain.h"
#include "app/ViewTags.h"
#include "users/MainStartupAccess.h"
#include "users/TAddUserForm.h"
#include "users/TClassMaintenance.h"
#include "users/TSystemadmin.h"
#include "users/TUserslist.h"

namespace kalvintor::ui {

TAddUserForm& addUserForm(TKalvintorMain& main) {
    MainStartup& s = main.startup();
    if (!s.addUser) s.addUser = std::make_unique<TAddUserForm>(*s.store, &main);
    return *s.addUser;
}

void TKalvintorMain::UserInfo() {
    MainStartup& s = startup();
    if (!s.store || Guest || !s.store->CurrentUser()) return;
    s.store->setSelectedUser(s.store->CurrentUser());
    if (addUserForm(*this).EditUser()) {
        const std::int16_t id = UserId;
        s.store->FindUser(id, {}, true);
        if (data::TUserInfo* user = s.store->CurrentUser()) s.store->ComputeStatistics(*user);
    }
    if (CurrentView == app::kViewUserOverview && s.userslist) s.userslist->RefreshUsers();
}

void TKalvintorMain::ClassMaintenance() {
    MainStartup& s = startup();
    if (!s.store || !Access.command(app::Command::ClassMaintenance).enabled) return;
    TClassMaintenance dialog(*s.store, *tutor().list, this);
    dialog.exec();
    RefreshUsers();
}

void TKalvintorMain::Administration() {
    MainStartup& s = startup();
    if (!s.store || !Access.command(app::Command::Administration).enabled) return;
    TSystemadmin dialog(*s.store, progressForm(), this);
    dialog.saveDefaultSettings = [this] { StoreSettings(true); };
    dialog.dataDirectoryChanged = [this](const QString&) {
        // The new directory counts from the next start, when users log in to it.
        RefreshUsers();
    };
    dialog.exec();
}

void TKalvintorMain::RefreshUsers() {
    MainStartup& s = startup();
    if (!s.store || !s.dataUsable) return;
    s.store->LoadClasses();
    s.store->LoadUsers();
    if (CurrentView == app::kViewUserOverview && s.userslist) s.userslist->ShowView(CurrentExercise);
}

}  // namespace kalvintor::ui
