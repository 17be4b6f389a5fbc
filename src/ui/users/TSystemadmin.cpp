// The system settings dialog.
#include "users/TSystemadmin.h"

#include "app/MachineSettings.h"
#include "app/MachineSettingsFile.h"
#include "app/Program.h"
#include "app/Texts.h"
#include "data/DataDirectory.h"
#include "data/DataStore.h"
#include "users/TProgressForm.h"
#include "users/UserTexts.h"

#include <QCheckBox>
#include <QDateEdit>
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

QPushButton* button(QWidget* parent, const char* name, int id, const char* english) {
    auto* b = new QPushButton(text(id, english), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QHBoxLayout* withBrowse(QLineEdit* edit, QPushButton* browse) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    return row;
}

}  // namespace

TSystemadmin::TSystemadmin(data::DataStore& store, TProgressForm& progress, QWidget* parent)
    : QDialog(parent), store_(store), progress_(progress) {
    setObjectName(QStringLiteral("Systemadmin"));
    setWindowTitle(text(7280, "System settings"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(text(7280, "System settings"));
    PageControl1->addTab(dataPage(), text(7281, "Datafiles"));
    PageControl1->addTab(optionsPage(), text(7213, "Options"));
    PageControl1->addTab(functionsPage(), text(7282, "Functions"));
    Ok = button(this, "Ok", 90, "OK");
    Ok->setDefault(true);
    Cancel = button(this, "Cancel", 7214, "Cancel");
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Ok);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    setMinimumWidth(520);
}

QWidget* TSystemadmin::dataPage() {
    auto* page = new QWidget;
    Edit3 = new QLineEdit(page);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setAccessibleName(text(7283, "Data directory:"));
    auto* browse = button(page, "BrowseData", 7228, "Browse...");
    browse->setAccessibleName(text(7284, "Browse for the data directory"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(
            this, text(5453, "Choose the folder of the user data"), Edit3->text());
        if (chosen.isEmpty()) return;
        std::filesystem::path dir = toPath(chosen);
        data::DataDirectoryQuestions questions;
        questions.showMessage = [this](const std::string& m) { informUser(this, QString::fromStdString(m)); };
        if (data::ValidateDataDirectory(dir, store_, questions)) Edit3->setText(toQString(dir));
    });
    auto* form = new QFormLayout(page);
    form->addRow(Edit3->accessibleName(), withBrowse(Edit3, browse));
    return page;
}

QWidget* TSystemadmin::optionsPage() {
    auto* page = new QWidget;
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(text(7285, "Common files directory (*.lvs, *.tut):"));
    auto* browse = button(page, "BrowseCommon", 7228, "Browse...");
    browse->setAccessibleName(text(7286, "Browse for the common files directory"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getExistingDirectory(this, Edit1->accessibleName(), Edit1->text());
        if (!chosen.isEmpty()) Edit1->setText(QDir::toNativeSeparators(chosen));
    });
    CheckBox1 = new QCheckBox(text(7287, "Use System Login"), page);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(text(7288, "Allow New Users"), page);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3 = new QCheckBox(text(7289, "Allow guest login"), page);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(Edit1->accessibleName(), page));
    layout->addLayout(withBrowse(Edit1, browse));
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3}) layout->addWidget(box);
    layout->addStretch();
    return page;
}

QWidget* TSystemadmin::functionsPage() {
    auto* page = new QWidget;
    SaveDefaults = button(page, "SaveDefaults", 7290, "Save Default program settings");
    connect(SaveDefaults, &QPushButton::clicked, this, [this] {
        if (saveDefaultSettings) saveDefaultSettings();
    });
    DateTimePicker1 = new QDateEdit(page);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setAccessibleName(text(7291, "Delete results (all users) from before:"));
    DateTimePicker1->setCalendarPopup(true);
    DeleteButton = button(page, "DeleteButton", 7265, "Delete");
    DeleteButton->setAccessibleName(text(7292, "Delete old results"));
    connect(DeleteButton, &QPushButton::clicked, this, &TSystemadmin::DeleteResults);
    ProgressLabel = new QLabel(page);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SaveDefaults);
    layout->addWidget(new QLabel(DateTimePicker1->accessibleName(), page));
    auto* row = new QHBoxLayout;
    row->addWidget(DateTimePicker1);
    row->addWidget(DeleteButton);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(ProgressLabel);
    layout->addStretch();
    return page;
}

void TSystemadmin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    store_.LoadCommon();
    CheckBox1->setChecked(store_.Common.useSystemLogin);
    CheckBox2->setChecked(store_.Common.allowNewUsers);
    CheckBox3->setChecked(store_.Common.allowGuestLogin);
    Edit1->setText(QString::fromStdString(store_.Common.commonDirectory));
    DateTimePicker1->setDate(QDate::currentDate().addDays(-30));
    Edit3->setText(toQString(store_.DataPath()));
}

void TSystemadmin::DeleteResults() {
    DeleteButton->setEnabled(false);
    const QDate date = DateTimePicker1->date();
    const records::DateTime cutOff =
        records::encodeDateTime({date.year(), date.month(), date.day(), 0, 0, 0, 0});
    store_.LoadUsers();
    const auto& users = store_.UserList();
    const int count = static_cast<int>(users.size());
    for (int i = 0; i < count; ++i) {
        const QString line = formatted(6428, "Deleting results of user %d of %d",
                                       {static_cast<long long>(i + 1), static_cast<long long>(count)});
        ProgressLabel->setText(line);
        progress_.Step(i, count, line);
        store_.PurgeResults(users[static_cast<std::size_t>(i)]->record.userId, cutOff);
    }
    progress_.Done();
    ProgressLabel->clear();
    DeleteButton->setEnabled(true);
}

void TSystemadmin::done(int result) {
    if (result != QDialog::Accepted) {
        QDialog::done(result);
        return;
    }
    const QString common = Edit1->text().trimmed();
    if (!common.isEmpty() && !QDir(common).exists()) {
        PageControl1->setCurrentIndex(1);
        Edit1->setFocus();
        informUser(this, text(4113, "The directory does not exist."));
        return;
    }
    if (!QDir(Edit3->text().trimmed()).exists()) {
        PageControl1->setCurrentIndex(0);
        Edit3->setFocus();
        informUser(this, text(4113, "The directory does not exist."));
        return;
    }
    store_.Common.useSystemLogin = CheckBox1->isChecked();
    store_.Common.allowNewUsers = CheckBox2->isChecked();
    store_.Common.allowGuestLogin = CheckBox3->isChecked();
    if (!common.isEmpty())
        store_.Common.commonDirectory = app::withTrailingSeparator(toPath(common)).string();
    store_.SaveCommon();
    std::filesystem::path dir = toPath(Edit3->text().trimmed());
    if (app::withTrailingSeparator(dir) != app::withTrailingSeparator(store_.DataPath())) {
        data::DataDirectoryQuestions questions;
        questions.showMessage = [this](const std::string& m) { informUser(this, QString::fromStdString(m)); };
        if (data::ValidateDataDirectory(dir, store_, questions)) {
            MachineSettingsFile machine(machineSettingsFile());
            machine.writeValue(app::kProgramKey, app::kDataPathValue, dir.string());
            if (dataDirectoryChanged) dataDirectoryChanged(toQString(dir));
        }
    }
    QDialog::done(result);
}

}  // namespace kalvintor::ui
