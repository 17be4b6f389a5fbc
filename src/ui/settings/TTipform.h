// The tip window: one short tip with "Hide this tip"; at start it also offers the next tip and the
// choice whether tips are shown at start at all.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kalvintor::ui {

class TTipform final : public QDialog {
    Q_OBJECT
public:
    // `atStart` adds "Next tip" and "Show tips at start".
    TTipform(std::uint32_t& tipMask, int tip, bool atStart, QWidget* parent = nullptr);

    // A tip button's tip: shows it and returns true when it is still to be offered.
    static bool ShowTip(std::uint32_t& tipMask, int tip, QWidget* parent);
    // The tip of the day at start, when any tip is still offered; false when none was shown.
    static bool ShowAtStart(std::uint32_t& tipMask, int dayNumber, QWidget* parent);

    int Tip() const { return tip_; }
    void NextTip();

    QLabel* Label1;
    QCheckBox* CheckBox1;  // hide this tip
    QCheckBox* ShowAtStartBox;
    QPushButton* NextButton;
    QPushButton* Button1;  // close

protected:
    void done(int result) override;

private:
    void showText();
    void takeHideChoice();

    std::uint32_t& mask_;
    int tip_;
};

}  // namespace kalvintor::ui
