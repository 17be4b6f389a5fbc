// The tutor chooser ("Tutor profile..."): a user's tutor and the step he works on in each exercise.
#pragma once

#include "tutor/Course.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <string>

class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;

namespace kalvintor::data {
class DataStore;
struct TUserInfo;
}  // namespace kalvintor::data

namespace kalvintor::ui {

class TTutorlist;

class TChooseTutor final : public QDialog {
    Q_OBJECT
public:
    TChooseTutor(tutor::TutorModel& model, TTutorlist& list, QWidget* parent = nullptr);

    // Opened by the runner (the start of a tutor or "Change step..."), not by "Tutor profile...".
    bool FromRunner = false;
    std::filesystem::path CommonDirectory;
    std::filesystem::path LanguageDirectory;
    std::string LanguageName;

    // Runs the dialog for `user` of `store` with `exercise` current; on OK the user is saved and
    // the store's current user re-read. 1 when the user has a tutor afterwards, else 2.
    int ChooseTutorFor(data::DataStore& store, data::TUserInfo& user, int exercise);
    // The chosen tutor as stored, and whether it changed in this dialog.
    const std::string& chosenTutor() const { return chosen_; }
    bool tutorChanged() const { return changed_; }

    QLabel* Label8;        // "Tutor:" and the title
    QLabel* Label9;        // "Author:" and the author
    QPushButton* Button1;  // Load tutor...
    QPushButton* Button2;  // Clear
    QLabel* Label7;
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // Cancel
    // The rows' track bars and step labels, index = exercise number (0 unused).
    std::array<QWidget*, 11> Rows{};
    std::array<QSlider*, 11> TrackBars{};
    std::array<QLabel*, 11> StepLabels{};

private:
    void BuildRows(int exercise);
    void ShowTitle();
    void ShowStep(int exercise);
    // The track bars' positions into the steps, for the exercises the loaded tutor has.
    void ReadSteps();

    tutor::TutorModel& model_;
    TTutorlist& list_;
    QScrollArea* scroll_;
    std::string chosen_;
    bool changed_ = false;
    tutor::TutorSteps steps_{};
};

}  // namespace kalvintor::ui
