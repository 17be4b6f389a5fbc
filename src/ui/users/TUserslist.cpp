// The user overview window.
#include "users/TUserslist.h"

#include "app/AccessLevels.h"
#include "app/ExerciseNames.h"
#include "app/MainTutor.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TTutorlist.h"
#include "users/MainStartupAccess.h"
#include "users/TAddUserForm.h"
#include "users/UserTexts.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kalvintor::ui {

namespace {

QString dateText(records::DateTime value) {
    if (value <= 0) return {};
    const auto c = records::decodeDateTime(value);
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute))
        .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

QString durationText(records::Duration days) {
    const auto seconds = static_cast<long long>(std::llround(days * 86400.0));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString resultText(std::uint32_t correct, std::uint32_t questions) {
    if (questions == 0) return {};
    return QStringLiteral("%1/%2 = %3%").arg(correct).arg(questions).arg(correct * 100 / questions);
}

}  // namespace

TUserslist::TUserslist(TKalvintorMain& main, data::DataStore& store, QWidget* parent)
    : QWidget(parent), main_(main), store_(store) {
    setObjectName(QStringLiteral("Userslist"));
    setAccessibleName(text(7260, "Users"));
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    LastResult = toggle("LastResult", 6326, "Last result", true);
    WeekResult = toggle("WeekResult", 7261, "Week result", true);
    TutorButton = toggle("TutorButton", 6332, "Tutor", false);
    ClassButton = toggle("ClassButton", 6330, "Class", false);
    PrintButton = new QToolButton(this);
    PrintButton->setObjectName(QStringLiteral("PrintButton"));
    PrintButton->setText(text(22, "Print..."));
    PrintButton->setEnabled(false);  // the reports arrive with their own window
    PlusButton = toggle("PlusButton", 7262, "+", false);
    PlusButton->setAccessibleName(text(7263, "Details"));

    New1 = new QAction(text(7264, "New..."), this);
    New1->setObjectName(QStringLiteral("New1"));
    Delete1 = new QAction(text(7265, "Delete"), this);
    Delete1->setObjectName(QStringLiteral("Delete1"));
    Properties1 = new QAction(text(7266, "Properties..."), this);
    Properties1->setObjectName(QStringLiteral("Properties1"));
    SetupFile1 = new QAction(text(7267, "Exercise setup file..."), this);
    SetupFile1->setObjectName(QStringLiteral("SetupFile1"));
    TutorProfile1 = new QAction(text(8700, "Tutor profile..."), this);
    TutorProfile1->setObjectName(QStringLiteral("TutorProfile1"));
    connect(New1, &QAction::triggered, this, &TUserslist::NewUser);
    connect(Delete1, &QAction::triggered, this, &TUserslist::DeleteUser);
    connect(Properties1, &QAction::triggered, this, &TUserslist::Properties);
    connect(SetupFile1, &QAction::triggered, this, &TUserslist::ChooseSetupFile);
    connect(TutorProfile1, &QAction::triggered, this, &TUserslist::TutorProfile);
    auto* menu = new QMenu(text(7260, "Users"), this);
    menu->addActions({SetupFile1, TutorProfile1, New1, Delete1, Properties1});
    auto* usersButton = new QToolButton(this);
    usersButton->setObjectName(QStringLiteral("UsersMenu"));
    usersButton->setText(text(7260, "Users"));
    usersButton->setMenu(menu);
    usersButton->setPopupMode(QToolButton::InstantPopup);

    for (QToolButton* b : {LastResult, WeekResult, TutorButton, ClassButton}) {
        bar->addWidget(b);
        connect(b, &QToolButton::toggled, this, [this] {
            readWidths();
            buildColumns();
            RefreshUsers();
        });
    }
    bar->addSeparator();
    bar->addWidget(PrintButton);
    bar->addWidget(PlusButton);
    bar->addSeparator();
    bar->addWidget(usersButton);
    bar->addAction(New1);
    bar->addAction(Properties1);
    bar->addAction(TutorProfile1);
    bar->addAction(Delete1);
    connect(PlusButton, &QToolButton::toggled, this, [this] { refreshDetails(); });
    // The button that shows the commands a narrow window has no room for.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(text(8702, "More commands"));

    DrawGrid1 = new QTableWidget(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->setAccessibleName(text(7260, "Users"));
    DrawGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DrawGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DrawGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrawGrid1->verticalHeader()->hide();
    // Long titles end in an ellipsis on one line; the cell's tip shows them whole.
    DrawGrid1->setWordWrap(false);
    DrawGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    DrawGrid1->addActions({SetupFile1, TutorProfile1, New1, Delete1, Properties1});
    connect(DrawGrid1, &QTableWidget::currentCellChanged, this, [this](int row) { selectRow(row); });
    connect(DrawGrid1, &QTableWidget::cellDoubleClicked, this, [this] { Properties(); });

    Panel2 = new QLabel(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAccessibleName(text(7263, "Details"));
    Panel2->setTextFormat(Qt::RichText);
    Panel2->setAutoFillBackground(true);
    QPalette paper = Panel2->palette();
    paper.setColor(QPalette::Window, style::kPaper);
    Panel2->setPalette(paper);
    Panel2->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(Panel2, &QLabel::linkActivated, this, &TUserslist::detailsClicked);
    Panel2->setMargin(style::kMargin);
    Panel2->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(DrawGrid1, 1);
    layout->addWidget(Panel2);
    buildColumns();
}

QToolButton* TUserslist::toggle(const char* name, int id, const char* english, bool down) {
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setText(text(id, english));
    b->setCheckable(true);
    b->setChecked(down);
    return b;
}

void TUserslist::readWidths() {
    for (std::size_t i = 0; i < shown_.size(); ++i)
        columns_[static_cast<std::size_t>(shown_[i])].width = DrawGrid1->columnWidth(static_cast<int>(i));
}

void TUserslist::buildColumns() {
    auto& c = columns_;
    c[2].visible = c[3].visible = c[4].visible = LastResult->isChecked();
    c[5].visible = c[6].visible = c[7].visible = WeekResult->isChecked();
    c[8].visible = TutorButton->isChecked();
    c[9].visible = ClassButton->isChecked();
    shown_.clear();
    QStringList titles;
    for (int i = 0; i < kUserColumns; ++i) {
        if (!c[static_cast<std::size_t>(i)].visible && i >= 2) continue;
        shown_.push_back(i);
        const auto& column = c[static_cast<std::size_t>(i)];
        titles << (column.titleId ? text(column.titleId, column.english) : QString());
    }
    DrawGrid1->setColumnCount(static_cast<int>(shown_.size()));
    DrawGrid1->setHorizontalHeaderLabels(titles);
    for (std::size_t i = 0; i < shown_.size(); ++i)
        DrawGrid1->setColumnWidth(static_cast<int>(i), c[static_cast<std::size_t>(shown_[i])].width);
}

void TUserslist::RestoreColumns(const settings::Settings& from) {
    readUserColumns(from, columns_);
    const QSignalBlocker a(LastResult), b(WeekResult), t(TutorButton), k(ClassButton);
    LastResult->setChecked(columns_[2].visible);
    WeekResult->setChecked(columns_[5].visible);
    TutorButton->setChecked(columns_[8].visible);
    ClassButton->setChecked(columns_[9].visible);
    buildColumns();
}

void TUserslist::StoreColumns(settings::Settings& into) {
    readWidths();
    writeUserColumns(columns_, into);
}

void TUserslist::ShowView(int exercise) {
    exercise_ = exercise >= 1 && exercise <= 10 ? exercise : 1;
    store_.LoadClasses();
    store_.LoadUsers();
    store_.ComputeAllStatistics(false);
    RefreshUsers();
}

void TUserslist::setClassFilter(int classId) {
    classFilter_ = classId;
    RefreshUsers();
}

void TUserslist::RefreshUsers() {
    store_.FilterUsers(-1, classFilter_);
    const auto& users = store_.FilteredUsers();
    DrawGrid1->setRowCount(static_cast<int>(users.size()));
    // The commands act on a user the grid shows: one filtered away gives way to the first row.
    const auto found = std::ranges::find(users, store_.SelectedUser());
    if (found == users.end() && !users.empty()) store_.setSelectedUser(users.front());
    const int selected = found == users.end() ? 0 : static_cast<int>(found - users.begin());
    for (std::size_t row = 0; row < users.size(); ++row) fillRow(static_cast<int>(row), *users[row]);
    if (!users.empty()) DrawGrid1->setCurrentCell(selected, std::min(1, DrawGrid1->columnCount() - 1));
    enableCommands();
    refreshDetails();
}

data::TUserInfo* TUserslist::shownSelection() const {
    const auto& users = store_.FilteredUsers();
    return std::ranges::find(users, store_.SelectedUser()) != users.end() ? store_.SelectedUser() : nullptr;
}

void TUserslist::enableCommands() {
    const bool selected = shownSelection() != nullptr;
    for (QAction* a : {Delete1, Properties1, SetupFile1}) a->setEnabled(selected);
    TutorProfile1->setEnabled(selected && main_.AccessRights[app::kRightChooseTutor]);
}

void TUserslist::fillRow(int row, data::TUserInfo& user) {
    if (!user.statisticsValid) store_.ComputeStatistics(user);
    const data::ExerciseStatistics& s = user.statistics[static_cast<std::size_t>(exercise_ - 1)];
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        QString cell;
        switch (shown_[i]) {
            case 0:
                cell =
                    user.record.userId == (store_.SelectedUser() ? store_.SelectedUser()->record.userId : 0)
                        ? QStringLiteral("\u25B6")
                        : QString();
                break;
            case 1:
                cell = QString::fromStdString(user.sortName);
                break;
            case 2:
                cell = dateText(s.lastDate);
                break;
            case 3:
                cell = QString::fromStdString(s.lastSetupName);
                break;
            case 4:
                cell = resultText(s.lastCorrect, s.lastQuestions);
                break;
            case 5:
                cell = s.periodDuration > 0 ? durationText(s.periodDuration) : QString();
                break;
            case 6:
                cell = s.averageAnswerTime > 0 ? durationText(s.averageAnswerTime) : QString();
                break;
            case 7:
                cell = resultText(s.periodCorrect, s.periodQuestions);
                break;
            case 8:
                cell = QString::fromStdString(user.tutorTitle);
                break;
            case 9:
                cell = QString::fromStdString(user.className);
                break;
            default:
                break;
        }
        auto* item = DrawGrid1->item(row, static_cast<int>(i));
        if (!item) {
            item = new QTableWidgetItem;
            DrawGrid1->setItem(row, static_cast<int>(i), item);
        }
        item->setText(cell);
        item->setToolTip(cell);
    }
}

void TUserslist::selectRow(int row) {
    const auto& users = store_.FilteredUsers();
    if (row < 0 || row >= static_cast<int>(users.size())) return;
    data::TUserInfo* previous = store_.SelectedUser();
    store_.setSelectedUser(users[static_cast<std::size_t>(row)]);
    // The marker column moves with the selection.
    for (std::size_t r = 0; r < users.size(); ++r)
        if (users[r] == previous || users[r] == store_.SelectedUser())
            fillRow(static_cast<int>(r), *users[r]);
    enableCommands();
    refreshDetails();
}

void TUserslist::refreshDetails() {
    const data::TUserInfo* user = shownSelection();
    const bool shown = user && (PlusButton->isChecked() || store_.FilteredUsers().size() == 1);
    Panel2->setVisible(shown);
    if (!shown) return;
    const auto& r = user->record;
    const auto& s = user->statistics[static_cast<std::size_t>(exercise_ - 1)];
    const auto row = [](const QString& title, const QString& value) {
        return QStringLiteral("<tr><td><b>%1:</b></td><td>%2</td></tr>")
            .arg(title.toHtmlEscaped(), value.toHtmlEscaped());
    };
    // A value that opens its command when clicked; an empty one still offers the command.
    const auto linkRow = [&row](const QString& title, const QString& value, QAction* command,
                                const char* link) {
        if (!command->isEnabled()) return row(title, value);
        const QString caption = value.isEmpty() ? text(102, "none") : value;
        return QStringLiteral(
                   "<tr><td><b>%1:</b></td><td><a href=\"%2\" style=\"color: %3\">%4</a></td></tr>")
            .arg(title.toHtmlEscaped(), QLatin1String(link), style::kNavyLight.name(),
                 caption.toHtmlEscaped());
    };
    QString html = QStringLiteral("<table cellspacing=4>");
    html += linkRow(text(6320, "Name"), QString::fromStdString(data::DisplayName(user->record.fullName)),
                    Properties1, "properties");
    html += linkRow(text(7212, "Access"), levelName(r.accessLevel & 15), Properties1, "properties");
    html += linkRow(text(6330, "Class"), QString::fromStdString(user->className), Properties1, "properties");
    html += linkRow(text(44, "Exercise setup"),
                    QFileInfo(QString::fromStdString(r.setupFile)).completeBaseName(), SetupFile1, "setup");
    html += linkRow(text(6332, "Tutor"), QString::fromStdString(user->tutorTitle), TutorProfile1, "tutor");
    html += QStringLiteral("<tr><td colspan=2><b>%1, %2</b></td></tr>")
                .arg(text(6326, "Last result").toHtmlEscaped(),
                     text(app::ExerciseNameText(exercise_),
                          std::string(app::ExerciseEnglishName(exercise_)).c_str())
                         .toHtmlEscaped());
    if (s.lastDate > 0) {
        html += row(text(7268, "Date"), dateText(s.lastDate));
        html += row(text(7269, "Level name"), QString::fromStdString(s.lastSetupName));
        html += row(text(7270, "Total result"), resultText(s.lastCorrect, s.lastQuestions));
        if (!s.lastTutorName.empty())
            html += row(text(6332, "Tutor"), QString::fromStdString(s.lastTutorName));
    }
    Panel2->setText(html + QStringLiteral("</table>"));
}

void TUserslist::detailsClicked(const QString& link) {
    if (link == QLatin1String("properties"))
        Properties();
    else if (link == QLatin1String("setup"))
        ChooseSetupFile();
    else if (link == QLatin1String("tutor"))
        TutorProfile();
}

void TUserslist::TutorProfile() {
    data::TUserInfo* user = store_.SelectedUser();
    if (!user || !TutorProfile1->isEnabled()) return;
    MainTutor& t = main_.tutor();
    // The chooser works on the shared tutor model; a tutor the editor keeps from an earlier
    // opening is put back afterwards, and no tutor material stays in force outside a tutor.
    const std::string kept = t.model.fileName;
    t.chooser->FromRunner = false;
    t.chooser->ChooseTutorFor(store_, *user, exercise_);
    if (!main_.TutorActive && !main_.TutorEditorActive) {
        if (kept.empty() || !t.model.LoadTutor(kept, t.list->CommonDirectory)) t.model.CloseTutor();
        main_.RestoreTutorCatalogue();
    }
    if ((user = store_.SelectedUser())) store_.ComputeStatistics(*user);
    RefreshUsers();
}

void TUserslist::NewUser() {
    if (addUserForm(main_).AddUser(-1)) RefreshUsers();
}

void TUserslist::DeleteUser() {
    data::TUserInfo* user = store_.SelectedUser();
    if (!user) return;
    if (store_.CurrentUser() && store_.CurrentUser()->record.userId == user->record.userId) {
        informUser(this, text(6340, "You cannot delete yourself."));
        return;
    }
    const QString question =
        text(6342, "Do you want to delete this user and all his results?") + QStringLiteral("\n(") +
        QString::fromStdString(data::DisplayName(user->record.fullName)) + QStringLiteral(")");
    if (!askUser(this, question)) return;
    store_.DeleteUser(*user);
    RefreshUsers();
}

void TUserslist::Properties() {
    data::TUserInfo* user = store_.SelectedUser();
    if (!user || !addUserForm(main_).EditUser()) return;
    if ((user = store_.SelectedUser())) store_.ComputeStatistics(*user);
    RefreshUsers();
}

void TUserslist::ChooseSetupFile() {
    data::TUserInfo* user = store_.SelectedUser();
    if (!user) return;
    const Program& p = program();
    const QString current = QString::fromStdString(user->record.setupFile);
    QString start = toQString(p.paths.programDir);
    if (!current.isEmpty() && QFileInfo::exists(current))
        start = current;
    else if (!store_.Common.commonDirectory.empty() &&
             QFileInfo(QString::fromStdString(store_.Common.commonDirectory)).isDir())
        start = QString::fromStdString(store_.Common.commonDirectory);
    const QString chosen = QFileDialog::getOpenFileName(this, text(7267, "Exercise setup file..."), start,
                                                        QStringLiteral("*.lvs *.LVS"));
    if (chosen.isEmpty()) return;
    data::UserRecord record = user->record;
    record.setupFile = chosen.left(151).toStdString();
    if (store_.SaveUser(record)) user->record.setupFile = record.setupFile;
    refreshDetails();
}

}  // namespace kalvintor::ui
