// The class table dialog.
#include "TClassTable.h"

#include "EntryNames.h"
#include "ResultBar.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "records/DateTime.h"
#include "results/Figures.h"
#include "results/ResultColumns.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace kalvintor::ui {

namespace {

constexpr int kBarColumn = 3;
constexpr int kBarRole = Qt::UserRole + 1;

class EntryBarDelegate final : public QStyledItemDelegate {
public:
    EntryBarDelegate(const QComboBox& exercise, QObject* parent)
        : QStyledItemDelegate(parent), exercise_(exercise) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant bar = index.data(kBarRole);
        if (!bar.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QPoint counts = bar.toPoint();
        DrawResultBar(*painter, option.rect, exercise_.currentData().toInt(), counts.x(), counts.y(), true);
    }

private:
    const QComboBox& exercise_;
};

}  // namespace

TClassTable::TClassTable(data::DataStore& store, const theory::ChordCatalogue& catalogue, int exercise,
                         QWidget* parent)
    : QDialog(parent),
      ClassBox(new QComboBox(this)),
      ExerciseBox(new QComboBox(this)),
      DaysBox(new QSpinBox(this)),
      Table(new QTableWidget(this)),
      store_(store),
      catalogue_(catalogue) {
    setObjectName(QStringLiteral("ClassTable"));
    setWindowTitle(text(7805, "Class table..."));
    setFont(style::uiFont(9));
    resize(620, 520);

    ClassBox->setObjectName(QStringLiteral("ClassBox"));
    ClassBox->setAccessibleName(text(7814, "Class"));
    for (const auto& c : store.ClassList())
        if (c->record.classId != 0)
            ClassBox->addItem(QString::fromStdString(c->record.className), c->record.classId);
    ExerciseBox->setObjectName(QStringLiteral("ExerciseBox"));
    ExerciseBox->setAccessibleName(text(7815, "Exercise"));
    for (int e : {1, 2, 7, 8, 10}) {
        ExerciseBox->addItem(ExerciseCaption(e), e);
        if (e == exercise) ExerciseBox->setCurrentIndex(ExerciseBox->count() - 1);
    }
    DaysBox->setObjectName(QStringLiteral("DaysBox"));
    DaysBox->setAccessibleName(text(7816, "Days counted back"));
    DaysBox->setRange(1, 3650);
    DaysBox->setValue(30);

    Table->setObjectName(QStringLiteral("EntryTable"));
    Table->setAccessibleName(text(7817, "Entries, weakest first"));
    Table->setColumnCount(4);
    Table->setHorizontalHeaderLabels(
        {text(7818, "Entry"), text(7819, "Asked"), text(7820, "Right"), text(4508, "Total result")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(kBarColumn, QHeaderView::Stretch);
    Table->setColumnWidth(0, 180);
    Table->setItemDelegate(new EntryBarDelegate(*ExerciseBox, this));

    auto* form = new QFormLayout;
    form->addRow(text(7814, "Class"), ClassBox);
    form->addRow(text(7815, "Exercise"), ExerciseBox);
    form->addRow(text(7816, "Days counted back"), DaysBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(text(95, "Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Table, 1);
    layout->addWidget(buttons);

    connect(ClassBox, &QComboBox::currentIndexChanged, this, &TClassTable::Refresh);
    connect(ExerciseBox, &QComboBox::currentIndexChanged, this, &TClassTable::Refresh);
    connect(DaysBox, &QSpinBox::valueChanged, this, &TClassTable::Refresh);
    Refresh();
}

void TClassTable::Refresh() {
    Table->setRowCount(0);
    if (ClassBox->currentIndex() < 0) return;
    const int exercise = ExerciseBox->currentData().toInt();
    const double earliest = std::floor(records::nowLocal()) - DaysBox->value();
    const auto figures = results::ClassEntryTable(
        store_, static_cast<std::int16_t>(ClassBox->currentData().toInt()), exercise, earliest);
    Table->setRowCount(static_cast<int>(figures.size()));
    for (int row = 0; row < static_cast<int>(figures.size()); ++row) {
        const results::EntryFigure& f = figures[static_cast<std::size_t>(row)];
        Table->setItem(row, 0, new QTableWidgetItem(EntryName(catalogue_, exercise, f.entry)));
        Table->setItem(row, 1, new QTableWidgetItem(QString::number(f.asked)));
        Table->setItem(row, 2, new QTableWidgetItem(QString::number(f.correct)));
        auto* bar = new QTableWidgetItem(QStringLiteral("%1%").arg(f.percent()));
        bar->setData(kBarRole, QPoint(static_cast<int>(f.correct), static_cast<int>(f.asked)));
        Table->setItem(row, kBarColumn, bar);
    }
}

}  // namespace kalvintor::ui
