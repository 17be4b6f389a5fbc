// The tutor list dialog: the tutors of a folder by title, with their description and author.
#pragma once

#include "tutor/Course.h"

#include <QDialog>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kalvintor::ui {

class TTutorlist final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Open, Insert };
    explicit TTutorlist(QWidget* parent = nullptr);

    // The folder shown at each opening: the common directory when it exists, else the program's.
    bool ResetDirectory = true;
    std::filesystem::path CommonDirectory;
    std::filesystem::path ProgramDirectory;

    // Shows the list modally; the chosen tutor's name as users and classes store it.
    std::optional<std::string> TutorListDialog(Mode mode);
    // Lists the tutors of `directory`.
    void Fill(const std::filesystem::path& directory);

    QLabel* Label2;
    QPushButton* Button1;  // Browse...
    QListWidget* ListBox1;
    QPushButton* Button2;  // Details>>
    QPlainTextEdit* Memo1;
    QLineEdit* Edit1;
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // Cancel
    QPushButton* BitBtn3;  // Help

private:
    void ShowDetails(bool shown);
    void ItemClicked();

    QWidget* details_;
    std::filesystem::path directory_;
    std::vector<tutor::TAddInf> entries_;
};

}  // namespace kalvintor::ui
