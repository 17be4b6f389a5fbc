// The main window: one child view at a time, the shared objects, and the program's start-up state.
#pragma once

#include "Pictures.h"

#include <QHash>
#include <QMainWindow>

#include <array>

class QStackedWidget;

namespace kalvintor::ui {

class THelpWindow;
class TMenuDialog;

// The caption of the main window, kept so that a temporary caption can be undone.
inline const QString kMainCaption = QStringLiteral("Kalvintor School");

class TKalvintorMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit TKalvintorMain(QWidget* parent = nullptr);
    ~TKalvintorMain() override;

    // Start-up state.
    bool FirstShow = true;
    bool LoginDone = false;
    bool SetupLoaded = false;
    bool Guest = false;
    bool TeacherWindowsCreated = false;
    bool ReportWindowsCreated = false;
    bool SettingsDialogOpen = false;
    bool SetupChanged = false;
    bool TutorActive = false;
    bool TutorEditorActive = false;
    std::array<bool, 10> AccessRights{};
    int CurrentExercise = 0;
    int CurrentView = 1;

    // Makes `child` the view that fills the client area.
    void ShowMaximized(QWidget* child);
    QStackedWidget* views() const { return views_; }

    QCursor cursor(int number) const { return cursors_.value(number, QCursor(Qt::ArrowCursor)); }

    THelpWindow* helpWindow();
    TMenuDialog* menuDialog() const { return menu_; }
    // Creates the start menu, the last of the windows the program entry creates.
    void CreateMenuDialog();
    // Brings the window to the front: another start of the program asked for it.
    void activateFromAnotherStart();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShowFirst();

    QStackedWidget* views_;
    QHash<int, QCursor> cursors_;
    THelpWindow* help_ = nullptr;
    TMenuDialog* menu_ = nullptr;
};

// The program directory: $KALVINTOR_PROGRAM_DIR when set, else the executable's directory.
QString programDirectory();

}  // namespace kalvintor::ui
