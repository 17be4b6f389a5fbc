// The tutor editor: the steps of each exercise, their setups through the setup view, and the
// tutor's files.
#pragma once

#include "tutor/TutorModel.h"

#include <QMainWindow>

#include <array>

class QLabel;
class QListWidget;
class QToolButton;

namespace kalvintor::ui {

class TEditTutorLevel;
class TKalvintorMain;
class TTutorheader;
class TTutorlist;

class TTutorDefine final : public QMainWindow {
    Q_OBJECT
public:
    TTutorDefine(TKalvintorMain& main, tutor::TutorModel& model, TTutorlist& list);

    // Editor mode begins on `exercise`: the window shows its steps.
    void StartEditor(int exercise);
    // The exercise changes in editor mode: the old one's open step is stored (its setup view's
    // values are in the current setup already) and closed; the new list's selected step opens.
    void CloseExercise(int exercise);
    void OpenExercise(int exercise);
    // Editor mode is to end: the open step is stored, then the close question; false keeps it.
    bool LeaveEditor(int exercise);

    // Puts the setup view's values into a step: without `ask` into the selected step, with `ask`
    // into the open step once the user agrees. `takeDialog` reads the setup view first.
    void StoreOpenStep(bool ask, int exercise, bool takeDialog);
    bool ConfirmClose();
    // "Save tutor"; with `withListing` (Ctrl held) also Tutorlines.txt.
    bool SaveTutor(bool withListing = false);

    // The commands, as the tool bar and menus run them.
    void NewTutor();
    void OpenTutor();
    void InsertSteps();
    void TutorProperties();
    void NewStep();
    void DeleteStep();
    void StepProperties();
    void MoveStep(int by);
    void SelectStep(int row);
    void ShowTitle();

    QListWidget* list(int exercise) const { return boxes_[static_cast<std::size_t>(exercise)]; }
    int exercise() const { return exercise_; }
    TEditTutorLevel* stepDialog() const { return stepDialog_; }
    TTutorheader* headerDialog() const { return headerDialog_; }
    // Chooses the file the tutor is saved in (the tests answer it).
    std::function<QString(const QString& start)> chooseSaveFile;

    QLabel* Label1;             // the title line
    QToolButton* SpeedButton1;  // help
    QToolButton* SpeedButton2;  // open
    QToolButton* SpeedButton3;  // save
    QToolButton* SpeedButton4;  // new
    QToolButton* SpeedButton5;  // up
    QToolButton* SpeedButton6;  // down

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refill(int exercise);
    void UpdateCommands();
    bool EditHeader(bool fresh);
    void ShowStepSetup(int exercise, int row);
    void StepsDropped(int from, int to);

    TKalvintorMain& main_;
    tutor::TutorModel& model_;
    TTutorlist& list_;
    std::array<QListWidget*, 11> boxes_{};
    TEditTutorLevel* stepDialog_;
    TTutorheader* headerDialog_;
    int exercise_ = 0;
    int nameCounter_ = 1;
    bool refilling_ = false;
};

}  // namespace kalvintor::ui
