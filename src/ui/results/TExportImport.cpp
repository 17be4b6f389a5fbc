// The import and export dialog.
#include "TExportImport.h"

#include "EntryNames.h"
#include "Formatted.h"
#include "app/Program.h"
#include "app/ProgramPaths.h"
#include "app/Style.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "data/Transfer.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

QPushButton* button(QWidget* parent, const char* name, int id, const char* english) {
    auto* b = new QPushButton(text(id, english), parent);
    b->setObjectName(QString::fromLatin1(name));
    bindCaption(b, id);
    return b;
}

// The folder used last in this run.
QString& lastFolder() {
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return folder;
}

}  // namespace

TExportImport::TExportImport(TKalvintorMain& main, data::DataStore& store, QWidget* parent)
    : QDialog(parent),
      PageControl1(new QTabWidget(this)),
      ComboBox1(new QComboBox(this)),
      Edit1(new QLineEdit(lastFolder(), this)),
      BrowseButton(button(this, "BrowseBtn", 7824, "Choose...")),
      ImportButton(button(this, "ImportBtn", 7833, "Import")),
      ExportButton(button(this, "ExportBtn", 7834, "Export")),
      CloseButton(button(this, "CloseBtn", 95, "Close")),
      ImportingLabel(new QLabel(text(7835, "Importing..."), this)),
      ExportingLabel(new QLabel(text(7836, "Exporting..."), this)),
      main_(main),
      store_(store) {
    setObjectName(QStringLiteral("ExportImport"));
    setWindowTitle(text(19, "Import/Export user data..."));
    setFont(style::uiFont(9));
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(text(7807, "User"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(text(7825, "Folder"));
    ImportingLabel->setObjectName(QStringLiteral("ImportingLabel"));
    ExportingLabel->setObjectName(QStringLiteral("ExportingLabel"));
    ImportingLabel->hide();
    ExportingLabel->hide();

    auto* heading = new QLabel(text(7830, "Export and import tutorprofile and results for one user:"), this);
    heading->setFont(style::uiFont(10, QFont::Bold));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Edit1, 1);
    folderRow->addWidget(BrowseButton);

    auto* importPage = new QWidget(PageControl1);
    auto* importForm = new QVBoxLayout(importPage);
    importForm->addWidget(new QLabel(text(7831, "Update the user with the data in the folder:"), importPage));
    importForm->addWidget(ImportingLabel);
    importForm->addWidget(ImportButton, 0, Qt::AlignRight);
    auto* exportPage = new QWidget(PageControl1);
    auto* exportForm = new QVBoxLayout(exportPage);
    exportForm->addWidget(new QLabel(text(7832, "Export the user's data into the folder:"), exportPage));
    exportForm->addWidget(ExportingLabel);
    exportForm->addWidget(ExportButton, 0, Qt::AlignRight);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(importPage, text(7833, "Import"));
    PageControl1->addTab(exportPage, text(7834, "Export"));

    auto* form = new QFormLayout;
    form->addRow(text(7807, "User"), ComboBox1);
    form->addRow(text(7825, "Folder"), folderRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addWidget(PageControl1);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);

    connect(BrowseButton, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, text(7825, "Folder"), Edit1->text());
        if (!folder.isEmpty()) Edit1->setText(folder);
    });
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) {
        const int id = ComboBox1->itemData(index).toInt();
        for (const auto& user : store_.UserList())
            if (user->record.userId == id) store_.setSelectedUser(user.get());
    });
    connect(ImportButton, &QPushButton::clicked, this, &TExportImport::Import);
    connect(ExportButton, &QPushButton::clicked, this, &TExportImport::Export);
    connect(CloseButton, &QPushButton::clicked, this, &TExportImport::reject);
    PrepareTransfer();
}

void TExportImport::PrepareTransfer() {
    ComboBox1->clear();
    const data::TUserInfo* selected = store_.SelectedUser();
    if (store_.UserList().empty()) {
        if (selected) ComboBox1->addItem(userName(selected->record.fullName), selected->record.userId);
    } else {
        for (const auto& user : store_.UserList()) {
            ComboBox1->addItem(userName(user->record.fullName), user->record.userId);
            if (user.get() == selected) ComboBox1->setCurrentIndex(ComboBox1->count() - 1);
        }
    }
    ComboBox1->setEnabled(main_.AccessRights[5]);
}

void TExportImport::setBusy(bool busy) {
    busy_ = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{PageControl1, ImportButton, ExportButton, CloseButton})
        w->setEnabled(!busy);
    ComboBox1->setEnabled(!busy && main_.AccessRights[5]);
    ImportingLabel->setVisible(busy && PageControl1->currentIndex() == 0);
    ExportingLabel->setVisible(busy && PageControl1->currentIndex() == 1);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TExportImport::reject() {
    if (!busy_) QDialog::reject();
}

namespace {

data::TransferQuestions questionsFor(QWidget* parent, TKalvintorMain& main) {
    data::TransferQuestions q;
    q.askYesNoCancel = [parent](const std::string& question) {
        const auto a = QMessageBox::question(parent, text(5008, "Confirm"), QString::fromStdString(question),
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return a == QMessageBox::Yes  ? data::Answer::Yes
               : a == QMessageBox::No ? data::Answer::No
                                      : data::Answer::Cancel;
    };
    q.askYesNo = [parent](const std::string& question) {
        return QMessageBox::question(parent, text(5008, "Confirm"), QString::fromStdString(question)) ==
               QMessageBox::Yes;
    };
    q.showMessage = [parent](const std::string& message) {
        QMessageBox::information(parent, text(5007, "Information"), QString::fromStdString(message));
    };
    q.saveSessionResults = [parent, &main] {
        if (main.TutorActive || main.TutorEditorActive) return true;
        const std::uint16_t asked = main.ExercisesWithQuestions(0x3FF, 5);
        if (asked == 0) return true;
        const auto a = QMessageBox::question(parent, text(5008, "Confirm"),
                                             text(98, "Do you want to save the results of this session?"),
                                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (a == QMessageBox::Cancel) return false;
        if (a == QMessageBox::Yes) {
            main.SaveSessionResults(asked, false, false);
            main.RestartSession(0);
        }
        return true;
    };
    return q;
}

}  // namespace

bool TExportImport::Export() {
    const data::TUserInfo* user = store_.SelectedUser();
    if (user == nullptr) return false;
    lastFolder() = Edit1->text();
    setBusy(true);
    const auto result =
        data::ExportUser(store_, user->record, Edit1->text().toStdString(), questionsFor(this, main_));
    setBusy(false);
    if (result == data::TransferResult::Done)
        QMessageBox::information(this, text(5007, "Information"),
                                 formatted(7826, "%s was exported to %s.",
                                           {arg(userName(user->record.fullName)), arg(Edit1->text())}));
    return result == data::TransferResult::Done;
}

bool TExportImport::Import() {
    if (store_.SelectedUser() == nullptr) return false;
    lastFolder() = Edit1->text();
    setBusy(true);
    data::TransferDirectories dirs;
    dirs.programDir = program().paths.programDir;
    dirs.setupDir = app::setupDirectory(program().paths, store_.SelectedUser()->record.privateDirectory);
    const auto result =
        data::ImportUser(store_, Edit1->text().toStdString(), dirs, questionsFor(this, main_));
    setBusy(false);
    if (result == data::TransferResult::Done)
        QMessageBox::information(this, text(5007, "Information"),
                                 formatted(7827, "The data of %s was imported.", {arg(Edit1->text())}));
    return result == data::TransferResult::Done;
}

}  // namespace kalvintor::ui
