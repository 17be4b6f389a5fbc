// The windows the main window shows besides the exercises and the start menu: the setup views
// (view 2), the results window (view 3) and the user overview (view 4). Each registers with the
// main window, which fills, shows and leaves it in SelectView.
#pragma once

class QWidget;

namespace kalvintor::setup {
struct SetupRecord;
}

namespace kalvintor::ui {

// A setup view: shows one exercise's block of a setup and writes its controls back into it.
class SetupView {
public:
    virtual ~SetupView() = default;
    virtual QWidget* widget() = 0;
    // Fills the controls for `exercise` from `setup`.
    virtual void LoadSetup(int exercise, const setup::SetupRecord& setup) = 0;
    // Writes the controls' values for `exercise` into `setup`.
    virtual void StoreSetup(int exercise, setup::SetupRecord& setup) = 0;
};

// The results window and the user overview: refreshed for an exercise each time they are shown.
class InfoView {
public:
    virtual ~InfoView() = default;
    virtual QWidget* widget() = 0;
    virtual void ShowView(int exercise) = 0;
};

}  // namespace kalvintor::ui
