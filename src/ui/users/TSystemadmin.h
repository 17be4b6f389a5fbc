// The system settings dialog of administrators: the data directory, the common files directory,
// the login options of the school, the shared program settings and the purge of old results.
#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TProgressForm;

class TSystemadmin final : public QDialog {
    Q_OBJECT
public:
    TSystemadmin(data::DataStore& store, TProgressForm& progress, QWidget* parent = nullptr);

    // "Save Default program settings": the main window stores its settings as the shared record.
    std::function<void()> saveDefaultSettings;
    // A new data directory was accepted: the main window takes it.
    std::function<void(const QString& directory)> dataDirectoryChanged;

    QTabWidget* PageControl1;
    QLineEdit* Edit3;      // data directory
    QLineEdit* Edit1;      // common files directory
    QCheckBox* CheckBox1;  // Use System Login
    QCheckBox* CheckBox2;  // Allow New Users
    QCheckBox* CheckBox3;  // Allow guest login
    QPushButton* SaveDefaults;
    QDateEdit* DateTimePicker1;
    QPushButton* DeleteButton;
    QLabel* ProgressLabel;
    QPushButton* Ok;
    QPushButton* Cancel;

    // Deletes the results of every user from before the picker's date.
    void DeleteResults();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* dataPage();
    QWidget* optionsPage();
    QWidget* functionsPage();

    data::DataStore& store_;
    TProgressForm& progress_;
};

}  // namespace kalvintor::ui
