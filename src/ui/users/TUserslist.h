// The user overview (view 4): every user with his latest and period results for the current
// exercise, a details panel, and the commands that add, edit and delete users.
#pragma once

#include "app/ViewWindows.h"
#include "users/UserColumns.h"

#include <QWidget>

class QAction;
class QLabel;
class QTableWidget;
class QToolButton;

namespace kalvintor::data {
class DataStore;
struct TUserInfo;
}  // namespace kalvintor::data

namespace kalvintor::ui {

class TKalvintorMain;

class TUserslist final : public QWidget, public InfoView {
    Q_OBJECT
public:
    TUserslist(TKalvintorMain& main, data::DataStore& store, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void ShowView(int exercise) override;

    // Filters the users by class (negative = every class, 0 = in no class) and repaints.
    void RefreshUsers();
    void setClassFilter(int classId);
    int classFilter() const { return classFilter_; }

    void NewUser();
    void DeleteUser();
    void Properties();
    void ChooseSetupFile();
    // The tutor chooser for the selected user.
    void TutorProfile();

    // The column layout in the settings.
    void RestoreColumns(const settings::Settings& from);
    void StoreColumns(settings::Settings& into);

    QToolButton* LastResult;
    QToolButton* WeekResult;
    QToolButton* TutorButton;
    QToolButton* ClassButton;
    QToolButton* PrintButton;
    QToolButton* PlusButton;
    QTableWidget* DrawGrid1;
    QLabel* Panel2;
    QAction* New1;
    QAction* Delete1;
    QAction* Properties1;
    QAction* SetupFile1;
    QAction* TutorProfile1;

private:
    void buildColumns();
    void fillRow(int row, data::TUserInfo& user);
    void selectRow(int row);
    void refreshDetails();
    void detailsClicked(const QString& link);
    void enableCommands();
    // The selected user when the grid shows him.
    data::TUserInfo* shownSelection() const;
    void readWidths();
    QToolButton* toggle(const char* name, int id, const char* english, bool down);

    TKalvintorMain& main_;
    data::DataStore& store_;
    UserColumnTable columns_ = defaultUserColumns();
    std::vector<int> shown_;  // the table's columns in grid order
    int exercise_ = 1;
    int classFilter_ = -1;
};

}  // namespace kalvintor::ui
