// The report dialog: who, which exercises and which days; the report previewed, printed or saved
// as PDF.
#pragma once

#include "results/Report.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QRadioButton;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TReports final : public QDialog {
    Q_OBJECT
public:
    // `mayChooseUsers`: the user-overview right; without it the report covers the selected user.
    TReports(data::DataStore& store, bool mayChooseUsers, int currentExercise, QWidget* parent = nullptr);

    // The report the dialog's choices ask for; nothing (after saying why) when they are incomplete.
    std::optional<results::Report> PrepareReport();
    // Writes the report as a PDF file (replaced whole); false after a message when it could not.
    bool SavePdf(const QString& file);

    QGroupBox* UsersGroup;
    QRadioButton* RadioButton1;                  // single user
    QRadioButton* RadioButton2;                  // class
    QRadioButton* RadioButton3;                  // all users
    QRadioButton* RadioButton4;                  // all students
    QComboBox* ComboBox3;                        // users
    QComboBox* ComboBox2;                        // classes
    std::array<QCheckBox*, 11> ExerciseBoxes{};  // index = exercise
    QCheckBox* AllBox;
    QComboBox* DaysBox;

private:
    void preview();
    void print();
    void savePdfAs();
    void allChanged(int state);
    void exerciseChanged();

    data::DataStore& store_;
    bool mayChooseUsers_;
    bool updatingBoxes_ = false;
};

}  // namespace kalvintor::ui
