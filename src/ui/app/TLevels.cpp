// The setup chooser.
#include "TLevels.h"

#include "Program.h"
#include "Style.h"
#include "THelpWindow.h"
#include "TKalvintorMain.h"
#include "Texts.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kTextTitle = 5101;
constexpr int kTextListLabel = 5100;
constexpr int kTextPersonalNote = 5102;
constexpr int kTextLoadTitle = 5103;
constexpr int kTextOther = 5105;
constexpr int kTextOk = 90;
constexpr int kTextCancel = 93;
constexpr int kTextHelp = 80;
constexpr int kHelpTopic = 160;
}  // namespace

QString setupFileFilter() {
    return QStringLiteral("Kalvintor (*.lvs *.LVS)");
}

TLevels::TLevels(std::filesystem::path programDir, std::filesystem::path setupDir, QWidget* parent)
    : QDialog(parent),
      programDir_(std::move(programDir)),
      setupDir_(std::move(setupDir)),
      list_(new QListWidget(this)),
      note_(new QLabel(this)),
      ok_(new QPushButton(this)),
      other_(new QPushButton(this)) {
    setObjectName(QStringLiteral("Levels"));
    setWindowTitle(text(kTextTitle, "Choose an exercise setup"));
    bindWindowTitle(this, kTextTitle);
    setMinimumSize(340, 300);

    auto* heading = new QLabel(text(kTextListLabel, "Userdefined setups:"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setFont(style::uiFont(10, QFont::Bold));
    bindCaption(heading, kTextListLabel);
    heading->setBuddy(list_);
    // The heading names the list for a screen reader too.
    list_->setAccessibleName(heading->text().remove(QLatin1Char('&')));
    bindText(list_, kTextListLabel,
             [this](const QString& t) { list_->setAccessibleName(QString(t).remove('&')); });
    list_->setObjectName(QStringLiteral("ListBox1"));
    list_->setFont(style::uiFont(10));
    note_->setObjectName(QStringLiteral("Label2"));
    note_->setText(QString::fromStdString(language::decorate(
        text(kTextPersonalNote, "personal setup files").toStdString(), language::Decoration::ChooserNote)));
    bindCaption(note_, kTextPersonalNote, language::Decoration::ChooserNote);

    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setText(text(kTextOk, "OK"));
    bindCaption(ok_, kTextOk);
    ok_->setDefault(true);
    other_->setObjectName(QStringLiteral("OtherBtn"));
    other_->setText(text(kTextOther, "Other..."));
    bindCaption(other_, kTextOther);
    auto* cancel = new QPushButton(text(kTextCancel, "Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    bindCaption(cancel, kTextCancel);
    auto* help = new QPushButton(text(kTextHelp, "&Help"), this);
    help->setObjectName(QStringLiteral("HelpBtn"));
    bindCaption(help, kTextHelp);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok_, other_, cancel, help}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(heading);
    listColumn->addWidget(list_, 1);
    listColumn->addWidget(note_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(style::kMargin, style::kMargin, style::kMargin, style::kMargin);
    layout->setSpacing(style::kMargin);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);

    openOtherFile = [](QWidget* owner, const QString& startDir) {
        return QFileDialog::getOpenFileName(owner, text(kTextLoadTitle, "Load Exercise Setup"), startDir,
                                            setupFileFilter());
    };
    showHelp = [](int topic) {
        if (program().mainWindow) program().mainWindow->helpWindow()->showTopic(topic);
    };

    connect(list_, &QListWidget::itemClicked, this, [this] {
        ok_->setEnabled(list_->currentRow() >= 0);
        ok_->setFocus();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { ok_->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { takeSelected(); });
    connect(ok_, &QPushButton::clicked, this, [this] { takeSelected(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (showHelp) showHelp(kHelpTopic);
    });
    connect(other_, &QPushButton::clicked, this, [this] {
        const QString file = openOtherFile ? openOtherFile(this, toQString(setupDir_)) : QString();
        if (file.isEmpty()) return;
        chosen_ = file;
        accept();
    });
    refresh();
}

std::optional<QString> TLevels::choose(QWidget* parent, const std::filesystem::path& programDir,
                                       const std::filesystem::path& setupDir) {
    TLevels dialog(programDir, setupDir, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenFile();
}

void TLevels::refresh() {
    setups_ = setup::listSetupFiles(programDir_, setupDir_);
    list_->clear();
    for (const auto& entry : setups_.entries) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.label), list_);
        item->setToolTip(toQString(entry.file));
    }
    note_->setVisible(setups_.hasPersonal);
    list_->setCurrentRow(-1);
    ok_->setEnabled(false);
    chosen_.reset();
}

void TLevels::showEvent(QShowEvent* event) {
    refresh();
    QDialog::showEvent(event);
}

void TLevels::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && showHelp) {
        showHelp(kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TLevels::takeSelected() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(setups_.entries.size())) return;
    chosen_ = toQString(setups_.entries[static_cast<std::size_t>(row)].file);
    accept();
}

}  // namespace kalvintor::ui
