// The entry grid of the pitch setup view: its normal and compact views, mouse and keyboard.
#include "EntryPicture.h"
#include "TChordOps.h"
#include "app/Texts.h"
#include "theory/Naming.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>

namespace kalvintor::ui {

namespace {

constexpr int kEntryRole = Qt::UserRole + 1;
constexpr int kMarkWidth = 22;

QTableWidgetItem* entryItem(int entry, const QString& caption, bool offered) {
    auto* item = new QTableWidgetItem(caption);
    item->setData(kEntryRole, entry);
    item->setCheckState(offered ? Qt::Checked : Qt::Unchecked);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setData(Qt::AccessibleTextRole, caption.isEmpty() ? QString::number(entry) : caption);
    return item;
}

}  // namespace

void TChordOps::setCompactView(bool compact) {
    compact_ = compact;
    if (CompactButton->isChecked() != compact) CompactButton->setChecked(compact);
    fillGrid();
}

void TChordOps::fillGrid() {
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    const theory::CatalogueTable& table = catalogue.table(kind());
    const bool progressions = exercise_ == 10;
    std::vector<int> entries;
    for (int e = 1; e <= shownEntries(); ++e)
        if (table.entry(e).count != 0) entries.push_back(e);
    auto caption = [&](int e) {
        return progressions ? QString::number(e) + QStringLiteral("  ") +
                                  QString::fromStdString(theory::ProgressionName(table.entry(e)))
                            : QString::fromStdString(table.entry(e).name);
    };
    const int keepRow = DrawGrid1->currentRow();
    const int keepColumn = DrawGrid1->currentColumn();
    DrawGrid1->clear();
    if (compact_) {
        const int perRow = progressions ? 2 : 3;
        DrawGrid1->setColumnCount(perRow);
        DrawGrid1->setRowCount(static_cast<int>((entries.size() + static_cast<std::size_t>(perRow) - 1) /
                                                static_cast<std::size_t>(perRow)));
        DrawGrid1->horizontalHeader()->hide();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int e = entries[i];
            DrawGrid1->setItem(static_cast<int>(i) / perRow, static_cast<int>(i) % perRow,
                               entryItem(e, caption(e), entryOffered(e)));
        }
        DrawGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        DrawGrid1->verticalHeader()->setDefaultSectionSize(24);
    } else {
        DrawGrid1->setColumnCount(3);
        DrawGrid1->setRowCount(static_cast<int>(entries.size()));
        DrawGrid1->horizontalHeader()->show();
        DrawGrid1->setHorizontalHeaderLabels(
            {QString(), progressions ? QStringLiteral("#") : text(7518, "Structure in C/am"),
             text(7517, "Name")});
        const qreal ratio = devicePixelRatioF();
        const EntryPictureKind pictureKind = entryPictureKind(host_.answerPicture());
        const int rowHeight = entryRowHeight(pictureKind);
        DrawGrid1->setIconSize(QSize(kEntryPictureWidth, rowHeight - 2));
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int e = entries[i];
            const int row = static_cast<int>(i);
            DrawGrid1->setItem(row, 0, entryItem(e, QString(), entryOffered(e)));
            auto* picture = entryItem(e, progressions ? QString::number(e) : QString(), entryOffered(e));
            picture->setData(Qt::CheckStateRole, QVariant());
            if (!progressions)
                picture->setIcon(QIcon(entryPicture(table.entry(e), ratio, pictureKind, exercise_ == 8)));
            DrawGrid1->setItem(row, 1, picture);
            auto* name = entryItem(
                e,
                progressions ? QString::fromStdString(theory::ProgressionName(table.entry(e))) : caption(e),
                entryOffered(e));
            name->setData(Qt::CheckStateRole, QVariant());
            DrawGrid1->setItem(row, 2, name);
        }
        DrawGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
        DrawGrid1->setColumnWidth(0, kMarkWidth + 6);
        DrawGrid1->setColumnWidth(1, progressions ? 40 : kEntryPictureWidth + 8);
        DrawGrid1->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
        DrawGrid1->verticalHeader()->setDefaultSectionSize(progressions ? 24 : rowHeight);
    }
    if (keepRow >= 0 && keepRow < DrawGrid1->rowCount())
        DrawGrid1->setCurrentCell(keepRow, std::max(keepColumn, 0));
}

int TChordOps::entryAt(int row, int column) const {
    const QTableWidgetItem* item = DrawGrid1->item(row, column);
    return item != nullptr ? item->data(kEntryRole).toInt() : 0;
}

void TChordOps::cellClicked(int row, int column) {
    const int entry = entryAt(row, column);
    if (entry == 0) return;
    bool onMark = column == 0;
    if (compact_) {
        const QRect cell = DrawGrid1->visualItemRect(DrawGrid1->item(row, column));
        const QPoint mouse = DrawGrid1->viewport()->mapFromGlobal(QCursor::pos());
        onMark = mouse.x() - cell.left() < kMarkWidth;
    }
    ClickEntry(entry, onMark);
}

bool TChordOps::eventFilter(QObject* watched, QEvent* event) {
    // Space offers or withdraws the current entry; Enter (the grid's activation) opens a user
    // entry's editor.
    if (watched == DrawGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        if (const int e = entryAt(DrawGrid1->currentRow(), DrawGrid1->currentColumn())) ClickEntry(e, true);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kalvintor::ui
