// The report dialog.
#include "TReports.h"

#include "EntryNames.h"
#include "Formatted.h"
#include "ReportPainter.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "records/DateTime.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

QRadioButton* radio(QWidget* parent, const char* name, int id, const char* english) {
    auto* r = new QRadioButton(text(id, english), parent);
    r->setObjectName(QString::fromLatin1(name));
    bindCaption(r, id);
    return r;
}

QPushButton* button(QWidget* parent, const char* name, int id, const char* english) {
    auto* b = new QPushButton(text(id, english), parent);
    b->setObjectName(QString::fromLatin1(name));
    bindCaption(b, id);
    return b;
}

results::ReportTexts reportTexts() {
    results::ReportTexts t;
    t.text = [](int id, std::string_view english) {
        return text(id, std::string(english).c_str()).toStdString();
    };
    t.exerciseName = [](int e) { return ExerciseCaption(e).toStdString(); };
    t.tutorCaption = text(16, "Tutor").toStdString();
    return t;
}

}  // namespace

TReports::TReports(data::DataStore& store, bool mayChooseUsers, int currentExercise, QWidget* parent)
    : QDialog(parent),
      UsersGroup(new QGroupBox(text(6001, "Users"), this)),
      RadioButton1(radio(UsersGroup, "RadioButton1", 6008, "Single user:")),
      RadioButton2(radio(UsersGroup, "RadioButton2", 6006, "Class:")),
      RadioButton3(radio(UsersGroup, "RadioButton3", 6003, "All users")),
      RadioButton4(radio(UsersGroup, "RadioButton4", 6004, "All students")),
      ComboBox3(new QComboBox(UsersGroup)),
      ComboBox2(new QComboBox(UsersGroup)),
      AllBox(new QCheckBox(text(6010, "All"), this)),
      DaysBox(new QComboBox(this)),
      store_(store),
      mayChooseUsers_(mayChooseUsers) {
    setObjectName(QStringLiteral("Reports"));
    setWindowTitle(text(22, "User reports"));
    setFont(style::uiFont(9));

    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setAccessibleName(text(6008, "Single user:"));
    for (const auto& user : store.UserList()) {
        ComboBox3->addItem(userName(user->record.fullName), user->record.userId);
        if (user.get() == store.SelectedUser()) ComboBox3->setCurrentIndex(ComboBox3->count() - 1);
    }
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleName(text(6006, "Class:"));
    for (const auto& c : store.ClassList())
        if (c->record.classId != 0)
            ComboBox2->addItem(QString::fromStdString(c->record.className), c->record.classId);
    ComboBox2->setCurrentIndex(-1);
    RadioButton1->setChecked(true);
    auto* users = new QGridLayout(UsersGroup);
    users->addWidget(RadioButton1, 0, 0);
    users->addWidget(ComboBox3, 0, 1);
    users->addWidget(RadioButton2, 1, 0);
    users->addWidget(ComboBox2, 1, 1);
    users->addWidget(RadioButton3, 2, 0);
    users->addWidget(RadioButton4, 3, 0);
    connect(ComboBox3, &QComboBox::activated, this, [this](int index) {
        const int id = ComboBox3->itemData(index).toInt();
        for (const auto& user : store_.UserList())
            if (user->record.userId == id) store_.setSelectedUser(user.get());
        RadioButton1->setChecked(true);
    });
    connect(ComboBox2, &QComboBox::activated, this, [this] { RadioButton2->setChecked(true); });

    auto* exercises = new QGroupBox(text(30, "Exercises"), this);
    exercises->setObjectName(QStringLiteral("ExercisesGroup"));
    auto* grid = new QGridLayout(exercises);
    int row = 0;
    for (int e : results::kReportExerciseOrder) {
        auto* box = new QCheckBox(ExerciseCaption(e), exercises);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(e));
        ExerciseBoxes[static_cast<std::size_t>(e)] = box;
        grid->addWidget(box, row % 5, row / 5);
        ++row;
        connect(box, &QCheckBox::toggled, this, &TReports::exerciseChanged);
    }
    AllBox->setObjectName(QStringLiteral("AllBox"));
    AllBox->setTristate(true);
    grid->addWidget(AllBox, 5, 0);
    connect(AllBox, &QCheckBox::stateChanged, this, &TReports::allChanged);
    if (currentExercise >= 1 && currentExercise <= 10)
        ExerciseBoxes[static_cast<std::size_t>(currentExercise)]->setChecked(true);

    auto* resultsGroup = new QGroupBox(text(6012, "Results"), this);
    auto* days = new QHBoxLayout(resultsGroup);
    auto* from = new QLabel(text(6014, "Results from past"), resultsGroup);
    DaysBox->setObjectName(QStringLiteral("DaysBox"));
    DaysBox->setEditable(true);
    DaysBox->setAccessibleName(text(6014, "Results from past"));
    for (int d : {1, 3, 5, 7, 14, 21}) DaysBox->addItem(QString::number(d));
    DaysBox->setCurrentText(QStringLiteral("7"));
    from->setBuddy(DaysBox);
    days->addWidget(from);
    days->addWidget(DaysBox);
    days->addWidget(new QLabel(text(6016, "day(s)"), resultsGroup));
    days->addStretch(1);

    auto* buttons = new QHBoxLayout;
    QPushButton* previewButton = button(this, "PreviewBtn", 96, "Preview");
    QPushButton* printButton = button(this, "PrintBtn", 97, "Print");
    QPushButton* pdfButton = button(this, "PdfBtn", 7822, "Save as PDF...");
    QPushButton* closeButton = button(this, "CloseBtn", 95, "Close");
    buttons->addStretch(1);
    for (QPushButton* b : {previewButton, printButton, pdfButton, closeButton}) buttons->addWidget(b);
    connect(previewButton, &QPushButton::clicked, this, &TReports::preview);
    connect(printButton, &QPushButton::clicked, this, &TReports::print);
    connect(pdfButton, &QPushButton::clicked, this, &TReports::savePdfAs);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(UsersGroup);
    layout->addWidget(exercises);
    layout->addWidget(resultsGroup);
    layout->addLayout(buttons);
    // Without the right to see other users the report covers the selected user.
    UsersGroup->setVisible(mayChooseUsers);
}

void TReports::allChanged(int state) {
    if (updatingBoxes_ || state == Qt::PartiallyChecked) return;
    updatingBoxes_ = true;
    for (int e = 1; e <= 10; ++e)
        ExerciseBoxes[static_cast<std::size_t>(e)]->setChecked(state == Qt::Checked);
    updatingBoxes_ = false;
}

void TReports::exerciseChanged() {
    if (updatingBoxes_) return;
    int checked = 0;
    for (int e = 1; e <= 10; ++e) checked += ExerciseBoxes[static_cast<std::size_t>(e)]->isChecked() ? 1 : 0;
    updatingBoxes_ = true;
    AllBox->setCheckState(checked == 0 ? Qt::Unchecked : checked == 10 ? Qt::Checked : Qt::PartiallyChecked);
    updatingBoxes_ = false;
}

std::optional<results::Report> TReports::PrepareReport() {
    results::ReportRequest request;
    if (!mayChooseUsers_ || RadioButton1->isChecked()) {
        request.users = results::ReportUsers::SingleUser;
        if (store_.SelectedUser() == nullptr || (mayChooseUsers_ && ComboBox3->currentIndex() < 0)) {
            ComboBox3->setFocus();
            QMessageBox::information(this, text(5007, "Information"), text(4108, "Choose a user first."));
            return std::nullopt;
        }
    } else if (RadioButton2->isChecked()) {
        if (ComboBox2->currentIndex() < 0) return std::nullopt;
        request.users = results::ReportUsers::Class;
        request.classId = static_cast<std::int16_t>(ComboBox2->currentData().toInt());
    } else {
        request.users =
            RadioButton3->isChecked() ? results::ReportUsers::AllUsers : results::ReportUsers::AllStudents;
    }
    for (int e : results::kReportExerciseOrder)
        if (ExerciseBoxes[static_cast<std::size_t>(e)]->isChecked()) request.exercises.push_back(e);
    request.daysText = DaysBox->currentText().toStdString();
    return results::BuildReport(store_, request, records::nowLocal(), reportTexts());
}

void TReports::preview() {
    const auto report = PrepareReport();
    if (!report) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(text(96, "Preview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&report](QPrinter* device) { PaintReport(*report, *device); });
    dialog.exec();
}

void TReports::print() {
    const auto report = PrepareReport();
    if (!report) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PaintReport(*report, printer);
}

bool TReports::SavePdf(const QString& file) {
    const auto report = PrepareReport();
    if (!report) return false;
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        {
            QPdfWriter pdf(&out);
            pdf.setResolution(300);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            pdf.setTitle(QString::fromStdString(report->title));
            pdf.setCreator(QStringLiteral("Kalvintor School"));
            PaintReport(*report, pdf);
        }
        if (out.commit()) return true;
    }
    QMessageBox::critical(
        this, text(5005, "Error"),
        formatted(7823, "The report could not be saved as %s: %s", {arg(file), arg(out.errorString())}));
    return false;
}

void TReports::savePdfAs() {
    const QString file = QFileDialog::getSaveFileName(this, text(7822, "Save as PDF..."), QString(),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (!file.isEmpty())
        SavePdf(file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? file
                                                                           : file + QStringLiteral(".pdf"));
}

}  // namespace kalvintor::ui
