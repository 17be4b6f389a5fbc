// The class maintenance dialog.
#include "users/TClassMaintenance.h"

#include "app/Program.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "tutor/TTutorlist.h"
#include "tutor/TutorHeader.h"
#include "users/TStudentsinClass.h"
#include "users/UserTexts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace kalvintor::ui {

namespace {

constexpr int kChooseTutor = 0;
constexpr int kNoTutor = 1;
constexpr int kHelpTopic = 295;
constexpr std::size_t kTutorFileRoom = 151;
const std::string kNoTutorName = "\\";

QPushButton* button(QWidget* parent, const char* name, int id, const char* english) {
    auto* b = new QPushButton(text(id, english), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

TClassMaintenance::TClassMaintenance(data::DataStore& store, TTutorlist& tutors, QWidget* parent)
    : QDialog(parent), store_(store), tutors_(tutors) {
    setObjectName(QStringLiteral("ClassMaintenance"));
    setWindowTitle(text(8701, "Class Maintenance"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(text(7277, "Classes"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(text(7278, "Classname:"));
    Edit1->setMaxLength(31);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(text(7279, "Teacher:"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleName(text(4372, "Tutor:"));
    ComboBox2->setMaxVisibleItems(4);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setAccessibleName(text(7293, "Students:"));
    ListBox2->setSelectionMode(QAbstractItemView::NoSelection);
    NewClass = button(this, "NewClass", 7294, "New Class");
    DeleteClass = button(this, "DeleteClass", 7295, "Delete Class");
    AddRemove = button(this, "AddRemove", 7296, "Add/Remove...");
    CloseButton = button(this, "CloseButton", 7276, "Close");
    HelpButton = button(this, "HelpButton", 80, "Help");

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) { showClass(row); });
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (data::ClassRecord* c = current()) {
            c->className = t.left(31).toStdString();
            ListBox1->currentItem()->setText(t.left(31));
        }
    });
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) {
        if (data::ClassRecord* c = current())
            c->teacherId = static_cast<std::int16_t>(ComboBox1->itemData(index).toInt());
    });
    connect(ComboBox2, &QComboBox::activated, this, [this](int index) { chooseTutor(index); });
    connect(NewClass, &QPushButton::clicked, this, &TClassMaintenance::NewClassClick);
    connect(DeleteClass, &QPushButton::clicked, this, &TClassMaintenance::DeleteClassClick);
    connect(AddRemove, &QPushButton::clicked, this, &TClassMaintenance::AddRemoveClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, [] {
        if (TKalvintorMain* main = program().mainWindow) main->helpWindow()->showTopic(kHelpTopic);
    });

    auto* form = new QFormLayout;
    form->addRow(Edit1->accessibleName(), Edit1);
    form->addRow(ComboBox1->accessibleName(), ComboBox1);
    form->addRow(ComboBox2->accessibleName(), ComboBox2);
    form->addRow(ListBox2->accessibleName(), ListBox2);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {NewClass, DeleteClass, AddRemove}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    buttons->addWidget(HelpButton);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(ListBox1->accessibleName(), this), 0, 0);
    grid->addWidget(ListBox1, 1, 0);
    grid->addLayout(form, 1, 1);
    grid->addLayout(buttons, 1, 2);
    // The editing side gets the room: names of classes are short.
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    resize(720, 420);
}

void TClassMaintenance::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    openClasses();
}

void TClassMaintenance::openClasses() {
    store_.LoadClasses();
    classes_.clear();
    for (const auto& c : store_.ClassList()) classes_.push_back(c->record);
    store_.LoadUsers();
    store_.FilterUsers(data::kMaskTeacher | data::kMaskAdministrator, -1);
    ComboBox1->clear();
    for (const data::TUserInfo* u : store_.FilteredUsers())
        ComboBox1->addItem(QString::fromStdString(data::DisplayName(u->record.fullName)), u->record.userId);
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    for (const auto& c : classes_) ListBox1->addItem(QString::fromStdString(c.className));
    if (classes_.empty()) {
        enableEditing(false);
    } else {
        ListBox1->setCurrentRow(0);
        showClass(0);
    }
}

data::ClassRecord* TClassMaintenance::current() {
    const int row = ListBox1->currentRow();
    return row >= 0 && row < static_cast<int>(classes_.size()) ? &classes_[static_cast<std::size_t>(row)]
                                                               : nullptr;
}

void TClassMaintenance::enableEditing(bool enabled) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{Edit1, ComboBox1, ComboBox2, ListBox2, DeleteClass, AddRemove})
        w->setEnabled(enabled);
    if (!enabled) {
        Edit1->clear();
        ComboBox1->setCurrentIndex(-1);
        ComboBox2->clear();
        ListBox2->clear();
    }
}

void TClassMaintenance::showMembers() {
    const data::ClassRecord* c = current();
    ListBox2->clear();
    if (!c) return;
    store_.FilterUsers(-1, c->classId);
    for (const data::TUserInfo* u : store_.FilteredUsers())
        ListBox2->addItem(QString::fromStdString(u->sortName));
}

void TClassMaintenance::showClass(int index) {
    if (index < 0 || index >= static_cast<int>(classes_.size())) return;
    enableEditing(true);
    const data::ClassRecord& c = classes_[static_cast<std::size_t>(index)];
    showMembers();
    Edit1->setText(QString::fromStdString(c.className));
    fillTutors(c);
    ComboBox1->setCurrentIndex(c.teacherId > 0 ? ComboBox1->findData(c.teacherId) : -1);
}

void TClassMaintenance::fillTutors(const data::ClassRecord& c) {
    ComboBox2->clear();
    ComboBox2->addItem(text(92, "Change..."));
    ComboBox2->addItem(text(102, "none"));
    if (tutor::isNoTutor(c.tutorFile)) {
        ComboBox2->setCurrentIndex(kNoTutor);
        return;
    }
    if (const auto header = tutor::ReadTutorHeader(store_.ResolveTutorPath(c.tutorFile))) {
        ComboBox2->addItem(QString::fromStdString(header->tutorName));
        ComboBox2->setCurrentIndex(2);
    } else {
        ComboBox2->setCurrentIndex(-1);
    }
}

void TClassMaintenance::chooseTutor(int entry) {
    if (!current()) return;
    std::optional<std::string> given;
    if (entry == kChooseTutor) {
        // The list names a tutor of the common directory by its bare name, so that every
        // workstation finds it.
        if (const auto name = tutors_.TutorListDialog(TTutorlist::Mode::Open))
            given = name->substr(0, std::min(name->size(), kTutorFileRoom));
    } else if (entry == kNoTutor) {
        given = kNoTutorName;
    }
    data::ClassRecord* c = current();
    if (!c) return;
    // Members new to the tutor start at its first steps; a failed update leaves the class as it was.
    if (given && store_.SetClassTutor(c->classId, *given)) {
        c->tutorFile = *given;
        store_.LoadUsers();
    }
    fillTutors(*c);
}

void TClassMaintenance::NewClassClick() {
    const std::int16_t id = store_.NextId(data::IdKind::Class);
    if (id == 0) return;
    data::ClassRecord c;
    c.className = NewClass->text().left(31).toStdString();
    c.classId = id;
    c.teacherId = 0;
    c.tutorFile = kNoTutorName;
    classes_.push_back(c);
    ListBox1->addItem(QString::fromStdString(c.className));
    ListBox1->setCurrentRow(ListBox1->count() - 1);
    showClass(ListBox1->count() - 1);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TClassMaintenance::DeleteClassClick() {
    const int row = ListBox1->currentRow();
    data::ClassRecord* c = current();
    if (!c) return;
    if (!askUser(this, userFormat(6264, "Do you want to delete this class?%sIts students stay, in no class.",
                                  {"\r\r\n"})))
        return;
    if (!store_.DeleteClass(c->classId)) return;
    classes_.erase(classes_.begin() + row);
    store_.LoadClasses();
    store_.LoadUsers();
    const QSignalBlocker block(ListBox1);
    delete ListBox1->takeItem(row);
    if (classes_.empty()) {
        enableEditing(false);
        return;
    }
    const int next = std::max(0, row - 1);
    ListBox1->setCurrentRow(next);
    showClass(next);
}

void TClassMaintenance::AddRemoveClick() {
    data::ClassRecord* c = current();
    if (!c || c->classId == 0) return;
    // The class must be in Class.dat before students join it.
    store_.SaveClass(*c);
    if (!content_) {
        content_ = new TStudentsinClass(store_, this);
        content_->changed = [this] { showMembers(); };
    }
    content_->setClass(c->classId, c->tutorFile, Edit1->text());
    content_->exec();
    showMembers();
}

void TClassMaintenance::done(int result) {
    for (const auto& c : classes_) store_.SaveClass(c);
    store_.LoadClasses();
    QDialog::done(result);
}

}  // namespace kalvintor::ui
