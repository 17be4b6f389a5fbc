// The tutor chooser.
#include "TChooseTutor.h"

#include "TTutorlist.h"
#include "app/ExerciseNames.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "data/UserRecord.h"
#include "language/Format.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kRowHeight = 34;
constexpr std::size_t kTutorFileRoom = 151;
const std::string kNoTutorName = "\\";
}  // namespace

TChooseTutor::TChooseTutor(tutor::TutorModel& model, TTutorlist& list, QWidget* parent)
    : QDialog(parent), model_(model), list_(list) {
    setObjectName(QStringLiteral("ChooseTutor"));
    Label8 = new QLabel(this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label9 = new QLabel(this);
    Label9->setObjectName(QStringLiteral("Label9"));
    Button1 = new QPushButton(text(8110, "Load tutor..."), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(text(8111, "Clear"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Label7 = new QLabel(text(8112, "Specify which level to work with in each exercise"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    BitBtn1 = new QPushButton(text(90, "OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(text(93, "Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* rowsBody = new QWidget;
    auto* rows = new QVBoxLayout(rowsBody);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    // Top to bottom in the order of the "Exercises" menu.
    for (int e : {3, 2, 1, 7, 10, 8, 5, 4, 6, 9}) {
        auto* row = new QWidget(rowsBody);
        row->setObjectName(QStringLiteral("Panel%1").arg(e));
        row->setFixedHeight(kRowHeight);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(style::kGap, 0, style::kGap, 0);
        const QString name = text(app::ExerciseNameText(e), app::ExerciseEnglishName(e).data());
        auto* caption = new QLabel(name, row);
        caption->setObjectName(QStringLiteral("ExerciseName%1").arg(e));
        caption->setMinimumWidth(170);
        auto* bar = new QSlider(Qt::Horizontal, row);
        bar->setObjectName(QStringLiteral("TrackBar%1").arg(e));
        bar->setAccessibleName(name);
        bar->setMinimum(1);
        bar->setPageStep(1);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setMinimumWidth(160);
        auto* step = new QLabel(row);
        step->setObjectName(QStringLiteral("StepLabel%1").arg(e));
        step->setMinimumWidth(90);
        line->addWidget(caption);
        line->addWidget(bar, 1);
        line->addWidget(step);
        connect(bar, &QSlider::valueChanged, this, [this, e] { ShowStep(e); });
        rows->addWidget(row);
        Rows[static_cast<std::size_t>(e)] = row;
        TrackBars[static_cast<std::size_t>(e)] = bar;
        StepLabels[static_cast<std::size_t>(e)] = step;
    }
    rows->addStretch(1);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(rowsBody);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->verticalScrollBar()->setAccessibleName(Label7->text());
    scroll_->horizontalScrollBar()->setAccessibleName(Label7->text());

    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* titles = new QVBoxLayout;
    titles->addWidget(Label8);
    titles->addWidget(Label9);
    head->addLayout(titles, 1);
    head->addWidget(Button1);
    head->addWidget(Button2);
    layout->addLayout(head);
    layout->addWidget(Label7);
    layout->addWidget(scroll_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] {
        const auto name = list_.TutorListDialog(TTutorlist::Mode::Open);
        if (!name) return;
        ReadSteps();
        if (!model_.LoadTutor(*name, CommonDirectory)) return;
        // Another tutor's course begins at its first steps; the same one keeps the chosen steps.
        if (*name != chosen_) steps_.fill(1);
        chosen_ = *name;
        changed_ = true;
        BuildRows(0);
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        model_.CloseTutor();
        chosen_ = kNoTutorName;
        for (QSlider* bar : TrackBars)
            if (bar) bar->setValue(1);
        changed_ = true;
        BuildRows(0);
    });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TChooseTutor::ShowStep(int e) {
    const QSlider* bar = TrackBars[static_cast<std::size_t>(e)];
    StepLabels[static_cast<std::size_t>(e)]->setText(QString::fromStdString(
        language::FormatText(text(8113, "Step %d of %d").toStdString(), {bar->value(), bar->maximum()})));
}

void TChooseTutor::ShowTitle() {
    Label8->setText(text(4372, "Tutor:") + " \"" + QString::fromStdString(model_.header.tutorName) + "\"");
    Label9->setText(text(8104, "Author:") + " \"" + QString::fromStdString(model_.header.author) + "\"");
}

void TChooseTutor::BuildRows(int exercise) {
    ShowTitle();
    int shown = 0;
    for (int e = 1; e <= tutor::kExerciseCount; ++e) {
        const int count = model_.StepCount(e);
        QWidget* row = Rows[static_cast<std::size_t>(e)];
        QSlider* bar = TrackBars[static_cast<std::size_t>(e)];
        row->setVisible(count > 0);
        if (count <= 0) continue;
        ++shown;
        const QSignalBlocker quiet(bar);
        bar->setMaximum(count);
        bar->setValue(std::clamp(steps_[static_cast<std::size_t>(e - 1)], 1, count));
        ShowStep(e);
        const bool current = e == exercise;
        auto* caption = row->findChild<QLabel*>(QStringLiteral("ExerciseName%1").arg(e));
        caption->setFont(style::uiFont(9, current ? QFont::Bold : QFont::Normal));
        caption->setStyleSheet(
            QStringLiteral("color: %1").arg((current ? style::kNavy : style::kInk).name()));
        if (current) bar->setFocus();
    }
    Label7->setVisible(shown > 0);
    // The dialog fits its rows, up to the screen's height (the rows then scroll).
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int wanted = 170 + shown * kRowHeight;
    const int limit = screen ? screen->availableGeometry().height() - 40 : wanted;
    resize(std::max(width(), 520), std::min(wanted, limit));
}

int TChooseTutor::ChooseTutorFor(data::DataStore& store, data::TUserInfo& user, int exercise) {
    setWindowTitle(QString::fromStdString(language::FormatText(
        text(4370, "Tutor profile for %s").toStdString(), {data::DisplayName(user.record.fullName)})));
    data::UserRecord& record = user.record;
    chosen_ = record.tutorFile;
    changed_ = false;
    steps_ = record.tutorStep;
    std::optional<std::string> given;
    if (FromRunner && record.tutorFile.empty())
        given = tutor::ChooseDefaultTutor(CommonDirectory, LanguageDirectory, LanguageName);
    if (given && model_.LoadTutor(*given, CommonDirectory)) {
        chosen_ = *given;
        steps_.fill(1);
        changed_ = true;
    } else if (tutor::isNoTutor(record.tutorFile) || !model_.LoadTutor(record.tutorFile, CommonDirectory)) {
        model_.CloseTutor();
    }
    BuildRows(exercise);
    if (exec() != QDialog::Accepted) return tutor::isNoTutor(record.tutorFile) ? 2 : 1;

    ReadSteps();
    data::UserRecord changed = record;
    changed.tutorStep = steps_;
    if (changed_) changed.tutorFile = chosen_.substr(0, std::min(chosen_.size(), kTutorFileRoom));
    // The user keeps what User.dat holds: a record that could not be written is not shown as his.
    if (store.SaveUser(changed)) record = changed;
    if (data::TUserInfo* current = store.CurrentUser()) store.ReloadUser(current->record);
    return tutor::isNoTutor(record.tutorFile) ? 2 : 1;
}

void TChooseTutor::ReadSteps() {
    for (int e = 1; e <= tutor::kExerciseCount; ++e)
        if (model_.StepCount(e) > 0)
            steps_[static_cast<std::size_t>(e - 1)] = TrackBars[static_cast<std::size_t>(e)]->value();
}

}  // namespace kalvintor::ui
