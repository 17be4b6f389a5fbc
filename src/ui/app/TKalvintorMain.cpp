// Creation, first show, destruction and the message handling of the main window.
#include "TKalvintorMain.h"

#include "MachineSettingsFile.h"
#include "MainSound.h"
#include "MainStartup.h"
#include "MainTutor.h"
#include "Program.h"
#include "Style.h"
#include "TControlButton.h"
#include "TExerciseBaseClass.h"
#include "THelpWindow.h"
#include "TMenuDialog.h"
#include "TVelkommen.h"
#include "Texts.h"
#include "app/Clock.h"
#include "app/MachineSettings.h"
#include "app/ViewTags.h"
#include "settings/TProgramSettings.h"
#include "sound/NotifyRouting.h"
#include "theory/ChordCatalogue.h"
#include "theory/Naming.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>

namespace kalvintor::ui {

QString programDirectory() {
    return toQString(programInstallation().programDir);
}

namespace {

// Hands received MIDI input to the exercise windows' control buttons and MidiInput.
class ExerciseControlsOf final : public sound::ExerciseControls {
public:
    explicit ExerciseControlsOf(TExerciseBaseClass& window) : window_(window) {}
    int FocusedButton() const override;
    bool ButtonEnabled(int index) const override;
    void PressButton(int index) override;
    void ControlButtonUpAction() override { window_.ControlButtonUpAction(); }
    void CompleteAnswer() override { window_.CompleteAnswer(); }
    void MidiInput(std::uint32_t message) override { window_.MidiInput(message); }

private:
    TExerciseBaseClass& window_;
};

int ExerciseControlsOf::FocusedButton() const {
    const TControlButton* buttons = window_.ControlButton;
    return buttons->hasFocus() ? buttons->FocusIndex : -1;
}

bool ExerciseControlsOf::ButtonEnabled(int index) const {
    return index >= 0 && index < TControlButton::kButtons &&
           window_.ControlButton->ButtonEnabled[static_cast<std::size_t>(index)];
}

void ExerciseControlsOf::PressButton(int index) {
    window_.ControlButton->PressButton(index);
}

class Receivers final : public sound::MidiInputReceivers {
public:
    explicit Receivers(TKalvintorMain& main) : main_(main) {}
    sound::ExerciseControls* Exercise(std::uint8_t number) override {
        TExerciseBaseClass* window = main_.exerciseWindow(number);
        if (window == nullptr) return nullptr;
        controls_.emplace(*window);
        return &*controls_;
    }
    bool SettingsDialogShown() const override { return main_.SettingsDialogOpen; }
    void SettingsDialogMidiInput(std::uint32_t message) override {
        if (TProgramSettings* dialog = main_.settingsDialog()) dialog->MidiInput(message);
    }
    bool ChordEditorActive() const override { return static_cast<bool>(main_.ChordEditorMidi); }
    void ChordEditorMidiInput(std::uint32_t message) override { main_.ChordEditorMidi(message); }

private:
    TKalvintorMain& main_;
    std::optional<ExerciseControlsOf> controls_;
};

}  // namespace

TKalvintorMain::TKalvintorMain(QWidget* parent, std::unique_ptr<sound::MidiSystem> midiSystem)
    : QMainWindow(parent), views_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("KalvintorMain"));
    program().mainWindow = this;

    FirstShow = true;

    // The program's directories; the case of the path is kept.
    Program& p = program();
    p.paths = app::makeProgramPaths(toPath(QDir::cleanPath(programDirectory())));

    // The MIDI devices, the sequencer, the answer sounds and the microphone.
    // The synthesizer loads once the window is up (AfterFirstPaint), not while it is drawn.
    sound_ = std::make_unique<MainSound>(this, Settings, p.language, p.paths.mediaDir, std::move(midiSystem),
                                         true);

    // The machine-wide values. Errors leave the defaults.
    MachineSettingsFile machine(machineSettingsFile());
    const auto startup =
        app::readStartupValues(machine, p.paths.dataPath, [](const std::filesystem::path& dir) {
            std::error_code ec;
            return std::filesystem::is_directory(dir, ec);
        });
    p.firstRun = startup.firstRun;
    p.paths.dataPath = startup.dataPath;

    const QScreen* display = screen();
    p.highColour = !display || display->depth() > 8;
    p.imageLists = {};  // drawn when first used (imageLists()), in these colours

    setWindowTitle(kMainCaption);
    views_->setObjectName(QStringLiteral("Views"));
    setCentralWidget(views_);
    setMinimumSize(640, 480);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(Settings.colour));
    setPalette(palette);
    setAutoFillBackground(true);

    CreateToolPanels();
    setupSessionHost();
    CreateSetupCommands();
    CreateMenus();
    sound_->WhenSynthReady([this] { LoadRememberedSoundFont(); });

    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Tick(); });
    AutoNewQuestTimer.setSingleShot(true);
    connect(&AutoNewQuestTimer, &QTimer::timeout, this, [this] { AutoNewQuestTick(); });
    connect(&AnswerbuttonBlink, &QTimer::timeout, this, [this] { AnswerBlinkTick(); });
    LightDisplaytime.setInterval(150);
    connect(&LightDisplaytime, &QTimer::timeout, this, [this] { LightDisplayTick(); });
}

TKalvintorMain::~TKalvintorMain() {
    Timer1.stop();
    AutoNewQuestTimer.stop();
    AnswerbuttonBlink.stop();
    LightDisplaytime.stop();
    // The exercise windows and the start menu play through the sound side: they go first.
    for (TExerciseBaseClass*& window : exercises_) {
        delete window;
        window = nullptr;
    }
    delete menu_;
    menu_ = nullptr;
    sound_.reset();
    if (program().mainWindow == this) program().mainWindow = nullptr;
}

void TKalvintorMain::setupSessionHost() {
    setup::SetupHost& host = Setup.host();
    host.tutorActive = [this] { return TutorActive || TutorEditorActive; };
    host.setupViewShown = [this] { return CurrentView == app::kViewSetup; };
    host.takeSetupDialog = [this] {
        if (SetupView* view = setupView(CurrentExercise)) view->StoreSetup(CurrentExercise, Setup.current);
    };
    host.fillSetupDialog = [this] {
        if (SetupView* view = setupView(CurrentExercise)) view->LoadSetup(CurrentExercise, Setup.current);
    };
    host.showSetupName = [this](const std::string& name) { ShowSetupName(QString::fromStdString(name)); };
    host.applySetupAll = [this](bool reset) { ApplySetupAll(reset); };
    host.closeSession = [this] {
        const std::uint16_t asked = ExercisesWithQuestions(0x3FF, 5);
        if (asked != 0 && !Guest &&
            QMessageBox::question(this, text(5008, "Confirm"),
                                  text(98, "Do you want to save the results of this session?")) ==
                QMessageBox::Yes)
            SaveSessionResults(asked, false, false);
        RestartSession(0);
    };
    host.showError = [this](const std::string& message) {
        QMessageBox::critical(this, text(5005, "Error"), QString::fromStdString(message));
    };
    host.showInformation = [this](const std::string& message) {
        QMessageBox::information(this, text(5007, "Information"), QString::fromStdString(message));
    };
    host.askYesNoCancel = [this](const std::string& question) {
        const auto answer =
            QMessageBox::question(this, text(5008, "Confirm"), QString::fromStdString(question),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return answer == QMessageBox::Yes  ? setup::Choice::Yes
               : answer == QMessageBox::No ? setup::Choice::No
                                           : setup::Choice::Cancel;
    };
    host.saveSetupAs = [this] { return SaveSetupAs(); };
}

void TKalvintorMain::SetExerciseWindow(int exercise, TExerciseBaseClass* window) {
    if (exercise < 1 || exercise > 10) return;
    exerciseMakers_[static_cast<std::size_t>(exercise)] = nullptr;
    exercises_[static_cast<std::size_t>(exercise)] = window;
    program().exerciseWindows[static_cast<std::size_t>(exercise)] = window;
    if (window != nullptr) views_->addWidget(window);
    if (QToolButton* button = exerciseButtons_[static_cast<std::size_t>(exercise)])
        button->setEnabled(window != nullptr);
}

TExerciseBaseClass* TKalvintorMain::exerciseWindow(int exercise) const {
    if (exercise < 1 || exercise > 10) return nullptr;
    // A window still to be made is made now: to its callers it has always been there.
    if (exerciseMakers_[static_cast<std::size_t>(exercise)])
        const_cast<TKalvintorMain*>(this)->MakeExerciseWindow(exercise);
    return exercises_[static_cast<std::size_t>(exercise)];
}

void TKalvintorMain::SetSetupView(int exercise, SetupView* view) {
    if (exercise < 1 || exercise > 10) return;
    setupViews_[static_cast<std::size_t>(exercise)] = view;
    if (view != nullptr && views_->indexOf(view->widget()) < 0) views_->addWidget(view->widget());
    UpdateViewButtons();
}

SetupView* TKalvintorMain::setupView(int exercise) const {
    return exercise >= 1 && exercise <= 10 ? setupViews_[static_cast<std::size_t>(exercise)] : nullptr;
}

void TKalvintorMain::SetInfoView(int view, InfoView* window) {
    if (view != app::kViewResults && view != app::kViewUserOverview) return;
    infoMakers_[static_cast<std::size_t>(view - app::kViewResults)] = nullptr;
    infoViews_[static_cast<std::size_t>(view - app::kViewResults)] = window;
    if (window != nullptr && views_->indexOf(window->widget()) < 0) views_->addWidget(window->widget());
    UpdateViewButtons();
}

InfoView* TKalvintorMain::infoView(int view) const {
    if (view != app::kViewResults && view != app::kViewUserOverview) return nullptr;
    if (infoMakers_[static_cast<std::size_t>(view - app::kViewResults)])
        const_cast<TKalvintorMain*>(this)->MakeInfoView(view);
    return infoViews_[static_cast<std::size_t>(view - app::kViewResults)];
}

void TKalvintorMain::ShowMaximized(QWidget* child) {
    if (views_->indexOf(child) < 0) views_->addWidget(child);
    views_->setCurrentWidget(child);
    child->show();
    UpdateCaption();
}

void TKalvintorMain::UpdateCaption() {
    // A view with a caption of its own (the setup in force) shows it after the program's, as a
    // maximised child window does in its frame.
    const QWidget* view = views_->currentWidget();
    const QString own = view ? view->windowTitle().trimmed() : QString();
    setWindowTitle(own.isEmpty() ? kMainCaption : kMainCaption + QStringLiteral(" - ") + own);
}

THelpWindow* TKalvintorMain::helpWindow() {
    if (!help_) help_ = new THelpWindow(this);
    return help_;
}

void TKalvintorMain::activateFromAnotherStart() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TKalvintorMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FirstShow) {
        FirstShow = false;
        FormShowFirst();
        ReportMissingMusicFont(this);
        WatchFirstPaint();
    }
    if (program().welcome) program().welcome->hide();
}

void TKalvintorMain::CreateMenuDialog() {
    if (menu_) return;
    menu_ = new TMenuDialog(views_);
    views_->addWidget(menu_);
    for (int e = 1; e <= 10; ++e) {
        if (QPushButton* button = menu_->exerciseButton(e)) button->setEnabled(ExerciseAvailable(e));
    }
    connect(menu_, &TMenuDialog::exerciseChosen, this, [this](int tag) { Speed1Click(tag); });
    menu_->playIntro = [this] {
        return sound_->services().PlayMidiFile(program().paths.mediaDir / "intro.mid", this) ==
               sound::MidiFilePlay::Playing;
    };
    menu_->stopIntro = [this] { sound_->services().StopMidiFile(); };
}

void TKalvintorMain::FormShowFirst() {
    if (StartupDialogue) {
        RunStartupDialogue();
        return;
    }
    // Until a user logs in, a guest works on the built-in settings, with every bit of the
    // language loaded, and the default setup file (or the built-in setup when it is missing).
    Program& p = program();
    Guest = true;
    LoadUserCatalogue();
    const std::string language = language::chooseLanguage(p.paths.languageDir, Settings.language);
    LoadLanguage(languageFileName(QString::fromStdString(language)), language::kLoadAll, this);
    ApplySound();
    std::error_code ec;
    if (std::filesystem::exists(p.paths.defaultSetupFile, ec)) {
        Setup.LoadSetupFile(p.paths.defaultSetupFile.string(), true);
    }
    if (!Setup.setupLoaded) Setup.UseDefaultSetup();
    if (menu_) {
        menu_->introMusic = Settings.introMusic;
        ShowMaximized(menu_);
        menu_->StartMenu();
    }
    Timer1.start();
}

void TKalvintorMain::ApplySound() {
    sound_->ApplySettings();
    MetroClick(false);
    VisualMetronomeClick(false);
}

const theory::ChordCatalogue& TKalvintorMain::catalogue() const {
    return Catalogue.catalogue;
}

sound::TMidiOut& TKalvintorMain::midiOut() {
    return sound_->midiOut();
}

void TKalvintorMain::stopMidiInput() {
    sound_->router().StopMidiInput();
}

void TKalvintorMain::stopMicrophone() {
    sound_->MicEnd();
}

void TKalvintorMain::beginMicrophone(int exercise) {
    if (!SpeedButton3->isChecked()) return;
    const TExerciseBaseClass* window = exerciseWindow(exercise);
    sound_->MicStart(Settings, exercise, window ? window->MicrophoneRange() : std::nullopt);
}

void TKalvintorMain::playWave(const QString& file) {
    sound_->services().PlayWave(QFileInfo(file).completeBaseName().toStdString());
}

void TKalvintorMain::customEvent(QEvent* event) {
    switch (static_cast<int>(event->type()) - QEvent::User) {
        case sound::kNotificationMessage: {
            const auto& n = static_cast<sound::NotificationEvent*>(event)->notification;
            if (!sound_->sequencer.IsCurrent(n.generation)) return;  // of a stopped playback
            const app::EventTimeScope due(static_cast<sound::NotificationEvent*>(event)->atMs);
            if (n.window == sound::kWindowMain) {
                DrawVisualMetronome(n.code & 0xFF, n.code >> 8);
            } else if (n.window == sound::kWindowSettingsDialog) {
                if (settingsDialog_ != nullptr) settingsDialog_->SeqNotify(n.code);
            } else if (TExerciseBaseClass* window = exerciseWindow(n.window)) {
                window->SeqNotify(n.code);
            }
            return;
        }
        case sound::kMidiDataMessage: {
            Receivers receivers(*this);
            const app::EventTimeScope arrived(static_cast<sound::MidiDataEvent*>(event)->atMs);
            sound_->router().Dispatch(static_cast<sound::MidiDataEvent*>(event)->message, receivers);
            return;
        }
        case sound::kMicNoteMessage:
        case sound::kMicEventMessage: {
            const auto& mic = *static_cast<sound::MicEvent*>(event);
            if (!sound_->MicCurrent(mic.generation)) return;  // of a stopped detection
            if (mic.type() == sound::SoundEventType(sound::kMicNoteMessage)) {
                if (const auto note = sound_->mic().OnMicNote(mic.wParam))
                    if (TExerciseBaseClass* window = exerciseWindow(note->exercise))
                        window->MicPitch(note->note);
            } else if (const auto clap = sound_->mic().OnMicEvent(mic.wParam, mic.lParam)) {
                if (TExerciseBaseClass* window = exerciseWindow(clap->exercise))
                    window->MicClap(clap->timeMs);
            }
            return;
        }
        case sound::kMidiFileEndMessage:
            return;  // the start menu's tune has ended; it is not played again
        default:
            QMainWindow::customEvent(event);
    }
}

void TKalvintorMain::keyPressEvent(QKeyEvent* event) {
    if (!HandleKeyDown(event)) QMainWindow::keyPressEvent(event);
}

void TKalvintorMain::keyReleaseEvent(QKeyEvent* event) {
    if (!HandleKeyUp(event)) QMainWindow::keyReleaseEvent(event);
}

}  // namespace kalvintor::ui
