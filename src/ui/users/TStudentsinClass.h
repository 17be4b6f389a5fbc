// "Class content": students in no class on one side, the class's members on the other.
#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TStudentsinClass final : public QDialog {
    Q_OBJECT
public:
    explicit TStudentsinClass(data::DataStore& store, QWidget* parent = nullptr);

    void setClass(std::int16_t classId, const std::string& tutorFile, const QString& className);
    // Called after every change, so that the class maintenance shows the members again.
    std::function<void()> changed;

    QLabel* Label2;
    QListWidget* ListBox1;  // students in no class
    QListWidget* ListBox2;  // members
    QPushButton* AddButton;
    QPushButton* RemoveButton;
    QPushButton* CloseButton;

    void AddStudent();
    void RemoveStudent();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    data::DataStore& store_;
    std::int16_t classId_ = 0;
    std::string tutorFile_;
};

}  // namespace kalvintor::ui
