// The results view: rows with their bars and the running session, the detail columns, the
// summary line, the CSV of the table, and the class table's figures.
#include "ResultsFixtureUi.h"
#include "data/DataStore.h"
#include "results/ProgressChart.h"
#include "results/ResultBar.h"
#include "results/ResultTableModel.h"
#include "results/SummaryBar.h"
#include "results/TClassTable.h"
#include "results/TUserResult.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::results::testing_support;

namespace {

struct Shell {
    Shell() : store(freshDir(), {}, quickCallbacks()) {
        MakeSchool(store);
        main.Store = &store;
        main.AccessRights.fill(true);
    }
    data::TUserInfo* userOf(int id) {
        for (const auto& u : store.UserList())
            if (u->record.userId == id) return u.get();
        return nullptr;
    }
    data::DataStore store;
    TKalvintorMain main{nullptr, kalvintor::ui::testing::quietSound()};
};

QString cell(const QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

}  // namespace

TEST(UserResult, RowsBarsTheRunningSessionAndTheSummary) {
    Shell shell;
    const double today = std::floor(records::nowLocal());
    ASSERT_TRUE(shell.store.AppendResult(
        withEntry(withEntry(result(2, 2, today - 1 + 0.4, 6, 8), 5, 4, 5), 8, 2, 3)));
    ASSERT_TRUE(shell.store.AppendResult(result(2, 2, today - 30, 1, 4)));
    ASSERT_TRUE(shell.store.AppendResult(result(2, 1, today - 1, 1, 1))) << "another exercise";
    ASSERT_TRUE(shell.store.FindUser(2, "", true));
    shell.store.setSelectedUser(shell.store.CurrentUser());
    shell.main.SessionResults[2].record = result(2, 2, 0.5, 3, 4);

    TUserResult window(shell.main);
    window.ShowView(2);
    const QTableView* grid = window.DrawGrid1;
    EXPECT_EQ(window.ComboBox1->currentText(), "Ada Lind");
    EXPECT_EQ(window.ComboBox1->count(), 3) << "every user while the overview has filtered none";
    ASSERT_EQ(grid->model()->rowCount(), 3) << "two stored sessions and the running one";
    EXPECT_EQ(cell(grid, 2, 0), "This session");
    EXPECT_EQ(cell(grid, 0, 5), "6/8 (75%)") << "file order";
    EXPECT_EQ(cell(grid, 1, 5), "1/4 (25%)");
    EXPECT_EQ(grid->model()->headerData(5, Qt::Horizontal).toString(), "Total result");
    EXPECT_EQ(grid->model()->columnCount(), 6);

    // Details add a column for each interval the listed sessions asked, in entry order.
    window.SpeedButton4->setChecked(true);
    ASSERT_EQ(grid->model()->columnCount(), 8);
    EXPECT_EQ(grid->model()->headerData(6, Qt::Horizontal).toString(), "3");
    EXPECT_EQ(cell(grid, 0, 6), "4/5 (80%)");
    EXPECT_EQ(cell(grid, 0, 7), "2/3 (66%)");
    EXPECT_EQ(cell(grid, 1, 6), "0/0");
    // Hiding the time and duration toggles takes their columns away.
    window.SpeedButton1->setChecked(false);
    window.SpeedButton2->setChecked(false);
    EXPECT_EQ(grid->model()->columnCount(), 6);

    // The summary is the stored sessions of the period (a week): 6 of 8.
    EXPECT_EQ(window.PaintBox1->accessibleName(), "6/8 (75%)");
    EXPECT_TRUE(window.Label4->text().startsWith("Summary - 1 week")) << window.Label4->text().toStdString();
    EXPECT_EQ(window.Chart->progress().sessions.size(), 2u);

    const QString csv = window.model()->toCsv();
    EXPECT_TRUE(csv.startsWith("Date,Answertime,Level name,Total result,3,5\r\n")) << csv.toStdString();
    EXPECT_TRUE(csv.contains("This session,")) << csv.toStdString();

    // Another user's results are shown without the running session.
    shell.store.setSelectedUser(shell.userOf(3));
    window.ShowView(2);
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST(UserResult, ABarWithoutQuestionsIsAnEmptyFrame) {
    // Painting into an image: nothing asked leaves no blue inside the frame.
    QImage image(200, 21, QImage::Format_ARGB32);
    auto blueCount = [&image] {
        int blue = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                blue += qBlue(image.pixel(x, y)) > 150 && qRed(image.pixel(x, y)) < 90;
        return blue;
    };
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawResultBar(p, image.rect(), 1, 0, 0, true);
    }
    EXPECT_EQ(blueCount(), 0);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        DrawResultBar(p, image.rect(), 5, 85, 10, true);
    }
    EXPECT_GT(blueCount(), 500) << "a rhythm score of 85 fills most of the bar";
}

TEST(ClassTable, ShowsTheWeakestEntryFirst) {
    Shell shell;
    const double today = std::floor(records::nowLocal());
    ASSERT_TRUE(shell.store.AppendResult(withEntry(withEntry(result(2, 1, today - 2), 1, 9, 10), 2, 2, 10)));
    ASSERT_TRUE(shell.store.AppendResult(withEntry(result(3, 1, today - 3), 2, 3, 10)));
    TClassTable dialog(shell.store, shell.main.catalogue(), 1);
    ASSERT_EQ(dialog.Table->rowCount(), 2);
    EXPECT_EQ(dialog.Table->item(0, 0)->text(), "Minor");
    EXPECT_EQ(dialog.Table->item(0, 3)->text(), "25%");
    EXPECT_EQ(dialog.Table->item(1, 0)->text(), "Major");
    EXPECT_EQ(dialog.Table->item(1, 1)->text(), "10");
}
