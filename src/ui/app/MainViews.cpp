// The main window's view switching, session clocks and results, keys, timers, metronome and tempo.
#include "MainPanels.h"
#include "MainSound.h"
#include "MainTutor.h"
#include "Program.h"
#include "TControlButton.h"
#include "TExerciseBaseClass.h"
#include "TKalvintorMain.h"
#include "TMenuDialog.h"
#include "Texts.h"
#include "app/ExerciseNames.h"
#include "app/ViewTags.h"
#include "data/SessionResult.h"
#include "records/DateTime.h"
#include "setup/SetupRecord.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QSlider>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace kalvintor::ui {

namespace {

// The exercises in the order of the "Exercises" menu, which Ctrl + 1 … 9, 0 follow.
constexpr int kMenuOrder[10] = {3, 2, 1, 7, 10, 8, 5, 4, 6, 9};

bool isRhythm(int exercise) {
    return exercise >= 4 && exercise <= 6;
}

// The exercises of the pitch exercise window: chords, intervals, inversions, scales, melody and
// progressions.
bool isPitch(int exercise) {
    return exercise == 1 || exercise == 2 || (exercise >= 7 && exercise <= 10);
}

QString exerciseCaption(int exercise) {
    if (exercise == 0) return text(31, "Overview");
    return text(app::ExerciseNameText(exercise), app::ExerciseEnglishName(exercise).data());
}

// Hours, the time separator and two-digit minutes (and seconds) of a span of days.
QString clockText(records::Duration days, bool seconds) {
    const auto total = static_cast<long long>(std::floor(days * 86400.0 + 0.5));
    const QString separator = QLocale().timeFormat(QLocale::ShortFormat).contains('.') ? "." : ":";
    QString t = QString::number(total / 3600) + separator +
                QStringLiteral("%1").arg(total / 60 % 60, 2, 10, QChar('0'));
    if (seconds) t += separator + QStringLiteral("%1").arg(total % 60, 2, 10, QChar('0'));
    return t;
}

}  // namespace

void TKalvintorMain::Speed1Click(int tag) {
    const app::ViewChoice choice = app::DecodeTag(tag, CurrentExercise, CurrentView);
    SelectView(choice.exercise, choice.view);
}

void TKalvintorMain::SelectView(int e, int v) {
    if (e < 0 || e > 10 || v < 1 || v > 4) return;
    if (!PrepareTutorRequest(e, v)) return;
    // Exercises and views whose window does not exist cannot be chosen.
    if (!ViewAvailable(e, v)) return;
    if (CurrentView == app::kViewSetup && v != CurrentView && !ConfirmLeavingSetupView()) return;
    const int oe = CurrentExercise;
    const int ov = CurrentView;
    const bool exerciseChanged = e != oe;
    const bool viewChanged = v != ov;
    const TutorRequests requests = ReadTutorRequests();

    if (exerciseChanged && oe == 0 && menu_) menu_->StopIntro();

    if (ov == app::kViewExercise) {
        LeaveExerciseView(oe, exerciseChanged, viewChanged);
    } else if (ov == app::kViewSetup) {
        // The setup view's values become the setup in force; leaving the view makes them the
        // saved copy and applies them to every exercise.
        if (viewChanged)
            Setup.LeaveSetupView();
        else if (SetupView* view = setupView(oe))
            view->StoreSetup(oe, Setup.current);
    }
    if (!LeaveTutorModes(requests, oe, e)) return;
    TutorEditorActive = requests.editor;
    TutorActive = requests.tutor;
    Settings.startInTutorMode = TutorActive;

    CurrentView = v;
    CurrentExercise = e;
    sound_->midiOut().SetNotifyContext({SettingsDialogOpen, static_cast<std::uint8_t>(e)});

    if (exerciseChanged) {
        Label3->setText(exerciseCaption(e));
        if (e != 0) exerciseButtons_[static_cast<std::size_t>(e)]->setChecked(true);
        if (e == 0) {
            // No exercise button stays down on the start menu.
            exerciseGroup_->setExclusive(false);
            if (QAbstractButton* down = exerciseGroup_->checkedButton()) down->setChecked(false);
            exerciseGroup_->setExclusive(true);
            Label1->clear();
            Timer1.start();
            ShowExerciseTime();
            for (int panel : {kPanelScore, kPanelTempo, kPanelExtras}) ShowToolPanel(panel, false);
        }
    }

    if (v == app::kViewSetup) {
        EnterSetupView(e, viewChanged);
    } else if (v == app::kViewResults || v == app::kViewUserOverview) {
        EnterInfoView(e, v);
    } else if (e != 0) {
        EnterExerciseView(e);
    } else if (menu_) {
        ShowMaximized(menu_);
    }
    const std::array<QToolButton*, 4> viewButtons{SpeedButton1, RunKonfig, SpeedButton5, SpeedButton11};
    viewButtons[static_cast<std::size_t>(v - 1)]->setChecked(true);
    Overview->setEnabled(true);
    UpdateViewButtons();
    EnterTutorModes(requests, exerciseChanged);
}

bool TKalvintorMain::ViewAvailable(int e, int v) const {
    if (v == app::kViewExercise) return e == 0 || ExerciseAvailable(e);
    if (e == 0) return false;
    if (v == app::kViewSetup) return setupViews_[static_cast<std::size_t>(e)] != nullptr;
    const auto info = static_cast<std::size_t>(v - app::kViewResults);
    return infoViews_[info] != nullptr || infoMakers_[info] != nullptr;
}

void TKalvintorMain::LeaveExerciseView(int oe, bool exerciseChanged, bool viewChanged) {
    if (isRhythm(oe)) exercises_[static_cast<std::size_t>(oe)]->StopPlaying();
    StopActiveClock(oe);
    if (viewChanged) {
        Overview->setEnabled(false);
        Metro->setEnabled(false);
        SpeedButton12->setEnabled(false);
        SpeedButton3->setEnabled(false);
        Label7->hide();
        for (int panel = kPanelMetronome; panel < kPanelCount; ++panel) ShowToolPanel(panel, false);
    }
    if ((exerciseChanged || viewChanged) && oe != 0)
        exercises_[static_cast<std::size_t>(oe)]->LeaveExercise();
    AnswerbuttonBlink.stop();
    LightDisplaytime.stop();
}

void TKalvintorMain::EnterSetupView(int e, bool viewChanged) {
    SetupView* view = setupView(e);
    if (viewChanged) Setup.savedCopy = Setup.current;
    view->LoadSetup(e, Setup.current);
    ShowMaximized(view->widget());
    Label1->setText(text(44, "Exercise setup"));
}

void TKalvintorMain::EnterInfoView(int e, int v) {
    if (v == app::kViewResults) {
        Label1->setText(text(46, "Results"));
        // The session so far is shown with the stored results, as a session-only record.
        const std::uint16_t answered = ExercisesWithQuestions(0x3FF, 1);
        if (answered != 0)
            SaveSessionResults(answered, TutorActive, true);
        else
            SessionResults[static_cast<std::size_t>(e)] = data::TResultInfo{};
    } else {
        Label1->setText(text(47, "User overview"));
    }
    InfoView* view = infoView(v);
    view->ShowView(e);
    ShowMaximized(view->widget());
}

void TKalvintorMain::EnterExerciseView(int e) {
    TExerciseBaseClass* window = exerciseWindow(e);
    StartActiveClock(e);
    ShowMaximized(window);
    Label1->setText(text(42, "Exercise"));
    ShowToolPanel(kPanelTutor, TutorActive);
    for (int panel : {kPanelScore, kPanelTempo, kPanelExtras}) ShowToolPanel(panel, true);
    window->EnterExercise();
    const bool pitchInput = e == 1 || e == 2 || e == 7 || e == 8 || e == 9;
    SpeedButton3->setEnabled(pitchInput || e == 4 || e == 5);
    const bool metronome = HasMetronome(e);
    Metro->setEnabled(metronome);
    SpeedButton12->setEnabled(metronome);
    ShowToolPanel(kPanelMetronome,
                  (metronome && SpeedButton12->isChecked()) || (pitchInput && SpeedButton3->isChecked()));
    Label7->show();
    LayOutScorePanel();
    ShowExerciseTime();
    SetTempoTrackBar();
    if (Settings.midiInputEnabled) sound_->router().RouteMidiInput(static_cast<std::uint8_t>(e));
    MIDIin->setChecked(Settings.midiInputEnabled);
    // Detection restarts for this exercise while the microphone button stays down.
    if (SpeedButton3->isEnabled() && SpeedButton3->isChecked()) MicrophoneClick(true);
    window->setFocus(Qt::OtherFocusReason);
}

void TKalvintorMain::UpdateViewButtons() {
    const int e = CurrentExercise;
    RunKonfig->setEnabled(AccessRights[0] && ViewAvailable(e, app::kViewSetup));
    SpeedButton5->setEnabled(AccessRights[4] && ViewAvailable(e, app::kViewResults));
    SpeedButton11->setEnabled(AccessRights[5] && ViewAvailable(e, app::kViewUserOverview));
}

bool TKalvintorMain::HasMetronome(int exercise) const {
    if (isRhythm(exercise)) return true;
    return exercise == 9 && Setup.current.melodyBlock().rhythm != 0;
}

void TKalvintorMain::StartActiveClock(int exercise) {
    if (TExerciseBaseClass* window = exerciseWindow(exercise)) {
        window->StartActiveClock(records::nowLocal());
        Timer1.start();
    }
}

void TKalvintorMain::StopActiveClock(int exercise) {
    if (TExerciseBaseClass* window = exerciseWindow(exercise)) {
        window->StopActiveClock(records::nowLocal());
        Timer1.stop();
    }
}

void TKalvintorMain::ShowExerciseTime() {
    const TExerciseBaseClass* window = exerciseWindow(CurrentExercise);
    if (CurrentView != app::kViewExercise || window == nullptr) {
        Label7->clear();
        return;
    }
    Label7->setText(clockText(window->OpenTime(records::nowLocal()), false));
}

void TKalvintorMain::RestartSession(int exercise) {
    for (int e = 1; e <= 10; ++e) {
        if ((exercise == 0 || exercise == e) && exercises_[static_cast<std::size_t>(e)])
            exercises_[static_cast<std::size_t>(e)]->RestartSession();
    }
    if (CurrentView == app::kViewExercise || TutorActive) {
        StartActiveClock(CurrentExercise);
        ShowExerciseTime();
    }
}

std::uint16_t TKalvintorMain::ExercisesWithQuestions(std::uint16_t mask, int minimum) const {
    std::array<std::int32_t, 10> counts{};
    for (int e = 1; e <= 10; ++e) {
        if (const TExerciseBaseClass* window = exercises_[static_cast<std::size_t>(e)])
            counts[static_cast<std::size_t>(e - 1)] = window->QuestionCount;
    }
    return data::ExercisesWithQuestions(mask, minimum, counts);
}

void TKalvintorMain::SaveSessionResults(std::uint16_t mask, bool tutor, bool sessionOnly) {
    for (int e = 1; e <= 10; ++e) {
        if ((mask & (1u << (e - 1))) != 0) SaveSessionResult(e, tutor, sessionOnly);
    }
}

void TKalvintorMain::SaveSessionResult(int exercise, bool tutor, bool sessionOnly) {
    TExerciseBaseClass* window = exerciseWindow(exercise);
    if (window == nullptr) return;
    if (CurrentView == app::kViewExercise || TutorActive) {
        // The time so far is booked; the clock goes on while the view stays open.
        StopActiveClock(exercise);
        if (CurrentView == app::kViewExercise && exercise == CurrentExercise) StartActiveClock(exercise);
    }
    if (window->SessionStart < 1.0) return;
    data::SessionSource source;
    source.userId = UserId;
    source.exercise = exercise;
    source.clocks = window;
    source.tutor = tutor;
    source.setupName = setup::displayName(Setup.setupName);
    if (tutor) FillTutorResult(exercise, source);
    const data::ResultRecord record = data::MakeSessionResult(source);
    if (sessionOnly) {
        SessionResults[static_cast<std::size_t>(exercise)].record = data::SessionOnlyResult(record);
    } else if (Store != nullptr) {
        UnsavedResults.push_back(record);
        while (!data::AppendKeptResults(*Store, UnsavedResults)) {
            const QString why = QString::fromStdString(Store->describe(Store->LastError()));
            if (QMessageBox::warning(this, text(5005, "Error"),
                                     text(7010,
                                          "The results of this session could not be saved. They are kept and "
                                          "saved with the next results; press Retry to try again now.") +
                                         "\n\n" + why,
                                     QMessageBox::Retry | QMessageBox::Cancel) != QMessageBox::Retry)
                break;
        }
    }
}

void TKalvintorMain::ApplySetupAll(bool resetResults) {
    for (int e = 1; e <= 10; ++e) {
        if (TExerciseBaseClass* window = exercises_[static_cast<std::size_t>(e)])
            window->ApplySetup(resetResults);
    }
    SetTempoTrackBar();
}

void TKalvintorMain::ShowSetupName(const QString& name) {
    setupCaption_ = name;
    for (int e = 1; e <= 10; ++e) {
        if (TExerciseBaseClass* window = exercises_[static_cast<std::size_t>(e)])
            window->setWindowTitle(name);
    }
    UpdateCaption();
}

void TKalvintorMain::startAutoNewQuestTimer() {
    AutoNewQuestTimer.start(Settings.autoNewQuestionDelay * 1000 + 100);
}

void TKalvintorMain::SetTempoTrackBar() {
    int tempo = Settings.pitchTempo;
    if (isRhythm(CurrentExercise)) tempo = Setup.current.rhythmBlock(CurrentExercise).tempo;
    TrackBar1->setValue(tempo);
    TempoChanged(TrackBar1->value());
}

void TKalvintorMain::TempoChanged(int tempo) {
    Label8->setText(QStringLiteral("= %1").arg(tempo));
    sound_->sequencer.SeqSetTempo(tempo);
    if (CurrentExercise != 0 && !isRhythm(CurrentExercise))
        Settings.pitchTempo = static_cast<std::uint8_t>(std::clamp(tempo, 0, 255));
    if (isRhythm(CurrentExercise)) {
        for (int e : {4, 5, 6})
            if (TExerciseBaseClass* window = exerciseWindow(e)) window->TempoChanged(tempo);
    }
}

void TKalvintorMain::MetroClick(bool fromUser) {
    if (fromUser) Settings.metronomePlaying = !Settings.metronomePlaying;
    Metro->setChecked(Settings.metronomePlaying);
    sound_->sequencer.SeqSetMetronome(Metro->isChecked());
}

void TKalvintorMain::VisualMetronomeClick(bool fromUser) {
    if (fromUser) Settings.visualMetronome = !Settings.visualMetronome;
    SpeedButton12->setChecked(Settings.visualMetronome);
    if (CurrentView == app::kViewExercise && CurrentExercise != 0)
        ShowToolPanel(kPanelMetronome, HasMetronome(CurrentExercise) && Settings.visualMetronome);
}

void TKalvintorMain::DrawVisualMetronome(int beat, int beats) {
    if (!ToolWindow(kPanelMetronome)->isVisible()) return;
    PaintBox2->ShowFrame(
        app::DrawVisualMetronome(beat, beats, PaintBox2->width(), PaintBox2->height(), pictureFlag_));
}

bool TKalvintorMain::HandleKeyDown(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    TExerciseBaseClass* window =
        CurrentView == app::kViewExercise ? exerciseWindow(CurrentExercise) : nullptr;

    if (key == Qt::Key_F1 && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
        ContextHelp();
        return true;
    }
    if (mods == Qt::ControlModifier && key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int n = key == Qt::Key_0 ? 10 : key - Qt::Key_0;
        Speed1Click(kMenuOrder[n - 1]);
        return true;
    }
    if (mods == Qt::ShiftModifier && CurrentExercise != 0) {
        // Shift + 1 … 4 arrive as the shifted characters on most layouts: use the key codes.
        static const std::pair<int, int> viewKeys[] = {
            {Qt::Key_Exclam, 1},   {Qt::Key_1, 1},          {Qt::Key_At, 2}, {Qt::Key_2, 2},
            {Qt::Key_QuoteDbl, 2}, {Qt::Key_NumberSign, 3}, {Qt::Key_3, 3},  {Qt::Key_section, 3},
            {Qt::Key_Dollar, 4},   {Qt::Key_4, 4}};
        for (const auto& [code, view] : viewKeys) {
            if (key == code) {
                Speed1Click(app::MakeTag(view, 0));
                return true;
            }
        }
    }
    if (key == Qt::Key_Escape) {
        // Escape ends a running tutor; otherwise it leads to the overview.
        if (TutorActive) SpeedButton10->setChecked(false);
        Speed1Click(TutorActive ? app::kTagTutor : app::kTagOverview);
        return true;
    }
    if (window == nullptr) return false;
    TControlButton* buttons = window->ControlButton;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && buttons->hasFocus() && buttons->FocusIndex >= 0) {
        if (!event->isAutoRepeat()) buttons->PressButton(buttons->FocusIndex);
        return true;
    }
    if (key >= Qt::Key_F5 && key <= Qt::Key_F9) {
        if (!event->isAutoRepeat()) buttons->PressButton(key - Qt::Key_F5);
        return true;
    }
    return false;
}

bool TKalvintorMain::HandleKeyUp(QKeyEvent* event) {
    const int key = event->key();
    TExerciseBaseClass* window =
        CurrentView == app::kViewExercise ? exerciseWindow(CurrentExercise) : nullptr;
    if (window == nullptr || event->isAutoRepeat()) return false;
    const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) && window->ControlButton->hasFocus();
    if (enter || (key >= Qt::Key_F5 && key <= Qt::Key_F9)) {
        window->ControlButtonUpAction();
        return true;
    }
    return false;
}

void TKalvintorMain::Timer1Tick() {
    if (RepaintButtonsOf != 0) {
        if (TExerciseBaseClass* window = exerciseWindow(RepaintButtonsOf)) window->ControlButton->update();
        RepaintButtonsOf = 0;
    }
    ShowExerciseTime();
}

void TKalvintorMain::AutoNewQuestTick() {
    if (CurrentView != app::kViewExercise) return;
    if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise)) window->AutoNewQuestTimerTimer();
}

void TKalvintorMain::AnswerBlinkTick() {
    if (CurrentView != app::kViewExercise) return;
    const int e = CurrentExercise;
    if (e == 3 || isPitch(e)) {
        if (TExerciseBaseClass* window = exerciseWindow(e)) window->AnswerButtonBlink();
    }
}

void TKalvintorMain::LightDisplayTick() {
    if (CurrentView != app::kViewExercise || !isPitch(CurrentExercise)) return;
    if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise)) window->LightDisplayStep();
}

bool TKalvintorMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label7 && event->type() == QEvent::HoverMove) {
        if (const TExerciseBaseClass* window = exerciseWindow(CurrentExercise); window && CurrentView == 1)
            Label7->setToolTip(clockText(window->OpenTime(records::nowLocal()), true));
    } else if (Label15 && watched == Label15->parentWidget() && event->type() == QEvent::Resize) {
        LayOutScorePanel();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kalvintor::ui
