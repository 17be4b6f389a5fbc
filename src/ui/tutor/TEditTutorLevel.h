// The tutor step dialog: where a new step's setup comes from and where it goes, and the step's
// name, hint, questions and levels.
#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace kalvintor::tutor {
struct TTutorObject;
}

namespace kalvintor::ui {

class TEditTutorLevel final : public QDialog {
    Q_OBJECT
public:
    explicit TEditTutorLevel(QWidget* parent = nullptr);

    // Prepares the dialog for a new step; `hasSteps` says whether the list has a selected step.
    void ForNewStep(bool hasSteps);
    // Prepares the dialog for a step's properties.
    void ForProperties(const tutor::TTutorObject& step);
    // Writes the properties into `step` (name, hint, questions, levels).
    void StoreProperties(tutor::TTutorObject& step) const;
    // "Browse..." of "File": the chosen setup file, or an empty text.
    std::function<QString()> browseSetup;
    QString setupFile() const { return file_; }

    QTabWidget* PageControl1;
    QRadioButton* RadioButton1;  // Selected step
    QRadioButton* RadioButton2;  // File
    QPushButton* Button1;        // Browse...
    QRadioButton* RadioButton3;  // Exercise setup screen
    QRadioButton* RadioButton4;  // Before selected step
    QRadioButton* RadioButton5;  // After selected step
    QLineEdit* Edit1;            // Step name
    QPlainTextEdit* Memo1;       // Hints to the student
    QSpinBox* SpinEdit1;         // Questions
    QSpinBox* SpinEdit2;         // Upgrade level
    QSpinBox* SpinEdit3;         // Downgrade level
    QPushButton* BitBtn1;        // OK
    QPushButton* BitBtn2;        // Cancel

    void done(int result) override;

private:
    QWidget* newPage_;
    QWidget* propertiesPage_;
    QString file_;
};

}  // namespace kalvintor::ui
