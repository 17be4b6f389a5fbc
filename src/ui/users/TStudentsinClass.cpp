// The class content dialog.
#include "users/TStudentsinClass.h"

#include "app/Texts.h"
#include "data/DataStore.h"
#include "users/UserTexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace kalvintor::ui {

namespace {

void fill(QListWidget* list, const data::DataStore& store) {
    list->clear();
    for (const data::TUserInfo* u : store.FilteredUsers()) {
        auto* item = new QListWidgetItem(QString::fromStdString(u->sortName), list);
        item->setData(Qt::UserRole, u->record.userId);
    }
}

data::TUserInfo* userOf(const data::DataStore& store, const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (!item) return nullptr;
    const int id = item->data(Qt::UserRole).toInt();
    for (const auto& u : store.UserList())
        if (u->record.userId == id) return u.get();
    return nullptr;
}

}  // namespace

TStudentsinClass::TStudentsinClass(data::DataStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName(QStringLiteral("StudentsinClass"));
    setWindowTitle(text(7271, "Class content"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(text(7272, "Students NOT in any Class:"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setAccessibleName(text(7273, "Students in the class"));
    AddButton = new QPushButton(text(7274, "Add"), this);
    AddButton->setObjectName(QStringLiteral("AddButton"));
    RemoveButton = new QPushButton(text(7275, "Remove"), this);
    RemoveButton->setObjectName(QStringLiteral("RemoveButton"));
    CloseButton = new QPushButton(text(7276, "Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(AddButton, &QPushButton::clicked, this, &TStudentsinClass::AddStudent);
    connect(RemoveButton, &QPushButton::clicked, this, &TStudentsinClass::RemoveStudent);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0, 1, 3);
    grid->addWidget(new QLabel(ListBox1->accessibleName(), this), 1, 0);
    grid->addWidget(new QLabel(ListBox2->accessibleName(), this), 1, 2);
    grid->addWidget(ListBox1, 2, 0, 3, 1);
    grid->addWidget(AddButton, 2, 1);
    grid->addWidget(RemoveButton, 3, 1);
    grid->addWidget(ListBox2, 2, 2, 3, 1);
    grid->addWidget(CloseButton, 5, 2, Qt::AlignRight);
    resize(560, 380);
}

void TStudentsinClass::setClass(std::int16_t classId, const std::string& tutorFile,
                                const QString& className) {
    classId_ = classId;
    tutorFile_ = tutorFile;
    Label2->setText(formatted(6284, "Students in the class %s", {className.toStdString()}));
}

void TStudentsinClass::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
}

void TStudentsinClass::refresh() {
    store_.LoadUsers();
    store_.FilterUsers(data::kMaskStudent, 0);
    fill(ListBox1, store_);
    store_.FilterUsers(-1, classId_);
    fill(ListBox2, store_);
    if (changed) changed();
}

void TStudentsinClass::AddStudent() {
    data::TUserInfo* user = userOf(store_, ListBox1);
    if (!user || classId_ == 0) return;
    data::UserRecord record = user->record;
    // A student who joins a class takes its tutor from the first step.
    record.classId = classId_;
    record.tutorFile = tutorFile_;
    record.tutorStep.fill(1);
    record.reserved.fill(0);
    store_.SaveUser(record);
    refresh();
}

void TStudentsinClass::RemoveStudent() {
    data::TUserInfo* user = userOf(store_, ListBox2);
    if (!user) return;
    data::UserRecord record = user->record;
    record.classId = 0;  // his tutor and steps stay
    store_.SaveUser(record);
    refresh();
}

}  // namespace kalvintor::ui
