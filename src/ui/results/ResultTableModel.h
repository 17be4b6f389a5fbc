// The rows of the results window: one session per row, the columns the toggles choose.
#pragma once

#include "data/ResultRecord.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace kalvintor::ui {

class ResultTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Bar cells give their correct and asked counts in this role (a QPoint); the display role holds
    // the same as text, for screen readers and the CSV export.
    static constexpr int kBarRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // `sessionRows` of the rows at the end are the running session's (time of day only).
    void setRows(int exercise, std::vector<data::ResultRecord> rows, int sessionRows);
    void setColumns(std::vector<int> codes, QStringList heads);
    const std::vector<data::ResultRecord>& rows() const { return rows_; }
    const std::vector<int>& columns() const { return codes_; }
    int exercise() const { return exercise_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The table as CSV: a header row, then the rows as the display role writes them.
    QString toCsv() const;

private:
    int exercise_ = 0;
    std::vector<data::ResultRecord> rows_;
    int sessionRows_ = 0;
    std::vector<int> codes_;
    QStringList heads_;
};

}  // namespace kalvintor::ui
