// The tip window: one short tip with "Hide this tip", behind an exercise window's tip button; at
// start it also offers the next tip and the choice whether tips are shown at start at all.
#pragma once

#include <QDialog>
#include <QIcon>

#include <cstdint>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;

namespace kalvintor::ui {

class ExerciseHost;

class TTipform final : public QDialog {
    Q_OBJECT
public:
    // `atStart` adds "Next tip" and "Show tips at start". The mask is the settings' one of the
    // tips still offered; closing the window writes the choices into it.
    TTipform(std::uint32_t& tipMask, int tip, bool atStart, QWidget* parent = nullptr);

    // A tip button's tip: shows it and returns true when it is still to be offered.
    static bool ShowTip(std::uint32_t& tipMask, int tip, QWidget* parent);
    // The tip of the day at start, when any tip is still offered; false when none was shown.
    static bool ShowAtStart(std::uint32_t& tipMask, int dayNumber, QWidget* parent);
    // Connects a tip button: a click shows its tip, a tip hidden for good is stored through the
    // host, and the button goes when its tip is hidden.
    static void connectButton(QAbstractButton* button, int tip, ExerciseHost& host);
    // The picture of the tip buttons.
    static QIcon buttonIcon();

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
