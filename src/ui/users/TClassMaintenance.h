// Class maintenance: the classes with their name, teacher, tutor and members.
#pragma once

#include "data/ClassRecord.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TStudentsinClass;
class TTutorlist;

class TClassMaintenance final : public QDialog {
    Q_OBJECT
public:
    // Class tutors are chosen in `tutors`, the program's tutor list dialog.
    TClassMaintenance(data::DataStore& store, TTutorlist& tutors, QWidget* parent = nullptr);

    QListWidget* ListBox1;  // classes
    QLineEdit* Edit1;       // class name
    QComboBox* ComboBox1;   // teacher
    QComboBox* ComboBox2;   // tutor
    QListWidget* ListBox2;  // members
    QPushButton* NewClass;
    QPushButton* DeleteClass;
    QPushButton* AddRemove;
    QPushButton* CloseButton;
    QPushButton* HelpButton;

    void NewClassClick();
    void DeleteClassClick();
    void AddRemoveClick();
    // The classes as the dialog holds them (new ones reach Class.dat when it closes).
    const std::vector<data::ClassRecord>& classes() const { return classes_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void openClasses();
    void showClass(int index);
    void fillTutors(const data::ClassRecord& c);
    void chooseTutor(int entry);
    void enableEditing(bool enabled);
    data::ClassRecord* current();
    void showMembers();

    data::DataStore& store_;
    TTutorlist& tutors_;
    std::vector<data::ClassRecord> classes_;
    TStudentsinClass* content_ = nullptr;
    bool filling_ = false;
};

}  // namespace kalvintor::ui
