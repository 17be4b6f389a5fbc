// The login dialog: name and password, a guest session where the school allows it, and
// "New user..." where users may register themselves.
#pragma once

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class QFrame;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TAddUserForm;

class TUserLoggin final : public QDialog {
    Q_OBJECT
public:
    TUserLoggin(data::DataStore& store, TAddUserForm& addUser, QWidget* parent = nullptr);

    enum class Outcome { User, Guest, Quit };
    // Shows the dialog until a user or a guest is logged in, or the program is to end.
    Outcome run();

    QLineEdit* Edit1;  // name
    QLineEdit* Edit2;  // password
    QPushButton* OK;
    QPushButton* BitBtn2;  // New user...
    QPushButton* Cancel;
    QFrame* Bevel;

protected:
    void done(int result) override;
    void showEvent(QShowEvent* event) override;

private:
    data::DataStore& store_;
    TAddUserForm& addUser_;
    Outcome outcome_ = Outcome::Quit;
};

// The whole login of a program start: the first administrator, the operating-system user name,
// self-registration and the dialog. The access level to apply, or nothing when the program is to
// end (the dialog cancelled where guests are not allowed).
std::optional<int> Login(QWidget* parent, data::DataStore& store, TAddUserForm& addUser);

}  // namespace kalvintor::ui
