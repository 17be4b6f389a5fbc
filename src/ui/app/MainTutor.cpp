// The main window's tutor mode and tutor-editor mode: starting and leaving them, the steps in
// force, the step information, the end of a step and the progress panel.
#include "MainTutor.h"
#include "MainStartup.h"
#include "Program.h"
#include "TExerciseBaseClass.h"
#include "TKalvintorMain.h"
#include "Texts.h"
#include "app/AccessLevels.h"
#include "app/ViewTags.h"
#include "language/Format.h"
#include "tutor/Course.h"
#include "tutor/StepCheck.h"
#include "tutor/TChooseTutor.h"
#include "tutor/TEndTutorStep.h"
#include "tutor/TTutorDefine.h"
#include "tutor/TTutorStepInfo.h"
#include "tutor/TTutorlist.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

QString format(int id, const char* english, const std::vector<language::FormatArgument>& arguments) {
    return QString::fromStdString(language::FormatText(text(id, english).toStdString(), arguments));
}

std::filesystem::path commonDirectoryOf(const data::DataStore* store) {
    return store ? toPath(QString::fromStdString(store->Common.commonDirectory)) : std::filesystem::path();
}

// Keeps a menu item as enabled as the tool button it stands for, so that its shortcut works
// whenever the button does, whether or not the menu was opened since.
class EnabledMirror final : public QObject {
public:
    EnabledMirror(QWidget* button, QAction* item) : QObject(item), item_(item) {
        button->installEventFilter(this);
        item->setEnabled(button->isEnabled());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            item_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QAction* item_;
};

}  // namespace

MainTutor& TKalvintorMain::tutor() {
    if (!tutor_) {
        tutor_ = std::make_unique<MainTutor>(Catalogue.catalogue);
        MainTutor& t = *tutor_;
        t.list = new TTutorlist(this);
        t.chooser = new TChooseTutor(t.model, *t.list, this);
        t.info = new TTutorStepInfo(this);
        t.end = new TEndTutorStep(this);
        t.editor = new TTutorDefine(*this, t.model, *t.list);
        t.model.confirmClose = [editor = t.editor] { return editor->ConfirmClose(); };
    }
    // The folders follow the data directory and the language of the moment.
    MainTutor& t = *tutor_;
    t.list->CommonDirectory = commonDirectoryOf(Store);
    t.list->ProgramDirectory = program().paths.programDir;
    t.chooser->CommonDirectory = t.list->CommonDirectory;
    t.chooser->LanguageDirectory = program().paths.languageDir;
    t.chooser->LanguageName = Settings.language;
    return t;
}

void TKalvintorMain::AddTutorMenuItems(QMenu* file) {
    auto* run = new QAction(text(16, "Tutor"), file);
    run->setObjectName(QStringLiteral("Activatetutor1"));
    run->setShortcut(Qt::Key_F4);
    run->setCheckable(true);
    bindCaption(run, 16);
    connect(run, &QAction::triggered, this, [this] {
        if (!SpeedButton10->isEnabled()) return;
        SpeedButton10->setChecked(!SpeedButton10->isChecked());
        Speed1Click(app::kTagTutor);
    });
    auto* edit = new QAction(text(17, "Tutor editor"), file);
    edit->setObjectName(QStringLiteral("Tutoreditor2"));
    edit->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    edit->setCheckable(true);
    bindCaption(edit, 17);
    connect(edit, &QAction::triggered, this, [this] {
        if (!SpeedButton9->isEnabled()) return;
        if (CurrentExercise == 0) Speed1Click(1);
        SpeedButton9->setChecked(!SpeedButton9->isChecked());
        Speed1Click(app::kTagTutorEditor);
    });
    file->addAction(run);
    file->addAction(edit);
    new EnabledMirror(SpeedButton10, run);
    new EnabledMirror(SpeedButton9, edit);
    connect(file, &QMenu::aboutToShow, this, [this, run, edit] {
        run->setVisible(AccessRights[app::kRightTutor]);
        run->setChecked(TutorActive);
        edit->setVisible(AccessRights[app::kRightTutorEditor]);
        edit->setChecked(TutorEditorActive);
    });
}

bool TKalvintorMain::PrepareTutorRequest(int& e, int v) {
    // The editor works beside the setup view only; the tutor only on exercises that have steps.
    if (TutorEditorActive && SpeedButton9->isChecked() && v != app::kViewSetup) return false;
    if (SpeedButton9->isChecked() && !TutorEditorActive) {
        if (e == 0) e = 1;
        if (!ViewAvailable(e, app::kViewSetup)) {
            SpeedButton9->setChecked(false);
            return false;
        }
    }
    if (TutorActive && SpeedButton10->isChecked() && e != 0 && tutor_ && tutor_->model.StepCount(e) == 0)
        return false;
    return true;
}

TutorRequests TKalvintorMain::ReadTutorRequests() const {
    TutorRequests r;
    r.editor = SpeedButton9->isChecked();
    r.editorStarting = r.editor && !TutorEditorActive;
    // A user who had his tutor running when he left goes on with it.
    const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    const bool resume = Settings.startInTutorMode && !TutorActive && !Guest &&
                        AccessRights[app::kRightTutor] && user && !tutor::isNoTutor(user->record.tutorFile);
    r.tutor = (SpeedButton10->isChecked() || resume) && !r.editor;
    r.tutorStarting = r.tutor && !TutorActive;
    return r;
}

bool TKalvintorMain::TutorMaterialInForce() const {
    return tutor_ && tutor_->backup.catalogueReplaced;
}

void TKalvintorMain::RestoreTutorCatalogue() {
    if (!tutor_ || !tutor_->backup.catalogueReplaced) return;
    // The user's own entries come back, and a later tutor backs up what is current then, so that
    // edits made between two tutors are never undone by an old copy.
    Catalogue.catalogue.tables = tutor_->backup.tables.tables;
    tutor_->backup.catalogueReplaced = false;
}

bool TKalvintorMain::LeaveTutorModes(const TutorRequests& r, int oe, int e) {
    if (!r.tutor && TutorActive) {
        Setup.current = Setup.savedCopy;
        RestoreTutorCatalogue();
        SpeedButton10->setChecked(false);
        SpeedButton2->setEnabled(true);
        SpeedButton9->setEnabled(Access.command(app::Command::TutorEditor).enabled);
        for (int x = 1; x <= 10; ++x)
            if (QToolButton* b = exerciseButton(x)) b->setEnabled(ExerciseAvailable(x));
        Label2->clear();
        Label6->clear();
        ShowToolPanel(kPanelTutor, false);
        ApplySetupAll(false);
        for (int x = 1; x <= 10; ++x)
            if (TExerciseBaseClass* w = exerciseWindow(x)) w->ResetExercise();
        RestartSession(0);
        ShowSetupName(QString::fromStdString(setup::displayName(Setup.setupName)));
    }
    if (TutorEditorActive && r.editor && e != oe) tutor().editor->CloseExercise(oe);
    if (!r.editor && TutorEditorActive) {
        TTutorDefine& editor = *tutor().editor;
        if (!editor.LeaveEditor(oe)) {
            SpeedButton9->setChecked(true);
            Speed1Click(app::kTagTutorEditor);
            return false;
        }
        RestoreTutorCatalogue();
        Setup.current = Setup.savedCopy;
        if (SetupView* view = setupView(oe)) view->LoadSetup(oe, Setup.current);
        ApplySetupAll(false);
        ShowSetupName(QString::fromStdString(setup::displayName(Setup.setupName)));
        SpeedButton10->setEnabled(Access.command(app::Command::Tutor).enabled);
        SpeedButton1->setEnabled(true);
        for (int x = 1; x <= 10; ++x)
            if (QToolButton* b = exerciseButton(x)) b->setEnabled(ExerciseAvailable(x));
        editor.hide();
    }
    return true;
}

void TKalvintorMain::EnterTutorModes(const TutorRequests& r, bool exerciseChanged) {
    bool started = false;
    if (r.tutorStarting) {
        MainTutor& t = tutor();
        data::TUserInfo* user = Store && !Guest ? Store->CurrentUser() : nullptr;
        const auto common = commonDirectoryOf(Store);
        const auto open = [&] {
            return user &&
                   tutor::OpenUserTutor(t.model, user->record.tutorFile, common, user->record.tutorStep);
        };
        bool obtained = open();
        const bool mayChoose = user && AccessRights[app::kRightChooseTutor];
        if (!obtained && mayChoose) {
            t.chooser->FromRunner = true;
            Store->setSelectedUser(user);
            if (t.chooser->ChooseTutorFor(*Store, *user, CurrentExercise) == 1) obtained = open();
        }
        bool hasSteps = false;
        for (int x = 1; x <= 10; ++x)
            hasSteps = hasSteps || (t.model.StepCount(x) > 0 && ExerciseAvailable(x));
        if (obtained && !hasSteps) {
            QMessageBox::information(
                this, text(5007, "Information"),
                format(8183, "The tutor %s has no steps to work with. Ask your teacher for another tutor.",
                       {user->record.tutorFile}));
        } else if (!obtained && !mayChoose) {
            QMessageBox::information(
                this, text(5007, "Information"),
                text(4340, "You have no tutor to work with. Ask your teacher to give you one."));
        }
        if (!obtained || !hasSteps) {
            SpeedButton10->setChecked(false);
            Speed1Click(app::MakeTag(app::kViewExercise, 0));
            return;
        }
        ShowSetupName(text(16, "Tutor"));
        SpeedButton10->setChecked(true);
        const std::uint16_t answered = ExercisesWithQuestions(0x3FF, 5);
        if (answered != 0 &&
            QMessageBox::question(this, text(5008, "Confirm"),
                                  text(98, "Do you want to save the results of this session?"),
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            SaveSessionResults(answered, false, false);
        RestartSession(0);
        ShowToolPanel(kPanelTutor, true);
        Label1->setText(text(16, "Tutor"));
        started = true;
        if (!EnableTutorExercises()) return;  // another exercise was chosen, with its step shown
    }
    if (TutorActive) {
        SpeedButton2->setEnabled(false);
        Overview->setEnabled(false);
        RunKonfig->setEnabled(false);
        SpeedButton9->setEnabled(false);
        SpeedButton11->setEnabled(false);
        if (CurrentView == app::kViewExercise) Label1->setText(text(16, "Tutor"));
    }
    if (TutorActive && (exerciseChanged || started) && CurrentExercise != 0) {
        ApplyTutorStepsNow(CurrentExercise);
        if (ShowStepInfo() != QDialog::Accepted) return;
        ApplyTutorStepsNow(0);
        if (TExerciseBaseClass* w = exerciseWindow(CurrentExercise)) {
            w->setFocus(Qt::OtherFocusReason);
            w->update();
        }
        showTutorProgress();
    }
    if (TutorEditorActive) {
        TTutorDefine& editor = *tutor().editor;
        if (r.editorStarting) {
            for (int x = 1; x <= 10; ++x)
                if (QToolButton* b = exerciseButton(x)) b->setEnabled(setupView(x) != nullptr);
            for (QToolButton* b : {SpeedButton1, SpeedButton5, SpeedButton11, SpeedButton10, Overview})
                b->setEnabled(false);
            Label1->setText(text(17, "Tutor editor"));
            editor.StartEditor(CurrentExercise);
            // The main window makes room for the editor at the right of the screen.
            if (const QScreen* s = screen(); s && isMaximized()) {
                const QRect area = s->availableGeometry();
                showNormal();
                setGeometry(area.left(), area.top(), std::max(area.width() - editor.width(), 640),
                            area.height());
            }
        } else if (exerciseChanged) {
            editor.OpenExercise(CurrentExercise);
        }
        SpeedButton5->setEnabled(false);
        SpeedButton11->setEnabled(false);
        Overview->setEnabled(false);
        editor.setWindowTitle(text(17, "Tutor editor") + " - " + Label3->text());
    }
}

bool TKalvintorMain::LeaveTutorEditorForClose() {
    return tutor().editor->LeaveEditor(CurrentExercise);
}

void TKalvintorMain::EndTutorModes() {
    if (!TutorActive && !TutorEditorActive) return;
    SpeedButton10->setChecked(false);
    SpeedButton9->setChecked(false);
    Speed1Click(TutorEditorActive ? app::kTagTutorEditor : app::kTagTutor);
}

void TKalvintorMain::ApplyTutorStepsNow(int exercise) {
    const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    if (!user || !tutor_) return;
    tutor::ApplyTutorSteps(tutor_->model, user->record.tutorStep, exercise, Setup.current);
    ApplySetupAll(false);
}

bool TKalvintorMain::EnableTutorExercises() {
    const tutor::TutorModel& model = tutor().model;
    // Without a current exercise the course begins where the tool bar and the chooser begin.
    int first = 0;
    for (int e : {3, 2, 1, 7, 10, 8, 5, 4, 6, 9}) {
        const bool steps = model.StepCount(e) > 0 && exerciseWindow(e) != nullptr;
        if (QToolButton* b = exerciseButton(e)) b->setEnabled(steps);
        if (steps && first == 0) first = e;
        if (steps) exerciseWindow(e)->ResetExercise();
    }
    showTutorProgress();
    if (CurrentExercise == 0 || model.StepCount(CurrentExercise) == 0) {
        SelectView(first, app::kViewExercise);
        return false;
    }
    return true;
}

int TKalvintorMain::ShowStepInfo() {
    MainTutor& t = tutor();
    const int e = CurrentExercise;
    const auto fill = [this, &t, e] {
        const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
        const int step = user && e >= 1 ? user->record.tutorStep[static_cast<std::size_t>(e - 1)] : 0;
        const tutor::TTutorObject* found = t.model.StepOf(e, step);
        QString hint = found ? QString::fromStdString(found->fullHint()) : QString();
        // A step that cannot ask anything is said to be so rather than left to look broken.
        if (found && !tutor::StepAsksSomething(e, *found, Catalogue.catalogue))
            hint +=
                (hint.isEmpty() ? "" : "\n\n") +
                text(8187,
                     "This step's exercise setup has nothing to ask. Ask your teacher to mend the tutor.");
        t.info->Fill(Label3->text(), step, QString::fromStdString(t.model.header.tutorName),
                     found ? QString::fromStdString(found->record.stepName) : QString(), hint,
                     found != nullptr, AccessRights[app::kRightChooseTutor]);
        showTutorProgress();
    };
    bool cleared = false;
    t.info->changeStep = [this, &t, &cleared, fill, e] {
        data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
        if (!user) return;
        Store->setSelectedUser(user);
        t.chooser->FromRunner = true;
        t.chooser->ChooseTutorFor(*Store, *user, e);
        if (tutor::isNoTutor(t.chooser->chosenTutor())) {
            cleared = true;
            t.info->done(tutor::kEndTutor);
            return;
        }
        // The chooser may have loaded another tutor: the one of the user's record is in force.
        tutor::OpenUserTutor(t.model, user->record.tutorFile, commonDirectoryOf(Store),
                             user->record.tutorStep);
        if (t.model.StepCount(e) == 0) {
            // This exercise has no steps in the new tutor: another one is chosen once this closes.
            t.info->accept();
            QTimer::singleShot(0, this, [this] { EnableTutorExercises(); });
            return;
        }
        if (t.chooser->tutorChanged()) EnableTutorExercises();
        ApplyTutorStepsNow(e);
        fill();
    };
    fill();
    const int result = t.info->exec();
    t.info->changeStep = nullptr;
    if (cleared) {
        SpeedButton10->setChecked(false);
        Speed1Click(app::kTagTutor);
    }
    return result;
}

void TKalvintorMain::showTutorProgress() {
    const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    const int e = CurrentExercise;
    const TExerciseBaseClass* window = exerciseWindow(e);
    const int step = user && e >= 1 ? user->record.tutorStep[static_cast<std::size_t>(e - 1)] : 0;
    const tutor::TTutorObject* found = TutorActive && tutor_ ? tutor_->model.StepOf(e, step) : nullptr;
    if (!found || !window) {
        Label6->clear();
        Label2->clear();
        return;
    }
    const int asked = window->QuestionCount + (window->Answered ? 0 : 1);
    Label6->setText(format(4306, "Question %d of %d", {asked, found->record.stepQuestions}));
    Label2->setText(
        format(4304, "Step %d of %d", {step, tutor_->model.StepCount(e)}) + ": \"" +
        format(4307, "%s in %s", {found->record.stepName + "\"", tutor_->model.header.tutorName}));
}

bool TKalvintorMain::checkTutorStepEnd() {
    if (!TutorActive || !tutor_) return false;
    const int e = CurrentExercise;
    TExerciseBaseClass* window = exerciseWindow(e);
    data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    if (!window || !user) return false;
    const tutor::TutorSteps& steps = user->record.tutorStep;
    if (window->QuestionCount < tutor::StepQuestions(tutor_->model, steps, e)) return false;

    window->StopPlaying();
    const int score = tutor::StepScore(e, window->CorrectCount, window->QuestionCount);
    if (window->QuestionCount >= 5)
        SaveSessionResults(static_cast<std::uint16_t>(1u << (e - 1)), true, false);
    RestartSession(e);

    const int step = steps[static_cast<std::size_t>(e - 1)];
    const tutor::TTutorObject* found = tutor_->model.StepOf(e, step);
    const tutor::StepJudgement judgement =
        tutor::JudgeStep(score, step, tutor_->model.StepCount(e), found ? found->record.upgradePercent : 90,
                         found ? found->record.downgradePercent : 55, &program().language);
    tutor_->end->Fill(judgement);
    const int result = tutor_->end->exec();
    // Any other end of the dialog than its three buttons ends the tutor.
    const bool goesOn =
        result == tutor::kPreviousStep || result == tutor::kStay || result == tutor::kNextStep;
    if (!goesOn) {
        SpeedButton10->setChecked(false);
        Speed1Click(app::kTagTutor);
        window->ResetExercise();
        return true;
    }
    user->record.tutorStep[static_cast<std::size_t>(e - 1)] = tutor::stepAfter(result, step);
    Store->SaveUser(user->record);
    ApplyTutorStepsNow(e);
    ShowStepInfo();
    window->ResetExercise();
    showTutorProgress();
    return true;
}

void TKalvintorMain::FillTutorResult(int exercise, data::SessionSource& source) const {
    const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    if (!tutor_ || !user || exercise < 1 || exercise > 10) return;
    const int step = user->record.tutorStep[static_cast<std::size_t>(exercise - 1)];
    source.tutorTitle = tutor_->model.header.tutorName;
    const tutor::TTutorObject* found = tutor_->model.StepOf(exercise, step);
    source.stepName = found ? found->record.stepName : std::string();
    source.step = static_cast<std::uint16_t>(std::max(step, 0));
}

}  // namespace kalvintor::ui
