// The button row the teacher's editors end with: "Play" on the left, OK and Cancel on the right.
#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace kalvintor::ui {

struct EditorButtons {
    QPushButton* play = nullptr;  // SpeedButton1: the caller connects what it plays
    QPushButton* ok = nullptr;    // accepts the dialog (the default button)
    QPushButton* cancel = nullptr;
};

EditorButtons addEditorButtons(QDialog* dialog, QBoxLayout* layout);

}  // namespace kalvintor::ui
