// The results view: one user's sessions of one exercise, with the result bars, the per-entry
// columns, the progress chart and the period's summary line.
#pragma once

#include "app/ResultCommands.h"
#include "app/ViewWindows.h"
#include "results/ResultColumns.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class ProgressChart;
class ResultTableModel;
class SummaryBar;
class TKalvintorMain;

class TUserResult final : public QWidget, public InfoView, public ResultCommands {
    Q_OBJECT
public:
    explicit TUserResult(TKalvintorMain& main, QWidget* parent = nullptr);

    // InfoView.
    QWidget* widget() override { return this; }
    void ShowView(int exercise) override { ShowResults(exercise, -1); }

    // Shows `exercise` (0 keeps the one shown) from `earliest` on (-1 keeps the date).
    void ShowResults(int exercise, double earliest);
    void FillUserChooser();
    void RebuildColumns();
    int ResultsExercise() const { return exercise_; }

    // ResultCommands: the window's buttons and the main window's menu open the same dialogs.
    void OpenReports(int exercise) override;
    void OpenTransfer() override;
    void DeleteResults() override;
    ResultTableModel* model() const { return model_; }

    QComboBox* ComboBox1;       // user chooser
    QToolButton* SpeedButton1;  // Time
    QToolButton* SpeedButton2;  // Duration
    QToolButton* SpeedButton6;  // Answer time
    QToolButton* SpeedButton3;  // Level name
    QToolButton* SpeedButton4;  // Details
    QToolButton* SpeedButton5;  // "+"
    QComboBox* PeriodBox;       // the period of the summary line
    QPushButton* ClassTableButton;
    QPushButton* CsvButton;
    QPushButton* PrintButton;
    QPushButton* TransferButton;
    QPushButton* DeleteButton;
    QTableView* DrawGrid1;
    ProgressChart* Chart;
    QLabel* Label4;  // summary heading
    QLabel* Label3;  // period duration
    QLabel* Label6;  // average answer time
    SummaryBar* PaintBox1;

private:
    data::DataStore* store() const;
    void chooseUser(int index);
    void choosePeriod(int index);
    void updateSummary();
    void exportCsv();
    void openClassTable();

    TKalvintorMain& main_;
    ResultTableModel* model_;
    int exercise_ = 1;
    double earliest_ = -1;
    int entryWidth_ = 150;
};

}  // namespace kalvintor::ui
