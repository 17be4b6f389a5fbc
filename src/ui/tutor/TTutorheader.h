// The tutor properties dialog: the tutor's name, description and author.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace kalvintor::ui {

class TTutorheader final : public QDialog {
    Q_OBJECT
public:
    explicit TTutorheader(QWidget* parent = nullptr);

    QLineEdit* Edit1;      // Tutorname
    QLineEdit* Edit2;      // Description
    QLineEdit* Edit3;      // Author
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // Cancel
    QPushButton* BitBtn3;  // Help
};

}  // namespace kalvintor::ui
