// The login dialog and the login procedure of a program start.
#include "users/TUserLoggin.h"

#include "app/AccessLevels.h"
#include "app/Program.h"
#include "app/StartupRules.h"
#include "app/TVelkommen.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "users/TAddUserForm.h"
#include "users/UserTexts.h"

#include <QApplication>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

// The name field shows what is typed in upper case, as login names are compared.
class UpperCase final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

}  // namespace

TUserLoggin::TUserLoggin(data::DataStore& store, TAddUserForm& addUser, QWidget* parent)
    : QDialog(parent), store_(store), addUser_(addUser) {
    setObjectName(QStringLiteral("UserLoggin"));
    setWindowTitle(text(7230, "User login"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(text(7231, "Name:"));
    Edit1->setMaxLength(30);
    Edit1->setValidator(new UpperCase(Edit1));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setAccessibleName(text(7232, "Password:"));
    Edit2->setMaxLength(15);
    Edit2->setEchoMode(QLineEdit::Password);
    OK = new QPushButton(text(90, "OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    BitBtn2 = new QPushButton(text(7233, "New user..."), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    Cancel = new QPushButton(text(7214, "Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Bevel = new QFrame(this);
    Bevel->setFrameShape(QFrame::VLine);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        // The dialog stays open so that the new user can log in.
        if (addUser_.AddUser(app::kLevelStudent) && store_.SelectedUser()) {
            Edit1->setText(QString::fromStdString(store_.SelectedUser()->record.loginName));
            Edit2->setFocus();
        }
    });

    auto* form = new QFormLayout;
    form->addRow(Edit1->accessibleName(), Edit1);
    form->addRow(Edit2->accessibleName(), Edit2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addWidget(Bevel);
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

TUserLoggin::Outcome TUserLoggin::run() {
    BitBtn2->setVisible(store_.Common.allowNewUsers);
    Bevel->setVisible(store_.Common.allowNewUsers);
    exec();
    return outcome_;
}

void TUserLoggin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (program().welcome) program().welcome->hide();
    if (store_.Common.allowGuestLogin) Edit1->setText(levelName(app::kLevelGuest).toUpper());
    Edit1->setFocus();
    Edit1->selectAll();
}

void TUserLoggin::done(int result) {
    const bool cancelled = result != QDialog::Accepted;
    const bool guests = store_.Common.allowGuestLogin;
    const std::string name = Edit1->text().trimmed().toStdString();
    if (app::IsGuestLogin(name, levelName(app::kLevelGuest).toStdString(), guests, cancelled)) {
        store_.LoginGuest();
        outcome_ = Outcome::Guest;
    } else if (cancelled) {
        // Without guest sessions, cancelling the login ends the program.
        outcome_ = Outcome::Quit;
    } else if (store_.CheckLogin(name, Edit2->text().toStdString())) {
        outcome_ = Outcome::User;
    } else {
        informUser(this, text(4103, "Wrong name or password."));
        Edit2->clear();
        Edit1->setFocus();
        Edit1->selectAll();
        return;
    }
    QDialog::done(result);
}

std::optional<int> Login(QWidget* parent, data::DataStore& store, TAddUserForm& addUser) {
    if (store.CountAdministrators() == 0) {
        if (program().welcome) program().welcome->hide();
        informUser(parent,
                   text(4100, "There is no administrator yet. Please create the first administrator now."));
        if (addUser.AddUser(app::kLevelAdministrator) && store.SelectedUser()) {
            store.FindUser(store.SelectedUser()->record.userId, {}, true);
            // The administrator who just made himself is logged in at once only when the system
            // login names him; otherwise he logs in below like everybody else.
        }
    }
    const QString owner = systemUserName();
    const bool shiftHeld = QApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    const auto dialog = [&]() -> std::optional<int> {
        TUserLoggin login(store, addUser, parent);
        switch (login.run()) {
            case TUserLoggin::Outcome::Quit:
                return std::nullopt;
            case TUserLoggin::Outcome::Guest:
                return app::kLevelGuest;
            case TUserLoggin::Outcome::User:
                break;
        }
        return app::LevelOf(store.CurrentUser()->record.accessLevel);
    };
    if (shiftHeld || !store.Common.useSystemLogin || owner.isEmpty()) return dialog();
    if (store.FindUser(0, owner.toStdString(), true))
        return app::LevelOf(store.CurrentUser()->record.accessLevel);
    if (store.Common.allowNewUsers) {
        if (askUser(parent, formatted(4102, "There is no user %s. Do you want to register as a new user?",
                                      {owner.toStdString()})) &&
            addUser.AddUser(app::kLevelStudent) && store.SelectedUser() &&
            store.FindUser(store.SelectedUser()->record.userId, {}, true))
            return app::LevelOf(store.CurrentUser()->record.accessLevel);
        store.LoginGuest();
        return app::kLevelGuest;
    }
    informUser(parent, formatted(4101, "There is no user %s.", {owner.toStdString()}));
    return dialog();
}

}  // namespace kalvintor::ui
