// The tutor step dialog.
#include "TEditTutorLevel.h"

#include "app/Texts.h"
#include "tutor/Editing.h"
#include "tutor/StepRecord.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kMaxHint = 2300;
constexpr int kMaxName = 51;
}  // namespace

TEditTutorLevel::TEditTutorLevel(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EditTutorLevel"));
    setWindowTitle(text(8150, "Tutor step"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    newPage_ = new QWidget(this);
    newPage_->hide();
    auto* from = new QGroupBox(text(8152, "Copy setup from:"), newPage_);
    const auto radio = [](QWidget* group, const char* name, int id, const char* english) {
        auto* r = new QRadioButton(text(id, english), group);
        r->setObjectName(QString::fromLatin1(name));
        return r;
    };
    RadioButton1 = radio(from, "RadioButton1", 8153, "Selected step");
    RadioButton2 = radio(from, "RadioButton2", 8154, "File");
    Button1 = new QPushButton(text(8101, "Browse..."), from);
    Button1->setObjectName(QStringLiteral("Button1"));
    RadioButton3 = radio(from, "RadioButton3", 8155, "Exercise setup screen");
    auto* fromRows = new QVBoxLayout(from);
    fromRows->addWidget(RadioButton1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(RadioButton2, 1);
    fileRow->addWidget(Button1);
    fromRows->addLayout(fileRow);
    fromRows->addWidget(RadioButton3);
    auto* insert = new QGroupBox(text(8156, "Insert"), newPage_);
    RadioButton4 = radio(insert, "RadioButton4", 8157, "Before selected step");
    RadioButton5 = radio(insert, "RadioButton5", 8158, "After selected step");
    auto* insertRows = new QVBoxLayout(insert);
    insertRows->addWidget(RadioButton4);
    insertRows->addWidget(RadioButton5);
    auto* newRows = new QVBoxLayout(newPage_);
    newRows->addWidget(from);
    newRows->addWidget(insert);
    newRows->addStretch(1);

    propertiesPage_ = new QWidget(this);
    propertiesPage_->hide();
    Edit1 = new QLineEdit(propertiesPage_);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kMaxName);
    Memo1 = new QPlainTextEdit(propertiesPage_);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumSize(360, 120);
    const auto spin = [this](const char* name, int low, int high, const QString& suffix) {
        auto* s = new QSpinBox(propertiesPage_);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(low, high);
        s->setSuffix(suffix);
        return s;
    };
    SpinEdit1 = spin("SpinEdit1", 1, 999, {});
    SpinEdit2 = spin("SpinEdit2", 2, 100, QStringLiteral("%"));
    SpinEdit3 = spin("SpinEdit3", 1, 99, QStringLiteral("%"));
    auto* form = new QFormLayout(propertiesPage_);
    const std::pair<QWidget*, QString> rows[] = {{Edit1, text(8160, "Step name:")},
                                                 {Memo1, text(8161, "Hints to the student:")},
                                                 {SpinEdit1, text(8162, "Questions:")},
                                                 {SpinEdit2, text(8163, "Upgrade level:")},
                                                 {SpinEdit3, text(8164, "Downgrade level:")}};
    for (const auto& [field, caption] : rows) {
        field->setAccessibleName(QString(caption).remove(':'));
        form->addRow(caption, field);
    }
    // The hint keeps to its room, however it is typed or pasted.
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        const QString hint = Memo1->toPlainText();
        if (hint.size() > kMaxHint) Memo1->setPlainText(hint.left(kMaxHint));
    });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this] {
        const auto pushed = tutor::PushLevels({SpinEdit2->value(), SpinEdit3->value()}, true);
        const QSignalBlocker quiet(SpinEdit3);
        SpinEdit3->setValue(pushed.downgrade);
    });
    connect(SpinEdit3, &QSpinBox::valueChanged, this, [this] {
        const auto pushed = tutor::PushLevels({SpinEdit2->value(), SpinEdit3->value()}, false);
        const QSignalBlocker quiet(SpinEdit2);
        SpinEdit2->setValue(pushed.upgrade);
    });
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (!browseSetup) return;
        const QString chosen = browseSetup();
        if (chosen.isEmpty()) return;
        file_ = chosen;
        RadioButton2->setText(QFileInfo(chosen).fileName());
        RadioButton2->setChecked(true);
    });

    BitBtn1 = new QPushButton(text(90, "OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(text(93, "Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TEditTutorLevel::ForNewStep(bool hasSteps) {
    PageControl1->clear();
    PageControl1->addTab(newPage_, text(8144, "New step"));
    PageControl1->addTab(propertiesPage_, text(8159, "Properties"));
    PageControl1->setCurrentIndex(0);
    file_.clear();
    RadioButton2->setText(text(8154, "File"));
    RadioButton1->setEnabled(hasSteps);
    RadioButton3->setChecked(true);
    RadioButton4->setEnabled(hasSteps);
    RadioButton5->setEnabled(hasSteps);
    RadioButton5->setChecked(true);
    Edit1->clear();
    Memo1->clear();
    SpinEdit1->setValue(20);
    const QSignalBlocker up(SpinEdit2), down(SpinEdit3);
    SpinEdit2->setValue(90);
    SpinEdit3->setValue(55);
}

void TEditTutorLevel::ForProperties(const tutor::TTutorObject& step) {
    PageControl1->clear();
    PageControl1->addTab(propertiesPage_, text(8159, "Properties"));
    Edit1->setText(QString::fromStdString(step.record.stepName));
    Memo1->setPlainText(QString::fromStdString(step.fullHint()));
    SpinEdit1->setValue(step.record.stepQuestions);
    const QSignalBlocker up(SpinEdit2), down(SpinEdit3);
    SpinEdit2->setValue(step.record.upgradePercent);
    SpinEdit3->setValue(step.record.downgradePercent);
}

void TEditTutorLevel::StoreProperties(tutor::TTutorObject& step) const {
    step.record.stepName = Edit1->text().trimmed().left(kMaxName).toStdString();
    step.setHint(Memo1->toPlainText().left(kMaxHint).toStdString());
    step.record.stepQuestions = static_cast<std::int16_t>(SpinEdit1->value());
    step.record.upgradePercent = static_cast<std::uint8_t>(SpinEdit2->value());
    step.record.downgradePercent = static_cast<std::uint8_t>(SpinEdit3->value());
}

void TEditTutorLevel::done(int result) {
    if (result == QDialog::Accepted) {
        if (Edit1->text().trimmed().isEmpty()) {
            PageControl1->setCurrentWidget(propertiesPage_);
            Edit1->setFocus();
            return;
        }
        if (PageControl1->indexOf(newPage_) >= 0 && RadioButton2->isChecked() && !QFileInfo::exists(file_)) {
            QMessageBox::critical(this, text(5005, "Error"),
                                  text(6234, "The exercise setup file does not exist."));
            return;
        }
    }
    QDialog::done(result);
}

}  // namespace kalvintor::ui
