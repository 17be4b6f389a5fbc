// The tip window: one short tip behind an exercise window's tip button, with "Hide this tip".
#pragma once

#include <QDialog>
#include <QIcon>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QPushButton;

namespace kalvintor::ui {

class ExerciseHost;

class TTipform final : public QDialog {
    Q_OBJECT
public:
    TTipform(int tip, QWidget* parent = nullptr);

    QLabel* Label1;
    QCheckBox* CheckBox1;  // "Hide this tip"
    QPushButton* Button1;  // "Close"

    // Shows tip n modally; a tip hidden for good clears its bit of the settings' mask. True when
    // the tip is still to be offered.
    static bool ShowTip(int tip, ExerciseHost& host, QWidget* parent);
    // Connects a tip button: a click shows its tip, and the button goes when the tip is hidden.
    static void connectButton(QAbstractButton* button, int tip, ExerciseHost& host);
    // The picture of the tip buttons.
    static QIcon buttonIcon();
};

}  // namespace kalvintor::ui
