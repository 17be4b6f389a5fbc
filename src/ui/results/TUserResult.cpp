// The results view.
#include "TUserResult.h"

#include "EntryNames.h"
#include "Formatted.h"
#include "ProgressChart.h"
#include "ResultBar.h"
#include "ResultTableModel.h"
#include "SummaryBar.h"
#include "TClassTable.h"
#include "TExportImport.h"
#include "TReports.h"
#include "app/Style.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "results/Figures.h"
#include "results/ResultFormat.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

// The periods of "Result sumations": caption text and the days counted back.
struct Period {
    int textId;
    const char* english;
    std::uint8_t days;
};
constexpr Period kPeriods[] = {
    {51, "1 day", 0}, {53, "3 days", 2}, {55, "1 week", 7}, {56, "2 weeks", 14}, {58, "1 month", 30}};

// Bar cells: the total and, with "+", the entries with their numbers.
class BarDelegate final : public QStyledItemDelegate {
public:
    BarDelegate(ResultTableModel& model, const QAbstractButton& entryNumbers, QObject* parent)
        : QStyledItemDelegate(parent), model_(model), entryNumbers_(entryNumbers) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant bar = index.data(ResultTableModel::kBarRole);
        if (!bar.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, option.palette.highlight());
        const QPoint counts = bar.toPoint();
        const bool total = model_.columns()[static_cast<std::size_t>(index.column())] < results::kEntryColumn;
        DrawResultBar(*painter, option.rect, model_.exercise(), counts.x(), counts.y(),
                      total || entryNumbers_.isChecked());
    }

private:
    ResultTableModel& model_;
    const QAbstractButton& entryNumbers_;
};

QToolButton* makeToggle(QWidget* parent, const char* name, int textId, const char* english) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(true);
    button->setChecked(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setText(text(textId, english));
    bindCaption(button, textId);
    return button;
}

QPushButton* makeButton(QWidget* parent, const char* name, int textId, const char* english) {
    auto* button = new QPushButton(text(textId, english), parent);
    button->setObjectName(QString::fromLatin1(name));
    bindCaption(button, textId);
    return button;
}

QLabel* captionLabel(QWidget* parent, const char* name, int textId, const char* english) {
    auto* label = new QLabel(text(textId, english), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(style::uiFont(9, QFont::Bold));
    bindCaption(label, textId);
    return label;
}

}  // namespace

TUserResult::TUserResult(TKalvintorMain& main, QWidget* parent)
    : QWidget(parent),
      ComboBox1(new QComboBox(this)),
      SpeedButton1(makeToggle(this, "SpeedButton1", 4502, "Time")),
      SpeedButton2(makeToggle(this, "SpeedButton2", 4504, "Duration")),
      SpeedButton6(makeToggle(this, "SpeedButton6", 4505, "Answertime")),
      SpeedButton3(makeToggle(this, "SpeedButton3", 4506, "Level name")),
      SpeedButton4(makeToggle(this, "SpeedButton4", 4510, "Details")),
      SpeedButton5(makeToggle(this, "SpeedButton5", 7804, "+")),
      PeriodBox(new QComboBox(this)),
      ClassTableButton(makeButton(this, "ClassTableButton", 7805, "Class table...")),
      CsvButton(makeButton(this, "CsvButton", 7806, "Save as CSV...")),
      PrintButton(makeButton(this, "PrintButton", 22, "Print...")),
      TransferButton(makeButton(this, "TransferButton", 19, "Import/Export user data...")),
      DeleteButton(makeButton(this, "DeleteButton", 26, "Delete results...")),
      DrawGrid1(new QTableView(this)),
      Chart(new ProgressChart(this)),
      Label4(new QLabel(this)),
      Label3(new QLabel(this)),
      Label6(new QLabel(this)),
      PaintBox1(new SummaryBar(this)),
      main_(main),
      model_(new ResultTableModel(this)) {
    setObjectName(QStringLiteral("UserResult"));
    setAccessibleName(text(46, "Results"));
    setFont(style::uiFont(9));

    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(text(7807, "User"));
    ComboBox1->setMinimumContentsLength(18);
    PeriodBox->setObjectName(QStringLiteral("PeriodBox"));
    PeriodBox->setAccessibleName(text(45, "Result sumations"));
    for (const Period& p : kPeriods) PeriodBox->addItem(text(p.textId, p.english), p.days);
    SpeedButton4->setChecked(false);
    SpeedButton5->setChecked(false);
    SpeedButton5->setAccessibleName(text(7808, "Numbers in the detail columns"));

    auto* top = new QHBoxLayout;
    top->setSpacing(style::kGap);
    top->addWidget(ComboBox1);
    for (QToolButton* t :
         {SpeedButton1, SpeedButton2, SpeedButton6, SpeedButton3, SpeedButton4, SpeedButton5})
        top->addWidget(t);
    top->addWidget(PeriodBox);
    top->addStretch(1);
    // What can be done with the results, on a row of its own.
    auto* actions = new QHBoxLayout;
    actions->setSpacing(style::kGap);
    actions->addStretch(1);
    for (QPushButton* b : {ClassTableButton, CsvButton, PrintButton, TransferButton, DeleteButton})
        actions->addWidget(b);

    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->setAccessibleName(text(7809, "Results of the sessions"));
    // Rows stay in file order until a column head is clicked.
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(model_);
    sorted->setSortRole(ResultTableModel::kSortRole);
    DrawGrid1->setModel(sorted);
    DrawGrid1->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    DrawGrid1->setSortingEnabled(true);
    DrawGrid1->setItemDelegate(new BarDelegate(*model_, *SpeedButton5, this));
    DrawGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DrawGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DrawGrid1->verticalHeader()->setDefaultSectionSize(21);
    DrawGrid1->verticalHeader()->hide();
    DrawGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DrawGrid1->setAlternatingRowColors(true);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(DrawGrid1);
    split->addWidget(Chart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(style::uiFont(9, QFont::Bold));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label6->setObjectName(QStringLiteral("Label6"));
    auto* summary = new QHBoxLayout;
    summary->setSpacing(12);
    summary->addWidget(Label4);
    summary->addWidget(captionLabel(this, "Label1", 4512, "Week exercise time"));
    summary->addWidget(Label3);
    summary->addWidget(captionLabel(this, "Label2", 4514, "Week result sum"));
    summary->addWidget(PaintBox1, 1);
    summary->addWidget(captionLabel(this, "Label5", 4518, "Average answer time"));
    summary->addWidget(Label6);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin, style::kMargin, style::kMargin, style::kMargin);
    layout->setSpacing(style::kGap);
    layout->addLayout(top);
    layout->addLayout(actions);
    layout->addWidget(split, 1);
    layout->addLayout(summary);

    for (QToolButton* t : {SpeedButton1, SpeedButton2, SpeedButton6, SpeedButton3})
        connect(t, &QToolButton::toggled, this, [this] { RebuildColumns(); });
    connect(SpeedButton4, &QToolButton::toggled, this, [this](bool down) {
        SpeedButton5->setEnabled(down);
        RebuildColumns();
    });
    connect(SpeedButton5, &QToolButton::toggled, this, [this](bool down) {
        entryWidth_ += down ? 60 : -60;
        RebuildColumns();
    });
    connect(ComboBox1, &QComboBox::activated, this, &TUserResult::chooseUser);
    connect(PeriodBox, &QComboBox::activated, this, &TUserResult::choosePeriod);
    connect(CsvButton, &QPushButton::clicked, this, &TUserResult::exportCsv);
    connect(ClassTableButton, &QPushButton::clicked, this, &TUserResult::openClassTable);
    connect(PrintButton, &QPushButton::clicked, this, [this] { OpenReports(exercise_); });
    connect(TransferButton, &QPushButton::clicked, this, &TUserResult::OpenTransfer);
    connect(DeleteButton, &QPushButton::clicked, this, &TUserResult::DeleteResults);
}

data::DataStore* TUserResult::store() const {
    return main_.Store;
}

void TUserResult::FillUserChooser() {
    ComboBox1->clear();
    data::DataStore* s = store();
    if (s == nullptr || s->SelectedUser() == nullptr) {
        ComboBox1->addItem(text(7810, "Guest"));
        ComboBox1->setEnabled(false);
        return;
    }
    std::vector<const data::TUserInfo*> users(s->FilteredUsers().begin(), s->FilteredUsers().end());
    if (users.empty())
        for (const auto& user : s->UserList()) users.push_back(user.get());
    int selected = -1;
    for (const data::TUserInfo* user : users) {
        if (user == s->SelectedUser()) selected = ComboBox1->count();
        ComboBox1->addItem(userName(user->record.fullName), user->record.userId);
    }
    if (selected < 0) {
        selected = ComboBox1->count();
        ComboBox1->addItem(userName(s->SelectedUser()->record.fullName), s->SelectedUser()->record.userId);
    }
    ComboBox1->setCurrentIndex(selected);
    // Only those who may see other users choose among them.
    ComboBox1->setEnabled(main_.AccessRights[5]);
}

void TUserResult::chooseUser(int index) {
    data::DataStore* s = store();
    if (s == nullptr) return;
    const int id = ComboBox1->itemData(index).toInt();
    for (const auto& user : s->UserList()) {
        if (user->record.userId != id) continue;
        s->setSelectedUser(user.get());
        if (!user->statisticsValid) s->ComputeAllStatistics(false);
        ShowResults(0, 0);
        return;
    }
}

void TUserResult::choosePeriod(int index) {
    data::DataStore* s = store();
    if (s == nullptr) return;
    const auto days = static_cast<std::uint8_t>(PeriodBox->itemData(index).toInt());
    if (days == s->StatisticsPeriod) return;
    // The same choice as the main window's "Result sumations" menu.
    main_.ChooseResultPeriod(days);
    updateSummary();
}

void TUserResult::ShowResults(int exercise, double earliest) {
    if (exercise > 0) exercise_ = exercise;
    if (earliest > 0) earliest_ = earliest;
    const bool details = results::hasEntryColumns(exercise_);
    SpeedButton4->setVisible(details);
    SpeedButton5->setVisible(details);
    SpeedButton5->setEnabled(SpeedButton4->isChecked());

    data::DataStore* s = store();
    data::TUserInfo* selected = s ? s->SelectedUser() : nullptr;
    std::vector<data::ResultRecord> rows;
    results::Progress progress;
    if (selected != nullptr) {
        if (s->ResultList().empty() || s->ResultList().front()->record.userId != selected->record.userId)
            s->LoadResults(selected->record.userId);
        s->FilterResults(exercise_, earliest_);
        for (const data::TResultInfo* r : s->FilteredResults()) rows.push_back(r->record);
        progress = results::ProgressOf(s->FilteredResults(), exercise_);
    }
    // The running session belongs to the one working here.
    int sessionRows = 0;
    const bool own = selected == nullptr || selected == s->CurrentUser();
    const data::ResultRecord& session = main_.SessionResults[static_cast<std::size_t>(exercise_)].record;
    if (own && session.questions != 0) {
        rows.push_back(session);
        sessionRows = 1;
    }
    model_->setRows(exercise_, std::move(rows), sessionRows);
    Chart->setProgress(std::move(progress));
    FillUserChooser();
    if (s != nullptr) {
        const int period = PeriodBox->findData(s->StatisticsPeriod);
        if (period >= 0) {
            PeriodBox->setCurrentIndex(period);
        } else {
            // A period no item offers becomes the week the program starts with.
            PeriodBox->setCurrentIndex(PeriodBox->findData(7));
            choosePeriod(PeriodBox->currentIndex());
        }
    }
    const bool teacher = main_.AccessRights[5];
    ClassTableButton->setVisible(teacher);
    ClassTableButton->setEnabled(s != nullptr && !s->ClassList().empty());
    DeleteButton->setEnabled(s != nullptr && s->CurrentUser() != nullptr && !main_.Guest);
    TransferButton->setEnabled(s != nullptr && selected != nullptr);
    PrintButton->setEnabled(s != nullptr && selected != nullptr);
    RebuildColumns();
    updateSummary();
    DrawGrid1->scrollToBottom();
}

void TUserResult::RebuildColumns() {
    const std::array<bool, results::kBaseColumns> shown{true,
                                                        SpeedButton1->isChecked(),
                                                        SpeedButton2->isChecked(),
                                                        SpeedButton6->isChecked(),
                                                        SpeedButton3->isChecked(),
                                                        true};
    const std::vector<int> codes =
        results::ShownColumns(shown, SpeedButton4->isChecked(), exercise_, model_->rows());
    static const std::pair<int, const char*> kHeads[] = {{4500, "Date"},       {4502, "Time"},
                                                         {4504, "Duration"},   {4505, "Answertime"},
                                                         {4506, "Level name"}, {4508, "Total result"}};
    QStringList heads;
    for (int code : codes) {
        if (code < results::kBaseColumns)
            heads << text(kHeads[code].first, kHeads[code].second);
        else
            heads << EntryName(main_.catalogue(), exercise_, code - results::kEntryColumn);
    }
    model_->setColumns(codes, heads);
    for (int column = 0; column < static_cast<int>(codes.size()); ++column)
        DrawGrid1->setColumnWidth(
            column, codes[static_cast<std::size_t>(column)] < results::kBaseColumns ? 150 : entryWidth_);
}

void TUserResult::updateSummary() {
    data::DataStore* s = store();
    const int period = PeriodBox->currentIndex();
    Label4->setText(text(4516, "Summary") + QStringLiteral(" - ") + PeriodBox->itemText(period) +
                    QStringLiteral(" :"));
    data::TUserInfo* selected = s ? s->SelectedUser() : nullptr;
    if (selected == nullptr) {
        Label3->setText(QStringLiteral("0:00:00"));
        Label6->setText(QStringLiteral("0:00:00"));
        PaintBox1->setResult(exercise_, 0, 0);
        return;
    }
    if (!selected->statisticsValid) s->ComputeStatistics(*selected);
    const data::ExerciseStatistics& st = selected->statistics[static_cast<std::size_t>(exercise_ - 1)];
    Label3->setText(QString::fromStdString(results::FormatDuration(st.periodDuration, true)));
    Label6->setText(QString::fromStdString(results::FormatDuration(st.averageAnswerTime, true)));
    PaintBox1->setResult(exercise_, static_cast<int>(st.periodCorrect), static_cast<int>(st.periodQuestions));
}

void TUserResult::exportCsv() {
    const QString file = QFileDialog::getSaveFileName(this, text(7806, "Save as CSV..."), QString(),
                                                      QStringLiteral("CSV (*.csv)"));
    if (file.isEmpty()) return;
    QSaveFile out(file);
    const QByteArray bytes = tableCsv(*DrawGrid1->model()).toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        QMessageBox::critical(
            this, text(5005, "Error"),
            formatted(7811, "The table could not be saved in %s: %s", {arg(file), arg(out.errorString())}));
}

void TUserResult::openClassTable() {
    if (data::DataStore* s = store()) {
        TClassTable dialog(*s, main_.catalogue(), exercise_, this);
        dialog.exec();
        ShowResults(0, -1);
    }
}

void TUserResult::OpenReports(int exercise) {
    if (data::DataStore* s = store()) {
        TReports dialog(*s, main_.AccessRights[5], exercise, this);
        dialog.exec();
        ShowResults(0, -1);
    }
}

void TUserResult::OpenTransfer() {
    if (data::DataStore* s = store()) {
        TExportImport dialog(main_, *s, this);
        dialog.exec();
        ShowResults(0, -1);
    }
}

void TUserResult::DeleteResults() {
    data::DataStore* s = store();
    if (s == nullptr || s->CurrentUser() == nullptr) return;
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("DeleteDialog"));
    dialog.setWindowTitle(text(26, "Delete results..."));
    auto* label = new QLabel(formatted(4522, "Delete the results of %s from before:",
                                       {arg(userName(s->CurrentUser()->record.fullName))}),
                             &dialog);
    auto* date = new QDateEdit(QDate::currentDate().addDays(-30), &dialog);
    date->setObjectName(QStringLiteral("DateTimePicker1"));
    date->setAccessibleName(text(7812, "Delete results from before"));
    date->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    date->setCalendarPopup(true);
    label->setBuddy(date);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* remove = buttons->addButton(text(4524, "Delete"), QDialogButtonBox::AcceptRole);
    remove->setObjectName(QStringLiteral("DeleteBtn"));
    buttons->addButton(text(95, "Close"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(date);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    const QDate picked = date->date();
    const double cutOff = records::encodeDateTime({picked.year(), picked.month(), picked.day(), 0, 0, 0, 0});
    const std::int16_t id = s->CurrentUser()->record.userId;
    if (!s->PurgeResults(id, cutOff))
        QMessageBox::critical(this, text(5005, "Error"), text(7813, "The results could not be deleted."));
    s->LoadResults(id);
    s->CurrentUser()->statisticsValid = false;
    ShowResults(0, -1);
}

}  // namespace kalvintor::ui
