// The tutor editor window.
#include "TTutorDefine.h"

#include "TEditTutorLevel.h"
#include "TTutorheader.h"
#include "TTutorlist.h"
#include "app/ExerciseNames.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "app/ViewTags.h"
#include "data/UserRecord.h"
#include "files/Files.h"
#include "language/Format.h"
#include "setup/SetupFile.h"
#include "tutor/Editing.h"
#include "tutor/StepCheck.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

constexpr int kHelpTopic = 230;
constexpr int kItemHeight = 44;
constexpr int kLineX = 50;
constexpr int kMarkerRoom = 11;
constexpr int kLevelsRole = Qt::UserRole + 1;

QString exerciseName(int e) {
    return text(app::ExerciseNameText(e), app::ExerciseEnglishName(e).data());
}

QString format(int id, const char* english, const std::vector<language::FormatArgument>& arguments) {
    return QString::fromStdString(language::FormatText(text(id, english).toStdString(), arguments));
}

// A step in the list: its number left of a line, its name above and its questions and levels
// below; the left edge stays white for the drop marker.
class StepDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), kItemHeight};
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->save();
        p->fillRect(r, Qt::white);
        if (selected) p->fillRect(r.adjusted(kMarkerRoom, 0, 0, 0), style::kNavyLight);
        const QColor ink = selected ? QColor(Qt::white) : style::kInk;
        p->setPen(ink);
        p->setFont(style::uiFont(15));
        p->drawText(QRect(r.left() + kMarkerRoom, r.top(), kLineX - 4 - kMarkerRoom, r.height()),
                    Qt::AlignRight | Qt::AlignVCenter, QString::number(index.row() + 1));
        p->setPen(style::kDisabled);
        p->drawLine(r.left() + kLineX, r.top(), r.left() + kLineX, r.bottom());
        p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p->setPen(ink);
        const QRect upper(r.left() + kLineX + 4, r.top(), r.width() - kLineX - 6, r.height() / 2);
        const QRect lower(upper.left(), r.top() + r.height() / 2, upper.width(), r.height() / 2);
        p->setFont(style::uiFont(9, QFont::Bold));
        p->drawText(upper, Qt::AlignLeft | Qt::AlignBottom, index.data(Qt::DisplayRole).toString());
        p->setFont(style::uiFont(7));
        p->drawText(lower, Qt::AlignLeft | Qt::AlignVCenter, index.data(kLevelsRole).toString());
        p->restore();
    }
};

}  // namespace

TTutorDefine::TTutorDefine(TKalvintorMain& main, tutor::TutorModel& model, TTutorlist& list)
    : QMainWindow(&main, Qt::Tool), main_(main), model_(model), list_(list) {
    setObjectName(QStringLiteral("TutorDefine"));
    setWindowTitle(text(17, "Tutor editor"));
    resize(330, 560);

    QToolBar* bar = addToolBar(text(17, "Tutor editor"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    const auto tool = [this, bar](const char* name, QStyle::StandardPixmap icon, int id,
                                  const char* english) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(text(id, english));
        b->setAccessibleName(text(id, english));
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    SpeedButton4 = tool("SpeedButton4", QStyle::SP_FileIcon, 8130, "New tutor");
    SpeedButton2 = tool("SpeedButton2", QStyle::SP_DialogOpenButton, 8105, "Open tutor");
    SpeedButton3 = tool("SpeedButton3", QStyle::SP_DialogSaveButton, 8131, "Save tutor");
    bar->addSeparator();
    SpeedButton5 = tool("SpeedButton5", QStyle::SP_ArrowUp, 8132, "Move step up");
    SpeedButton6 = tool("SpeedButton6", QStyle::SP_ArrowDown, 8133, "Move step down");
    bar->addSeparator();
    SpeedButton1 = tool("SpeedButton1", QStyle::SP_DialogHelpButton, 80, "Help");
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { NewTutor(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { OpenTutor(); });
    connect(SpeedButton3, &QToolButton::clicked, this,
            [this] { SaveTutor(QApplication::keyboardModifiers().testFlag(Qt::ControlModifier)); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { MoveStep(-1); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { MoveStep(1); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { main_.helpWindow()->showTopic(kHelpTopic); });

    auto* body = new QWidget(this);
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(style::kGap, style::kGap, style::kGap, style::kGap);
    Label1 = new QLabel(body);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(style::uiFont(11, QFont::Bold));
    Label1->setStyleSheet(QStringLiteral("color: %1").arg(style::kNavy.name()));
    Label1->setWordWrap(true);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setAccessibleName(text(8170, "Tutor properties"));
    Label1->installEventFilter(this);
    rows->addWidget(Label1);
    auto* stack = new QStackedWidget(body);
    stack->setObjectName(QStringLiteral("Lists"));
    rows->addWidget(stack, 1);
    setCentralWidget(body);

    for (int e = 1; e <= tutor::kExerciseCount; ++e) {
        auto* box = new QListWidget(stack);
        box->setObjectName(e == 1 ? QStringLiteral("Tutorbox1") : QStringLiteral("TutorBox%1").arg(e));
        box->setAccessibleName(text(8146, "Steps") + " - " + exerciseName(e));
        box->setItemDelegate(new StepDelegate(box));
        box->setDragDropMode(QAbstractItemView::InternalMove);
        box->setDefaultDropAction(Qt::MoveAction);
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        box->installEventFilter(this);
        connect(box, &QListWidget::currentRowChanged, this, [this](int row) {
            if (!refilling_ && row >= 0) SelectStep(row);
            UpdateCommands();
        });
        connect(box, &QListWidget::itemDoubleClicked, this, [this] { StepProperties(); });
        connect(box->model(), &QAbstractItemModel::rowsMoved, this,
                [this](const QModelIndex&, int start, int, const QModelIndex&, int row) {
                    if (!refilling_) StepsDropped(start, row > start ? row - 1 : row);
                });
        stack->addWidget(box);
        boxes_[static_cast<std::size_t>(e)] = box;
    }

    stepDialog_ = new TEditTutorLevel(this);
    headerDialog_ = new TTutorheader(this);

    // Menus: File, Step, Help, and the lists' pop-up menu.
    const auto item = [this](QMenu* menu, const char* name, int id, const char* english, auto slot) {
        QAction* a = menu->addAction(text(id, english));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(text(5, "File"));
    file->setObjectName(QStringLiteral("File1"));
    item(file, "New1", 8134, "New...", [this] { NewTutor(); });
    item(file, "Open1", 8135, "Open...", [this] { OpenTutor(); });
    item(file, "Save1", 8136, "Save...", [this] { SaveTutor(false); });
    item(file, "Insert1", 8137, "Insert...", [this] { InsertSteps(); });
    item(file, "Tutorproperties1", 8138, "Tutor properties...", [this] { TutorProperties(); });
    file->addSeparator();
    item(file, "Close1", 8139, "Close", [this] { close(); });
    QMenu* step = menuBar()->addMenu(text(8140, "Step"));
    step->setObjectName(QStringLiteral("Step1"));
    item(step, "Getsetup1", 8141, "Get setup from exercise setup",
         [this] { StoreOpenStep(false, exercise_, true); });
    item(step, "Newstep1", 8134, "New...", [this] { NewStep(); });
    item(step, "Deletestep1", 8142, "Delete", [this] { DeleteStep(); });
    item(step, "Stepproperties1", 8143, "Properties...", [this] { StepProperties(); });
    QMenu* help = menuBar()->addMenu(text(80, "Help"));
    help->setObjectName(QStringLiteral("Help1"));
    item(help, "Contexthelp1", 84, "Context help", [this] { main_.helpWindow()->showTopic(kHelpTopic); });

    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    item(popup, "Getsetup2", 8141, "Get setup from exercise setup",
         [this] { StoreOpenStep(false, exercise_, true); });
    item(popup, "Newstep2", 8144, "New step", [this] { NewStep(); });
    item(popup, "Deletestep2", 8145, "Delete step", [this] { DeleteStep(); });
    item(popup, "Stepproperties2", 8143, "Properties...", [this] { StepProperties(); });
    for (QListWidget* box : boxes_) {
        if (box)
            connect(box, &QListWidget::customContextMenuRequested, this,
                    [popup, box](const QPoint& at) { popup->popup(box->viewport()->mapToGlobal(at)); });
    }
    for (QMenu* m : {step, popup}) connect(m, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });

    stepDialog_->browseSetup = [this] {
        const Program& p = program();
        return QFileDialog::getOpenFileName(this, text(8184, "Open exercise setup"),
                                            toQString(app::setupDirectory(p.paths, p.privateDirectory)),
                                            text(8185, "Exercise setup files") + " (*.lvs *.LVS)");
    };
    ShowTitle();
    UpdateCommands();
}

void TTutorDefine::UpdateCommands() {
    const QListWidget* box = exercise_ >= 1 ? list(exercise_) : nullptr;
    const int row = box ? box->currentRow() : -1;
    const bool selected = row >= 0;
    for (const char* name :
         {"Getsetup1", "Deletestep1", "Stepproperties1", "Getsetup2", "Deletestep2", "Stepproperties2"})
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(selected);
    for (const char* name : {"Newstep1", "Newstep2"})
        if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) a->setEnabled(box != nullptr);
    SpeedButton5->setEnabled(selected && row > 0);
    SpeedButton6->setEnabled(selected && box && row < box->count() - 1);
}

void TTutorDefine::ShowTitle() {
    const auto& h = model_.header;
    if (h.tutorName.empty())
        Label1->clear();
    else if (h.author.empty())
        Label1->setText(QString::fromStdString(h.tutorName));
    else
        Label1->setText(format(6122, "%s by %s", {h.tutorName, h.author}));
}

void TTutorDefine::Refill(int e) {
    QListWidget* box = list(e);
    const int keep = box->currentRow();
    refilling_ = true;
    box->clear();
    for (int s = 1; s <= model_.StepCount(e); ++s) {
        const tutor::StepRecord& r = model_.StepOf(e, s)->record;
        auto* entry = new QListWidgetItem(QString::fromStdString(r.stepName), box);
        const QString levels = format(6124, "%d questions, up at %d%%, down at %d%%",
                                      {r.stepQuestions, r.upgradePercent, r.downgradePercent});
        entry->setData(kLevelsRole, levels);
        entry->setData(Qt::AccessibleTextRole, QString::number(s) + ". " + entry->text() + " - " + levels);
    }
    box->setCurrentRow(std::min(keep, box->count() - 1));
    refilling_ = false;
    UpdateCommands();
}

void TTutorDefine::ShowStepSetup(int e, int row) {
    const tutor::TTutorObject* step = model_.StepOf(e, row + 1);
    if (!step) return;
    auto block = main_.Setup.current.block(e);
    std::copy_n(step->record.stepSetup.begin(), block.size(), block.begin());
    model_.editorStep[static_cast<std::size_t>(e - 1)] = row;
    if (SetupView* view = main_.setupView(e)) view->LoadSetup(e, main_.Setup.current);
    main_.ShowSetupName(QString::fromStdString(step->record.stepName));
}

void TTutorDefine::SelectStep(int row) {
    const int e = exercise_;
    if (e < 1) return;
    if (model_.editorStep[static_cast<std::size_t>(e - 1)] >= 0) StoreOpenStep(true, e, true);
    ShowStepSetup(e, row);
    Refill(e);
}

void TTutorDefine::StoreOpenStep(bool ask, int e, bool takeDialog) {
    if (e < 1 || e > tutor::kExerciseCount) return;
    setup::SetupRecord& current = main_.Setup.current;
    if (takeDialog)
        if (SetupView* view = main_.setupView(e)) view->StoreSetup(e, current);
    const int selected = list(e)->currentRow();
    if (selected < 0) return;
    const int open = model_.editorStep[static_cast<std::size_t>(e - 1)];
    tutor::TTutorObject* target = model_.StepOf(e, (ask ? open : selected) + 1);
    if (!target) return;
    const auto block = current.block(e);
    setup::SetupRecord asStored = current;
    auto stored = asStored.block(e);
    std::copy_n(target->record.stepSetup.begin(), stored.size(), stored.begin());
    const bool differs = setup::SetupDiffers(asStored, current);
    if (ask) {
        if (!differs) return;
        const QString question = format(
            6113, "%s: the setup of step %d has been changed. Do you want to keep the change in the step?",
            {exerciseName(e).toStdString(), open + 1});
        if (QMessageBox::question(this, text(5008, "Confirm"), question,
                                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    std::copy(block.begin(), block.end(), target->record.stepSetup.begin());
    if (differs) model_.modified = true;
}

void TTutorDefine::StartEditor(int e) {
    // A tutor kept from an earlier opening is read again, so that its material is in force.
    if (!model_.fileName.empty() && !model_.modified) {
        const std::string file = model_.fileName;
        model_.LoadTutor(file, list_.CommonDirectory);
    }
    for (int x = 1; x <= tutor::kExerciseCount; ++x) Refill(x);
    ShowTitle();
    if (const QScreen* s = main_.screen()) {
        const QRect area = s->availableGeometry();
        move(area.right() - frameGeometry().width() + 1, area.top());
    }
    show();
    raise();
    OpenExercise(e);
}

void TTutorDefine::CloseExercise(int e) {
    if (e < 1 || e > tutor::kExerciseCount) return;
    StoreOpenStep(true, e, false);
    model_.editorStep[static_cast<std::size_t>(e - 1)] = -1;
}

void TTutorDefine::OpenExercise(int e) {
    if (e < 1 || e > tutor::kExerciseCount) return;
    exercise_ = e;
    QListWidget* box = list(e);
    qobject_cast<QStackedWidget*>(box->parentWidget())->setCurrentWidget(box);
    if (box->currentRow() >= 0) ShowStepSetup(e, box->currentRow());
    UpdateCommands();
}

bool TTutorDefine::LeaveEditor(int e) {
    StoreOpenStep(true, e, true);
    return ConfirmClose();
}

bool TTutorDefine::ConfirmClose() {
    bool anySteps = false;
    for (int e = 1; e <= tutor::kExerciseCount; ++e) anySteps = anySteps || model_.StepCount(e) > 0;
    if (!model_.modified || !anySteps) return true;
    const auto answer = QMessageBox::question(
        this, text(5008, "Confirm"), text(6156, "The tutor has been changed. Do you want to save it?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return SaveTutor(false);
    if (answer == QMessageBox::No) {
        model_.modified = false;
        return true;
    }
    return false;
}

bool TTutorDefine::SaveTutor(bool withListing) {
    const Program& p = program();
    if (withListing) {
        std::array<std::string, tutor::kExerciseCount> captions;
        for (int e = 1; e <= tutor::kExerciseCount; ++e)
            captions[static_cast<std::size_t>(e - 1)] = exerciseName(e).toStdString();
        const auto listing = p.paths.programDir / "Tutorlines.txt";
        if (files::writeFileAtomically(listing, tutor::TutorLines(model_, captions)) !=
            files::WriteError::None)
            QMessageBox::warning(
                this, text(5005, "Error"),
                format(8182, "The step listing could not be written in %s.", {listing.string()}));
    }
    bool anySteps = false;
    for (int e = 1; e <= tutor::kExerciseCount; ++e) anySteps = anySteps || model_.StepCount(e) > 0;
    if (!anySteps) {
        QMessageBox::information(this, text(5007, "Information"),
                                 text(6150, "The tutor has no steps yet: there is nothing to save."));
        return true;
    }
    if (QString::fromStdString(model_.header.tutorName).trimmed().isEmpty()) {
        QMessageBox::information(this, text(5007, "Information"),
                                 text(6152, "Please give the tutor a name before it is saved."));
        if (!EditHeader(false)) return false;
    }
    QString start;
    if (!model_.fileName.empty()) {
        start = toQString(tutor::ResolveTutorPath(model_.fileName, list_.CommonDirectory));
    } else {
        std::error_code ec;
        const auto dir =
            !list_.CommonDirectory.empty() && std::filesystem::is_directory(list_.CommonDirectory, ec)
                ? list_.CommonDirectory
                : p.paths.programDir;
        const QString label = text(4372, "Tutor:");
        start = toQString(
            dir / tutor::DefaultTutorFileName(model_.header.tutorName, label.toStdString(), nameCounter_));
    }
    const QString chosen = chooseSaveFile
                               ? chooseSaveFile(start)
                               : QFileDialog::getSaveFileName(this, text(8147, "Save tutor"), start,
                                                              text(8186, "Tutor files") + " (*.tut)");
    if (chosen.isEmpty()) return false;
    if (const auto silent = tutor::SilentSteps(model_, main_.Catalogue.catalogue); !silent.empty()) {
        QString list = QStringLiteral("\n\n");
        for (const tutor::SilentStep& step : silent)
            list += exerciseName(step.exercise) + ", " + QString::number(step.step) + ": " +
                    QString::fromStdString(model_.StepOf(step.exercise, step.step)->record.stepName) + "\n";
        QMessageBox::warning(
            this, text(5007, "Information"),
            format(8188,
                   "These steps cannot ask anything with their exercise setup:%sThe tutor is saved "
                   "all the same; mend them before students use it.",
                   {(list + "\n").toStdString()}));
    }
    if (!model_.SaveTutorFile(toPath(chosen))) {
        QMessageBox::critical(this, text(5005, "Error"),
                              format(8181, "The tutor could not be saved in %s. It is kept open, unsaved.",
                                     {chosen.toStdString()}));
        return false;
    }
    ShowTitle();
    return true;
}

bool TTutorDefine::EditHeader(bool fresh) {
    TTutorheader& d = *headerDialog_;
    if (fresh) {
        const data::TUserInfo* user = main_.Store ? main_.Store->CurrentUser() : nullptr;
        d.Edit1->setText(text(8130, "New tutor"));
        d.Edit2->clear();
        d.Edit3->setText(user ? QString::fromStdString(data::DisplayName(user->record.fullName)) : QString());
    } else {
        d.Edit1->setText(QString::fromStdString(model_.header.tutorName));
        d.Edit2->setText(QString::fromStdString(model_.header.description));
        d.Edit3->setText(QString::fromStdString(model_.header.author));
    }
    if (d.exec() != QDialog::Accepted) return false;
    if (fresh) {
        StoreOpenStep(true, exercise_, true);
        if (!model_.CloseTutor()) return false;
    }
    model_.header.tutorName = d.Edit1->text().trimmed().toStdString();
    model_.header.description = d.Edit2->text().toStdString();
    model_.header.author = d.Edit3->text().trimmed().toStdString();
    if (!fresh) model_.modified = true;
    for (int e = 1; e <= tutor::kExerciseCount; ++e) Refill(e);
    ShowTitle();
    return true;
}

void TTutorDefine::NewTutor() {
    EditHeader(true);
}

void TTutorDefine::TutorProperties() {
    EditHeader(false);
}

void TTutorDefine::OpenTutor() {
    const auto name = list_.TutorListDialog(TTutorlist::Mode::Open);
    if (!name) return;
    StoreOpenStep(true, exercise_, true);
    if (!ConfirmClose()) return;
    if (!model_.LoadTutor(*name, list_.CommonDirectory))
        QMessageBox::warning(
            this, text(5005, "Error"),
            format(8180,
                   "The tutor %s could not be read: it is damaged or not a tutor file. Nothing was changed.",
                   {*name}));
    for (int e = 1; e <= tutor::kExerciseCount; ++e) Refill(e);
    ShowTitle();
    if (exercise_ >= 1 && list(exercise_)->count() > 0) {
        refilling_ = true;
        list(exercise_)->setCurrentRow(0);
        refilling_ = false;
        ShowStepSetup(exercise_, 0);
    }
    UpdateCommands();
}

void TTutorDefine::InsertSteps() {
    if (exercise_ < 1) return;
    const auto name = list_.TutorListDialog(TTutorlist::Mode::Insert);
    if (!name) return;
    if (!model_.ImportSteps(tutor::ResolveTutorPath(*name, list_.CommonDirectory), exercise_))
        QMessageBox::warning(
            this, text(5005, "Error"),
            format(8180,
                   "The tutor %s could not be read: it is damaged or not a tutor file. Nothing was changed.",
                   {*name}));
    Refill(exercise_);
}

void TTutorDefine::NewStep() {
    const int e = exercise_;
    if (e < 1) return;
    QListWidget* box = list(e);
    const int selected = box->currentRow();
    TEditTutorLevel& d = *stepDialog_;
    d.ForNewStep(selected >= 0);
    if (d.exec() != QDialog::Accepted) return;
    tutor::TTutorObject step;
    d.StoreProperties(step);
    const bool before = d.RadioButton4->isChecked() && d.RadioButton4->isEnabled();
    const int at = selected >= 0 ? (before ? selected : selected + 1) : (before ? 0 : box->count());
    if (d.RadioButton1->isChecked() && selected >= 0) {
        step.record.stepSetup = model_.StepOf(e, selected + 1)->record.stepSetup;
    } else if (d.RadioButton2->isChecked()) {
        const setup::SetupRead read = setup::readSetupFile(toPath(d.setupFile()));
        if (read.status != setup::SetupReadStatus::Loaded &&
            read.status != setup::SetupReadStatus::Converted) {
            QMessageBox::warning(
                this, text(5005, "Error"),
                text(5015, "This file is not an exercise setup of this version of Kalvintor School."));
            return;
        }
        const auto block = read.record.block(e);
        std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
    } else {
        if (SetupView* view = main_.setupView(e)) view->StoreSetup(e, main_.Setup.current);
        const auto block = main_.Setup.current.block(e);
        std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
    }
    model_.insertStep(e, at, std::move(step));
    Refill(e);
    refilling_ = true;
    box->setCurrentRow(at);
    refilling_ = false;
    ShowStepSetup(e, at);
    UpdateCommands();
}

void TTutorDefine::DeleteStep() {
    const int e = exercise_;
    if (e < 1) return;
    QListWidget* box = list(e);
    const int row = box->currentRow();
    if (row < 0) return;
    if (QMessageBox::question(this, text(5008, "Confirm"), text(6154, "Do you want to delete this step?"),
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    model_.removeStep(e, row);
    Refill(e);
    if (model_.StepCount(e) == 0) {
        model_.editorStep[static_cast<std::size_t>(e - 1)] = -1;
        return;
    }
    const int next = std::min(row, model_.StepCount(e) - 1);
    refilling_ = true;
    box->setCurrentRow(next);
    refilling_ = false;
    ShowStepSetup(e, next);
    UpdateCommands();
}

void TTutorDefine::StepProperties() {
    const int e = exercise_;
    if (e < 1) return;
    const int row = list(e)->currentRow();
    tutor::TTutorObject* step = model_.StepOf(e, row + 1);
    if (!step) return;
    stepDialog_->ForProperties(*step);
    if (stepDialog_->exec() != QDialog::Accepted) return;
    stepDialog_->StoreProperties(*step);
    model_.modified = true;
    Refill(e);
}

void TTutorDefine::MoveStep(int by) {
    const int e = exercise_;
    if (e < 1) return;
    QListWidget* box = list(e);
    const int row = box->currentRow();
    if (!model_.moveStep(e, row, row + by)) return;
    refilling_ = true;
    box->setCurrentRow(row + by);
    refilling_ = false;
    Refill(e);
}

void TTutorDefine::StepsDropped(int from, int to) {
    const int e = exercise_;
    // The list has moved its item already; the tutor follows, and the list is drawn from it.
    model_.moveStep(e, from, std::clamp(to, 0, model_.StepCount(e) - 1));
    QMetaObject::invokeMethod(
        this,
        [this, e, to] {
            refilling_ = true;
            list(e)->setCurrentRow(std::clamp(to, 0, model_.StepCount(e) - 1));
            refilling_ = false;
            Refill(e);
        },
        Qt::QueuedConnection);
}

void TTutorDefine::closeEvent(QCloseEvent* event) {
    // The close box ends editor mode as the tutor-setup button does; refused, the window stays.
    event->ignore();
    main_.SpeedButton9->setChecked(false);
    main_.Speed1Click(app::kTagTutorEditor);
}

bool TTutorDefine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        TutorProperties();
        return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        qobject_cast<QListWidget*>(watched)) {
        DeleteStep();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kalvintor::ui
