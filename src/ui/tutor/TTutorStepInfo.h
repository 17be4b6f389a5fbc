// The step information shown before each tutor step: the step, its name and the hint.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace kalvintor::ui {

class TTutorStepInfo final : public QDialog {
    Q_OBJECT
public:
    explicit TTutorStepInfo(QWidget* parent = nullptr);

    // Fills the dialog; without a step name and hint the step could not be read.
    void Fill(const QString& caption, int step, const QString& tutorTitle, const QString& stepName,
              const QString& hint, bool found, bool mayChangeStep);
    // "Change step...".
    std::function<void()> changeStep;

    QLabel* Label5;        // the step and the tutor
    QLabel* Label2;        // the step's name
    QLabel* Label1;        // the hint
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // Change step...
};

}  // namespace kalvintor::ui
