// The add/edit user dialog and its checks before a user is stored.
#include "users/TAddUserForm.h"

#include "app/Program.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "users/UserTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

constexpr int kUserPage = 0;
constexpr int kOptionsPage = 2;

QLineEdit* lineEdit(QWidget* parent, const char* name, const QString& accessible, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessible);
    edit->setMaxLength(maxLength);
    return edit;
}

QCheckBox* checkBox(QWidget* parent, const char* name, int id, const char* english) {
    auto* box = new QCheckBox(text(id, english), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

}  // namespace

TAddUserForm::TAddUserForm(data::DataStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("AddUserForm"));
    setWindowTitle(text(4090, "Add user"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(text(7210, "User pages"));
    PageControl1->addTab(userPage(), text(7211, "User"));
    accessPage_ = accessPage();
    PageControl1->addTab(accessPage_, text(7212, "Access"));
    PageControl1->addTab(optionsPage(), text(7213, "Options"));

    BitBtn1 = new QPushButton(text(7297, "Add"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    Cancel = new QPushButton(text(7214, "Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

QWidget* TAddUserForm::userPage() {
    auto* page = new QWidget;
    Edit4 = lineEdit(page, "Edit4", text(7215, "First name:"), 30);
    Edit5 = lineEdit(page, "Edit5", text(7216, "Last name:"), 30);
    Edit2 = lineEdit(page, "Edit2", text(7217, "User name:"), 19);
    Edit3 = lineEdit(page, "Edit3", text(7218, "Password:"), 15);
    Edit1 = lineEdit(page, "Edit1", text(7219, "Password again:"), 15);
    Edit3->setEchoMode(QLineEdit::Password);
    Edit1->setEchoMode(QLineEdit::Password);
    Label11 = new QLabel(page);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setAccessibleName(text(7220, "User number:"));
    connect(Edit4, &QLineEdit::textEdited, this, [this] { capitalise(Edit4); });
    connect(Edit5, &QLineEdit::textEdited, this, [this] { capitalise(Edit5); });

    auto* form = new QFormLayout(page);
    form->addRow(Edit4->accessibleName(), Edit4);
    form->addRow(Edit5->accessibleName(), Edit5);
    form->addRow(Edit2->accessibleName(), Edit2);
    form->addRow(Edit3->accessibleName(), Edit3);
    form->addRow(Edit1->accessibleName(), Edit1);
    auto* hint = new QLabel(text(7221, "If you don't want a password - don't type one!"), page);
    form->addRow(hint);
    form->addRow(Label11->accessibleName(), Label11);
    passwordWidgets_ = {Edit3, Edit1, form->labelForField(Edit3), form->labelForField(Edit1), hint};
    return page;
}

QWidget* TAddUserForm::accessPage() {
    auto* page = new QWidget;
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(text(7222, "Access level"));
    CheckBox3 = checkBox(page, "CheckBox3", 7223, "Allow Tutor Change");
    CheckBox2 = checkBox(page, "CheckBox2", 7224, "Allow Exercise Setup");
    CheckBox1 = checkBox(page, "CheckBox1", 7225, "Allow Edit Chords");
    CheckBox4 = checkBox(page, "CheckBox4", 7226, "Allow Private Program Settings");
    connect(ComboBox1, &QComboBox::activated, this, [this] { applyLevelRule(); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(ComboBox1->accessibleName(), page));
    layout->addWidget(ComboBox1);
    for (QCheckBox* box : {CheckBox3, CheckBox2, CheckBox1, CheckBox4}) layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TAddUserForm::optionsPage() {
    auto* page = new QWidget;
    Edit6 = lineEdit(page, "Edit6", text(7227, "Private Directory:"), 149);
    auto* browse = new QPushButton(text(7228, "Browse..."), page);
    browse->setObjectName(QStringLiteral("Browse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getExistingDirectory(this, text(7227, "Private Directory:"), Edit6->text());
        if (!chosen.isEmpty()) Edit6->setText(QDir::toNativeSeparators(chosen));
    });
    ComboBox2 = new QComboBox(page);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleName(text(7229, "Class:"));
    auto* form = new QFormLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(Edit6);
    row->addWidget(browse);
    form->addRow(Edit6->accessibleName(), row);
    form->addRow(ComboBox2->accessibleName(), ComboBox2);
    return page;
}

bool TAddUserForm::useSystemLogin() const {
    return store_.Common.useSystemLogin;
}

void TAddUserForm::FillLevelList() {
    const data::TUserInfo* current = store_.CurrentUser();
    const int top = current && current->record.accessLevel >= 1 ? (current->record.accessLevel & 15) : 3;
    ComboBox1->clear();
    for (int level = 1; level <= std::min(top, 3); ++level) ComboBox1->addItem(levelName(level), level);
}

void TAddUserForm::clearFields() {
    for (QLineEdit* edit : {Edit4, Edit5, Edit2, Edit3, Edit1, Edit6}) edit->clear();
    // The number is handed out when the record is written, so that two workstations never share one.
    Label11->setText(text(7234, "given when the user is added"));
}

void TAddUserForm::fillClasses(std::int16_t selected) {
    ComboBox2->clear();
    ComboBox2->addItem(text(102, "none"), 0);
    for (const auto& c : store_.ClassList()) {
        ComboBox2->addItem(QString::fromStdString(c->record.className), c->record.classId);
        if (c->record.classId == selected) ComboBox2->setCurrentIndex(ComboBox2->count() - 1);
    }
}

void TAddUserForm::applyLevelRule() {
    // Teachers and administrators have every permission.
    const bool student = chosenLevel() <= 1;
    for (QCheckBox* box : {CheckBox3, CheckBox2, CheckBox1, CheckBox4}) {
        box->setChecked(!student);
        box->setEnabled(student);
    }
}

int TAddUserForm::chosenLevel() const {
    const QVariant level = ComboBox1->currentData();
    return level.isValid() ? level.toInt() : 1;
}

void TAddUserForm::capitalise(QLineEdit* edit) {
    QString t = edit->text();
    if (t.isEmpty() || t[0].isUpper()) return;
    const int cursor = edit->cursorPosition();
    t[0] = t[0].toUpper();
    edit->setText(t);
    edit->setCursorPosition(cursor);
}

bool TAddUserForm::AddUser(int level) {
    clearFields();
    newUser_ = true;
    rememberedLogin_.clear();
    PageControl1->setTabVisible(1, true);
    if (level < 0) {
        Edit2->setEnabled(true);
        FillLevelList();
        ComboBox1->setEnabled(true);
        ComboBox1->setCurrentIndex(0);
        applyLevelRule();
        store_.LoadClasses();
        fillClasses(0);
        ComboBox2->setEnabled(true);
    } else {
        ComboBox2->clear();
        ComboBox2->setEnabled(false);
        const QString owner = systemUserName();
        if (useSystemLogin()) Edit2->setText(owner);
        Edit2->setEnabled(Edit2->text().isEmpty() || !useSystemLogin());
        ComboBox1->clear();
        ComboBox1->addItem(levelName(level), level);
        ComboBox1->setEnabled(false);
        applyLevelRule();
        if (level <= 1)
            for (QCheckBox* box : {CheckBox3, CheckBox2, CheckBox1, CheckBox4}) {
                box->setChecked(true);
                box->setEnabled(false);
            }
    }
    setWindowTitle(text(4090, "Add user"));
    BitBtn1->setText(text(7297, "Add"));
    stored_ = false;
    return exec() == QDialog::Accepted && stored_;
}

bool TAddUserForm::EditUser() {
    data::TUserInfo* user = store_.SelectedUser();
    if (user == nullptr) return false;
    const data::UserRecord& r = user->record;
    newUser_ = false;
    Edit2->setEnabled(true);
    Edit4->setText(QString::fromStdString(data::firstName(r.fullName)));
    Edit5->setText(QString::fromStdString(data::lastName(r.fullName)));
    Edit2->setText(QString::fromStdString(r.loginName));
    const QString password = QString::fromStdString(data::UnscramblePassword(r.password));
    Edit3->setText(password);
    Edit1->setText(password);
    Label11->setText(QString::number(r.userId));
    const data::TUserInfo* current = store_.CurrentUser();
    const int myLevel = current ? (current->record.accessLevel & 15) : 3;
    if (myLevel < 2) {
        PageControl1->setTabVisible(1, false);
        ComboBox2->setEnabled(false);
    } else {
        PageControl1->setTabVisible(1, true);
        FillLevelList();
        ComboBox1->setCurrentIndex(std::max(0, ComboBox1->findData(r.accessLevel & 15)));
        ComboBox1->setEnabled(current == nullptr || current->record.userId != r.userId);
        const bool student = (r.accessLevel & 15) == 1;
        const bool flags[] = {r.allowTutorChange, r.allowExerciseSetup, r.allowEditChords,
                              r.allowPrivateSettings};
        int i = 0;
        for (QCheckBox* box : {CheckBox3, CheckBox2, CheckBox1, CheckBox4}) {
            box->setChecked(flags[i++]);
            box->setEnabled(student);
        }
        store_.LoadClasses();
        fillClasses(r.classId);
        ComboBox2->setEnabled(true);
    }
    Edit6->setText(QString::fromStdString(r.privateDirectory));
    rememberedLogin_ = r.loginName;
    setWindowTitle(text(4088, "Edit user"));
    BitBtn1->setText(text(90, "OK"));
    stored_ = false;
    return exec() == QDialog::Accepted && stored_;
}

void TAddUserForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    for (QWidget* w : passwordWidgets_)
        if (w) w->setVisible(!useSystemLogin());
    PageControl1->setCurrentIndex(kUserPage);
    Edit4->setFocus();
}

void TAddUserForm::fail(int page, QWidget* focus, int id, const char* english) {
    PageControl1->setCurrentIndex(page);
    if (focus) focus->setFocus();
    informUser(this, text(id, english));
}

void TAddUserForm::done(int result) {
    if (result == QDialog::Accepted && !confirm()) return;
    QDialog::done(result);
}

bool TAddUserForm::confirm() {
    if (Edit4->text().trimmed().isEmpty() || Edit5->text().trimmed().isEmpty()) {
        fail(kUserPage, Edit4->text().trimmed().isEmpty() ? Edit4 : Edit5, 4104,
             "Please type both the first and the last name.");
        return false;
    }
    if (Edit2->text().trimmed().isEmpty()) {
        fail(kUserPage, Edit2, 4106, "Please type a user name.");
        return false;
    }
    const std::string login = utf8(Edit2->text().trimmed());
    if ((newUser_ || login != rememberedLogin_) && data::compareIgnoringCase(login, rememberedLogin_) != 0 &&
        store_.FindUser(0, login, false)) {
        fail(kUserPage, Edit2, 4108, "There is already a user with that user name.");
        return false;
    }
    if (Edit3->text() != Edit1->text()) {
        Edit3->clear();
        Edit1->clear();
        fail(kUserPage, Edit3, 4110, "The two passwords are not the same. Please type them again.");
        return false;
    }
    const QString directory = Edit6->text().trimmed();
    if (!directory.isEmpty() && !QDir(directory).exists()) {
        PageControl1->setCurrentIndex(kOptionsPage);
        const auto answer = QMessageBox::question(
            this, text(5008, "Confirm"),
            userFormat(4112, "The directory %s does not exist. Do you want to create it?",
                       {directory.toStdString()}),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) return false;
        if (answer == QMessageBox::Yes)
            QDir().mkpath(directory);
        else
            Edit6->clear();
    }
    // A user that could not be stored is said so, and the dialog does not report him as added.
    stored_ = store();
    if (!stored_) informUser(this, text(4114, "The user could not be saved."));
    return true;
}

bool TAddUserForm::store() {
    data::TUserInfo fresh;
    data::TUserInfo* user = store_.SelectedUser();
    if (newUser_) {
        const std::int16_t id = store_.NextId(data::IdKind::User);
        if (id == 0) return false;
        fresh.record = data::UserRecord{};
        fresh.record.userId = id;
        user = &fresh;
    }
    if (user == nullptr) return false;
    data::UserRecord& r = user->record;
    r.fullName = data::joinFullName(utf8(Edit4->text().trimmed()), utf8(Edit5->text().trimmed()));
    r.loginName = utf8(Edit2->text().trimmed());
    r.password = data::ScramblePassword(utf8(Edit3->text()));
    r.accessLevel = chosenLevel();
    QString directory = Edit6->text().trimmed();
    if (!directory.isEmpty() && !directory.endsWith(QDir::separator())) directory += QDir::separator();
    r.privateDirectory = utf8(directory);
    r.allowExerciseSetup = CheckBox2->isChecked();
    r.allowTutorChange = CheckBox3->isChecked();
    r.allowEditChords = CheckBox1->isChecked();
    r.allowPrivateSettings = CheckBox4->isChecked();
    const QVariant classId = ComboBox2->currentData();
    const auto chosenClass = static_cast<std::int16_t>(classId.isValid() ? classId.toInt() : 0);
    r.classId = chosenClass != 0 && store_.ClassExists(chosenClass) ? chosenClass : std::int16_t{0};
    if (!store_.SaveUser(r)) return false;
    // The lists are read again so that the new user is an object of UserList and selected.
    const std::int16_t id = r.userId;
    store_.LoadUsers();
    for (const auto& u : store_.UserList())
        if (u->record.userId == id) store_.setSelectedUser(u.get());
    return true;
}

}  // namespace kalvintor::ui
