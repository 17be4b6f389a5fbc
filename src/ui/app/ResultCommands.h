// The results window's commands that the main window's menu offers as well: the window that owns
// the dialogs implements them, so the menu and the window's own buttons run the same code.
#pragma once

namespace kalvintor::ui {

class ResultCommands {
public:
    virtual ~ResultCommands() = default;
    // "Print...": the report window for `exercise`.
    virtual void OpenReports(int exercise) = 0;
    // "Import/Export user data...".
    virtual void OpenTransfer() = 0;
    // "Delete results...": the logged-in user's own results from before a date.
    virtual void DeleteResults() = 0;
};

}  // namespace kalvintor::ui
