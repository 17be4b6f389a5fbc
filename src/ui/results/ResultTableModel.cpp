// Cells of the results window.
#include "ResultTableModel.h"

#include "app/Texts.h"
#include "results/ResultColumns.h"
#include "results/ResultFormat.h"

#include <QPoint>

namespace kalvintor::ui {

namespace {

QString barText(int exercise, int correct, int questions) {
    if (questions == 0) return results::holdsScore(exercise) ? QStringLiteral("0") : QStringLiteral("0/0");
    const int percent = results::BarPercent(exercise, correct, questions);
    if (results::holdsScore(exercise)) return QStringLiteral("%1 (%2%)").arg(questions).arg(percent);
    return QStringLiteral("%1/%2 (%3%)").arg(correct).arg(questions).arg(percent);
}

}  // namespace

void ResultTableModel::setRows(int exercise, std::vector<data::ResultRecord> rows, int sessionRows) {
    beginResetModel();
    exercise_ = exercise;
    rows_ = std::move(rows);
    sessionRows_ = sessionRows;
    endResetModel();
}

void ResultTableModel::setColumns(std::vector<int> codes, QStringList heads) {
    beginResetModel();
    codes_ = std::move(codes);
    heads_ = std::move(heads);
    endResetModel();
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(codes_.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const data::ResultRecord& r = rows_[static_cast<std::size_t>(index.row())];
    const int code = codes_[static_cast<std::size_t>(index.column())];
    const bool session = index.row() >= rowCount() - sessionRows_;
    int correct = r.correct;
    int asked = r.questions;
    if (code >= results::kEntryColumn) {
        const auto& item = r.itemStats[static_cast<std::size_t>(code - results::kEntryColumn - 1)];
        correct = item.correct;
        asked = item.asked;
    }
    if (role == kBarRole && code >= results::kBaseColumns - 1) return QPoint(correct, asked);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    switch (code) {
        case 0:
            return session ? text(4513, "This session")
                           : QString::fromStdString(results::FormatDate(r.sessionStart));
        case 1:
            return QString::fromStdString(results::FormatTime(r.sessionStart));
        case 2:
            return QString::fromStdString(results::FormatDuration(r.duration, true));
        case 3:
            return QString::fromStdString(results::FormatDuration(r.answerTime, true));
        case 4: {
            const QString setup = QString::fromStdString(r.setupName);
            return r.tutorStep != 0 ? QStringLiteral("%1 - %2").arg(r.tutorStep).arg(setup) : setup;
        }
        default:
            return barText(exercise_, correct, asked);
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return section >= 0 && section < heads_.size() ? heads_[section] : QVariant();
}

QString ResultTableModel::toCsv() const {
    auto field = [](const QString& t) { return QString::fromStdString(results::CsvField(t.toStdString())); };
    QString csv;
    QStringList line;
    for (const QString& head : heads_) line << field(head);
    csv += line.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (int row = 0; row < rowCount(); ++row) {
        line.clear();
        for (int column = 0; column < columnCount(); ++column)
            line << field(data(index(row, column), Qt::DisplayRole).toString());
        csv += line.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return csv;
}

}  // namespace kalvintor::ui
