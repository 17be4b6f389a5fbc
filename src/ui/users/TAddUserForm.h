// The dialog that creates and edits users: name and password, access level and permissions, the
// private directory and the class.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TAddUserForm final : public QDialog {
    Q_OBJECT
public:
    explicit TAddUserForm(data::DataStore& store, QWidget* parent = nullptr);

    // A negative level: a user created by a teacher or administrator. Level 1 or 3: a user who
    // registers himself (and the first administrator). True when the user was stored; he is then
    // the store's selected user.
    bool AddUser(int level);
    // Edits the store's selected user; true when confirmed.
    bool EditUser();
    // The levels from Student up to the logged-in user's (all three without one).
    void FillLevelList();

    // Asked whether the login goes by the operating-system user name; the password fields are
    // shown only when it does not.
    bool useSystemLogin() const;

    QTabWidget* PageControl1;
    QLineEdit* Edit4;      // first name
    QLineEdit* Edit5;      // last name
    QLineEdit* Edit2;      // user name
    QLineEdit* Edit3;      // password
    QLineEdit* Edit1;      // password again
    QLabel* Label11;       // user number
    QComboBox* ComboBox1;  // level
    QCheckBox* CheckBox3;  // tutor change
    QCheckBox* CheckBox2;  // exercise setup
    QCheckBox* CheckBox1;  // edit chords
    QCheckBox* CheckBox4;  // private settings
    QLineEdit* Edit6;      // private directory
    QComboBox* ComboBox2;  // class
    QPushButton* BitBtn1;  // Add / OK
    QPushButton* Cancel;

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* userPage();
    QWidget* accessPage();
    QWidget* optionsPage();
    void clearFields();
    void fillClasses(std::int16_t selected);
    void applyLevelRule();
    void capitalise(QLineEdit* edit);
    bool confirm();
    bool store();
    int chosenLevel() const;
    void fail(int page, QWidget* focus, int id, const char* english);

    data::DataStore& store_;
    bool newUser_ = false;
    bool stored_ = false;
    std::string rememberedLogin_;
    QWidget* accessPage_;
    QList<QWidget*> passwordWidgets_;
};

}  // namespace kalvintor::ui
