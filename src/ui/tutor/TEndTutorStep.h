// The end of a tutor step: how it went, what is advised, and the way on.
#pragma once

#include "tutor/Course.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace kalvintor::ui {

class TEndTutorStep final : public QDialog {
    Q_OBJECT
public:
    explicit TEndTutorStep(QWidget* parent = nullptr);

    // Shows the judgement; the buttons end the dialog with 11 (next), 10 (stay) or 9 (previous),
    // closing it otherwise with 2 (the tutor ends).
    void Fill(const tutor::StepJudgement& judgement);
    QPushButton* recommended() const { return recommended_; }

    QLabel* Label4;        // the message
    QLabel* Label2;        // the recommendation
    QPushButton* BitBtn1;  // Next step
    QPushButton* BitBtn2;  // Stay
    QPushButton* BitBtn3;  // Previous step

protected:
    void paintEvent(QPaintEvent* event) override;
    void reject() override { done(tutor::kEndTutor); }

private:
    QPushButton* recommended_ = nullptr;
};

}  // namespace kalvintor::ui
