// The tutor list dialog.
#include "TTutorlist.h"

#include "app/Program.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kNarrow = 310;
constexpr int kWide = 589;
constexpr int kHelpTopic = 220;

QPushButton* button(QWidget* parent, const char* name, int id, const char* english) {
    auto* b = new QPushButton(text(id, english), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
}  // namespace

TTutorlist::TTutorlist(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tutorlist"));
    setWindowTitle(text(8100, "Tutors"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAccessibleName(text(8106, "Folder of tutors"));
    Button1 = button(this, "Button1", 8101, "Browse...");
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(text(8100, "Tutors"));
    Button2 = button(this, "Button2", 8102, "Details>>");
    BitBtn1 = button(this, "BitBtn1", 90, "OK");
    BitBtn2 = button(this, "BitBtn2", 93, "Cancel");
    BitBtn3 = button(this, "BitBtn3", 80, "Help");
    BitBtn1->setDefault(true);

    details_ = new QWidget(this);
    auto* detailRows = new QVBoxLayout(details_);
    detailRows->setContentsMargins(0, 0, 0, 0);
    auto* descriptionLabel = new QLabel(text(8103, "Description:"), details_);
    Memo1 = new QPlainTextEdit(details_);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(descriptionLabel->text());
    descriptionLabel->setBuddy(Memo1);
    auto* authorLabel = new QLabel(text(8104, "Author:"), details_);
    Edit1 = new QLineEdit(details_);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setAccessibleName(authorLabel->text());
    authorLabel->setBuddy(Edit1);
    detailRows->addWidget(descriptionLabel);
    detailRows->addWidget(Memo1, 1);
    detailRows->addWidget(authorLabel);
    detailRows->addWidget(Edit1);

    auto* left = new QVBoxLayout;
    auto* folder = new QHBoxLayout;
    folder->addWidget(Label2, 1);
    folder->addWidget(Button1);
    left->addLayout(folder);
    left->addWidget(ListBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    left->addLayout(buttons);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addWidget(details_, 1);

    connect(Button1, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getExistingDirectory(this, text(8101, "Browse..."), toQString(directory_));
        if (!chosen.isEmpty()) Fill(toPath(chosen));
    });
    connect(Button2, &QPushButton::clicked, this, [this] { ShowDetails(true); });
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ItemClicked(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ItemClicked(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, [] {
        if (TKalvintorMain* main = program().mainWindow) main->helpWindow()->showTopic(kHelpTopic);
    });
}

void TTutorlist::ShowDetails(bool shown) {
    details_->setVisible(shown);
    Button2->setEnabled(!shown);
    resize(shown ? kWide : kNarrow, height());
}

void TTutorlist::ItemClicked() {
    const int row = ListBox1->currentRow();
    BitBtn1->setEnabled(row >= 0);
    if (row < 0 || row >= static_cast<int>(entries_.size())) return;
    const tutor::TAddInf& entry = entries_[static_cast<std::size_t>(row)];
    Memo1->setPlainText(QString::fromStdString(entry.header.description));
    Edit1->setText(QString::fromStdString(entry.header.author));
}

void TTutorlist::Fill(const std::filesystem::path& directory) {
    directory_ = directory;
    Label2->setText(toQString(directory).toLower());
    entries_ = tutor::ListTutors(directory, CommonDirectory);
    ListBox1->clear();
    for (const tutor::TAddInf& entry : entries_) ListBox1->addItem(QString::fromStdString(entry.title));
    Memo1->clear();
    Edit1->clear();
    BitBtn1->setEnabled(false);
}

std::optional<std::string> TTutorlist::TutorListDialog(Mode mode) {
    setWindowTitle(mode == Mode::Open ? text(8105, "Open tutor") : text(6106, "Insert steps from tutor"));
    std::error_code ec;
    if (ResetDirectory || directory_.empty())
        directory_ = !CommonDirectory.empty() && std::filesystem::is_directory(CommonDirectory, ec)
                         ? CommonDirectory
                         : ProgramDirectory;
    Fill(directory_);
    ShowDetails(false);
    if (exec() != QDialog::Accepted) return std::nullopt;
    const int row = ListBox1->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size())) return std::nullopt;
    return entries_[static_cast<std::size_t>(row)].storedName;
}

}  // namespace kalvintor::ui
