// The main window: one child view at a time, the tool panels, the shared objects, the session
// clocks and results, and the shell every exercise window works in.
#pragma once

#include "ExerciseHost.h"
#include "Pictures.h"
#include "ViewWindows.h"
#include "app/AccessLevels.h"
#include "app/MenuState.h"
#include "data/DataStore.h"
#include "data/SessionResult.h"
#include "settings/SettingRecord.h"
#include "setup/SetupFile.h"
#include "setup/UserCatalogue.h"
#include "sound/MidiDevice.h"
#include "theory/ChordCatalogue.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QSlider;
class QStackedWidget;
class QToolBar;
class QToolButton;
class QButtonGroup;
class QMenu;
class QSessionManager;

namespace kalvintor::ui {

class MachineSettingsFile;
class MainSound;
struct MainTutor;
struct TutorRequests;
class TExerciseBaseClass;
class TGauge;
class THelpWindow;
class TMenuDialog;
class TMetronomeBox;
class TProgramSettings;
class TProgressForm;
class TUserslist;
struct MainStartup;

// The caption of the main window, kept so that a temporary caption can be undone.
inline const QString kMainCaption = QStringLiteral("Kalvintor School");

// Tool panels, in the order of their table.
enum ToolPanel : int {
    kPanelStandard = 0,
    kPanelMetronome = 1,
    kPanelTutor = 2,
    kPanelScore = 3,
    kPanelTempo = 4,
    kPanelExtras = 5,
    kPanelCount = 6
};

class TKalvintorMain final : public QMainWindow, public ExerciseHost {
    Q_OBJECT
public:
    // Without `midiSystem` the program's own sound system is made (the built-in synthesizer and
    // the MIDI ports).
    explicit TKalvintorMain(QWidget* parent = nullptr, std::unique_ptr<sound::MidiSystem> midiSystem = {});
    ~TKalvintorMain() override;

    // Start-up state.
    bool FirstShow = true;
    bool LoginDone = false;
    bool Guest = false;
    bool TeacherWindowsCreated = false;
    bool ReportWindowsCreated = false;
    bool SettingsDialogOpen = false;
    bool TutorActive = false;
    bool TutorEditorActive = false;
    // Exercise setup, choose tutor, edit chords, private settings, results, user overview, tutor,
    // tutor editor, import/export, refresh.
    std::array<bool, 10> AccessRights{};
    int CurrentExercise = 0;
    int CurrentView = 1;
    int RepaintButtonsOf = 0;

    // The settings in force (the built-in ones until a user logs in), the setup with its saved
    // copy, and the unsaved result of each exercise's running session (index = exercise).
    settings::Settings Settings = settings::defaultSettings();
    setup::SetupSession Setup;
    std::array<data::TResultInfo, 11> SessionResults{};
    // The logged-in user's id (0 while a guest works) and the store the results are saved in.
    std::int16_t UserId = 0;
    data::DataStore* Store = nullptr;
    // Finished sessions' results the store could not write yet; tried again at the next save.
    std::vector<data::ResultRecord> UnsavedResults;

    // The exercise windows, index = exercise number; null for an exercise without one. A window
    // registered here, or made by its maker (below), takes the setup in force as it is made.
    void SetExerciseWindow(int exercise, TExerciseBaseClass* window);
    TExerciseBaseClass* exerciseWindow(int exercise) const;
    // The setup view of an exercise (view 2), and the results window (view 3) and the user
    // overview (view 4). A view without a window cannot be chosen.
    void SetSetupView(int exercise, SetupView* view);
    SetupView* setupView(int exercise) const;
    void SetInfoView(int view, InfoView* window);
    InfoView* infoView(int view) const;
    // Windows made when first needed, or from the event loop once the main window has painted
    // after the start-up dialogue (MainDeferred.cpp): `make` is called once and its window
    // registered as SetExerciseWindow or SetInfoView does; the accessors make a window still to
    // be made. The exercise's tool and menu buttons are available meanwhile.
    void SetExerciseMaker(int exercise, std::function<TExerciseBaseClass*()> make);
    void SetInfoViewMaker(int view, std::function<InfoView*()> make);
    // The exercise has a window, made or still to be made.
    bool ExerciseAvailable(int exercise) const;
    // Makes every window still to be made.
    void CreateDeferredWindows();

    // Makes `child` the view that fills the client area.
    void ShowMaximized(QWidget* child);
    QStackedWidget* views() const { return views_; }

    // The program's cursor of a number, drawn when first asked for; the arrow for others.
    QCursor cursor(int number) const;

    THelpWindow* helpWindow();
    // The help topic of what is shown (the help button, F1 and Ctrl+F1).
    void ContextHelp();
    TMenuDialog* menuDialog() const { return menu_; }
    // Creates the start menu, the view the main window shows first.
    void CreateMenuDialog();
    // Brings the window to the front: another start of the program asked for it.
    void activateFromAnotherStart();
    MainSound& sound() { return *sound_; }

    // View switching.
    void Speed1Click(int tag);
    void SelectView(int exercise, int view);
    void ShowToolPanel(int index, bool allowed);
    bool ToolPanelWanted(int index) const { return wanted_[static_cast<std::size_t>(index)]; }
    QToolBar* ToolWindow(int index) const { return toolWindows_[static_cast<std::size_t>(index)]; }

    // Session clocks and results.
    void StartActiveClock(int exercise);
    void StopActiveClock(int exercise);
    void ShowExerciseTime();
    void RestartSession(int exercise);
    std::uint16_t ExercisesWithQuestions(std::uint16_t mask, int minimum) const;
    void SaveSessionResults(std::uint16_t mask, bool tutor, bool sessionOnly);
    void SaveSessionResult(int exercise, bool tutor, bool sessionOnly);

    // Setups.
    void ApplySetupAll(bool resetResults);
    void ShowSetupName(const QString& name);
    // The load-setup button: the setup chooser, then the chosen file.
    void ChooseSetup();
    // "Save setup...": the save dialog, then the file.
    bool SaveSetupAs();

    // The working catalogue with the user entries of Chord.dat (read at start, written back
    // whenever an editor changes an entry), and the question asked when a changed setup view is
    // left; false keeps the view.
    setup::UserCatalogue Catalogue;
    void LoadUserCatalogue();
    void CatalogueEdited();
    bool ConfirmLeavingSetupView();
    // MIDI keyboard input for the chord-type editor while it is open (target 16); empty stops it.
    void RouteChordEditorMidi(std::function<void(std::uint32_t)> receiver);
    std::function<void(std::uint32_t)> ChordEditorMidi;

    // Metronome and tempo.
    void SetTempoTrackBar();
    void TempoChanged(int tempo);
    void MetroClick(bool fromUser);
    void VisualMetronomeClick(bool fromUser);
    // The microphone button: opens the detector once, then starts or stops detection for the
    // current exercise. The MIDI-in button switches MIDI keyboard input on and off.
    void MicrophoneClick(bool down);
    void MidiInClick(bool on);
    bool MicOpened = false;
    void DrawVisualMetronome(int beat, int beats);
    bool HasMetronome(int exercise) const;

    // The score panel.
    void LayOutScorePanel();

    // Keys of the main window and of the exercise windows; true when the key was used.
    bool HandleKeyDown(QKeyEvent* event);
    bool HandleKeyUp(QKeyEvent* event);

    // The status and panel widgets, by their component names.
    QLabel* Label1 = nullptr;   // view name
    QLabel* Label2 = nullptr;   // tutor step
    QLabel* Label3 = nullptr;   // exercise title
    QLabel* Label4 = nullptr;   // "Total"
    QLabel* Label6 = nullptr;   // tutor question counter
    QLabel* Label7 = nullptr;   // exercise time
    QLabel* Label8 = nullptr;   // "= " + tempo
    QLabel* Label15 = nullptr;  // score
    TGauge* Gauge15 = nullptr;
    QSlider* TrackBar1 = nullptr;
    TMetronomeBox* PaintBox2 = nullptr;
    QToolButton* SpeedButton2 = nullptr;   // load setup
    QToolButton* SpeedButton10 = nullptr;  // tutor
    QToolButton* SpeedButton1 = nullptr;   // exercise view
    QToolButton* RunKonfig = nullptr;      // setup view
    QToolButton* SpeedButton5 = nullptr;   // results view
    QToolButton* SpeedButton11 = nullptr;  // user overview
    QToolButton* SpeedButton9 = nullptr;   // tutor setup
    QToolButton* SpeedButton4 = nullptr;   // help
    QToolButton* Overview = nullptr;       // the start menu
    QToolButton* Metro = nullptr;          // play metronome
    QToolButton* SpeedButton12 = nullptr;  // visual metronome
    QToolButton* SpeedButton3 = nullptr;   // microphone
    QToolButton* MIDIin = nullptr;         // MIDI input on and off
    // The exercise tool buttons, index = exercise number.
    QToolButton* exerciseButton(int exercise) const {
        return exerciseButtons_[static_cast<std::size_t>(exercise)];
    }

    QTimer Timer1;
    QTimer AutoNewQuestTimer;
    QTimer AnswerbuttonBlink;
    QTimer LightDisplaytime;

    // The menu bar and its commands (MainMenus.cpp, MainMenuCommands.cpp); the program settings
    // (MainProgramSettings.cpp).
    void CreateMenus();
    void ImportExportClick();
    void DeleteResultsClick();
    void PrintClick();
    // "Result sumations": the days counted back (0, 2, 7, 14, 30); a period in force does nothing.
    void ChooseResultPeriod(int days);
    // The period the settings keep, when it is one of the menu's.
    void ApplyResultPeriod();
    // The users submenu: every user (-1), those in no class (0) or one class's.
    void FilterUsersByClass(int classId);
    // The "Answer Input" menu: `load` checks its items from the exercise or the setup dialogs;
    // otherwise the checked items become the exercise's mask or the setup dialogs' display.
    void RefillAnswerInputMenu(bool load);
    void ShowKeynameClick(bool on);
    // The menu titles the user's level shows (the "Options" menu).
    void ApplyMenuAccess();
    // At start: the configuration wizard when it is due (true when finished with OK; the settings
    // are then stored for the user), and the tip of the day while tips are offered.
    bool RunConfigWizard();
    void ShowTipsAtStart();
    // The tool panels' pop-up menu: the "Speedbar" items again, as "1" to "4".
    QMenu* createPopupMenu() override;
    // The support mail and the web page of the installation; empty when it names none.
    QString SupportAddress() const;
    QString WebAddress() const;
    QAction* menuAction(const QString& name) const;
    void Opstning1Click();
    void ApplyProgramSettings(const settings::Settings& before, const TProgramSettings& dialog);
    void ApplyFont(const QFont& font);
    void ApplyColour();
    // Writes the settings in force as the user's (or, `shared`, as every user's) record.
    void SaveProgramSettings(bool shared);
    // Loads the SoundFont this workstation chose for the built-in synthesizer, off the UI thread.
    void LoadRememberedSoundFont();
    TProgramSettings* settingsDialog() const { return settingsDialog_; }
    // "Reset current results".
    void RestartExerciseClick();
    app::MenuContext MenuContextNow() const;

    // Tool panel layout in the settings.
    void StoreToolLayout(settings::Settings& into) const;
    void RestoreToolLayout(const settings::Settings& from);

    // Start-up dialogue, access levels, change of user and close (MainStartup.cpp). The program
    // entry sets StartupDialogue; without it the first show starts a guest on the built-in settings.
    bool StartupDialogue = false;
    QStringList CommandLine;  // the arguments after the program name
    app::Access Access = app::GuestAccess();
    void RunStartupDialogue();
    void ApplySettings(bool languageOnly);
    void ApplyAccessLevel(int level);
    void CreateTeacherWindows();
    void StoreSettings(bool asDefault);
    bool CloseQuery();
    // The system asks the program to stop, or the desktop session ends without anyone to answer
    // (MainShutdown.cpp): results of five answers or more are saved and the settings kept, as a
    // close answered with Yes would; a changed setup is not written.
    void EndUnattended();
    void KeepSessionUnattended();
    void CommitSession(QSessionManager& manager);
    // Ends the session (results, setup, settings) and logs in again: "log in as another user".
    void ChangeUser();
    // "User info...", "Class maintenance...", "Administration..." and "Refresh" (MainUsers.cpp).
    void UserInfo();
    void ClassMaintenance();
    void Administration();
    void RefreshUsers();
    TUserslist* userslist() const;
    // The login was cancelled where guests are not allowed: the program is ending.
    bool quitting() const { return quitting_; }
    TProgressForm& progressForm();
    MainStartup& startup();

    // Tutor mode and the tutor editor (MainTutor.cpp): the two menu items, the steps in force,
    // and the parts of SelectView that start and end the two modes.
    MainTutor& tutor();
    void AddTutorMenuItems(QMenu* file);
    bool EnableTutorExercises();
    int ShowStepInfo();
    void ApplyTutorStepsNow(int exercise);
    bool PrepareTutorRequest(int& exercise, int view);
    TutorRequests ReadTutorRequests() const;
    bool LeaveTutorModes(const TutorRequests& requests, int oldExercise, int exercise);
    void EnterTutorModes(const TutorRequests& requests, bool exerciseChanged);
    void FillTutorResult(int exercise, data::SessionSource& source) const;
    void RestoreTutorCatalogue();
    // A tutor's own material is the working catalogue: it is never written to Chord.dat.
    bool TutorMaterialInForce() const;
    bool LeaveTutorEditorForClose();
    // Another user logs in: the tutor and the editor of the one before end.
    void EndTutorModes();

    // ExerciseHost.
    const settings::Settings& settings() const override { return Settings; }
    void setPianoVoice(const settings::TSoundRec& voice) override { Settings.pianoVoice = voice; }
    const setup::SetupRecord& currentSetup() const override { return Setup.current; }
    const theory::ChordCatalogue& catalogue() const override;
    sound::TMidiOut& midiOut() override;
    bool tutorActive() const override { return TutorActive; }
    void showScore(int gaugePercent, const QString& label) override;
    void showTutorProgress() override;
    void startAutoNewQuestTimer() override;
    void stopAutoNewQuestTimer() override { AutoNewQuestTimer.stop(); }
    void startAnswerBlinkTimer(int intervalMs) override { AnswerbuttonBlink.start(intervalMs); }
    void stopAnswerBlinkTimer() override { AnswerbuttonBlink.stop(); }
    void startLightDisplayTimer() override { LightDisplaytime.start(); }
    void stopLightDisplayTimer() override { LightDisplaytime.stop(); }
    bool checkTutorStepEnd() override;
    void stopMidiInput() override;
    void stopMicrophone() override;
    void beginMicrophone(int exercise) override;
    sound::MicReading microphoneReading() const override;
    void setRhythmWithMetronome(bool on) override { Settings.rhythmWithMetronome = on; }
    void setTipsToShow(std::uint32_t mask) override { Settings.tipsToShow = mask; }
    void playWave(const QString& file) override;
    bool exerciseKeyPressed(QKeyEvent* event) override { return HandleKeyDown(event); }
    bool exerciseKeyReleased(QKeyEvent* event) override { return HandleKeyUp(event); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void customEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShowFirst();
    void CreateToolPanels();
    QToolButton* makeToolButton(QToolBar* bar, const QString& name, const QIcon& icon, int hintId,
                                const char* hintEnglish, int tag);
    bool ViewAvailable(int exercise, int view) const;
    void EnterExerciseView(int exercise);
    void LeaveExerciseView(int oldExercise, bool exerciseChanged, bool viewChanged);
    void EnterSetupView(int exercise, bool viewChanged);
    void EnterInfoView(int exercise, int view);
    void UpdateViewButtons();
    void UpdateCaption();
    void Timer1Tick();
    void AutoNewQuestTick();
    void AnswerBlinkTick();
    void LightDisplayTick();
    void ApplySound();
    void setupSessionHost();
    // Opens a mail or web address; shows it when no program takes it.
    void OpenAddress(const QString& url, const QString& shown);
    void CreateSetupCommands();
    void MakeExerciseWindow(int exercise);
    void MakeInfoView(int view);
    // After the start-up dialogue: what the first paint does not need is done after it.
    void WatchFirstPaint();
    void AfterFirstPaint();
    void MakeDeferredWindowsInTurn();
    bool MakeNextDeferredWindow();
    data::DataStore& makeStore();
    bool OpenDataDirectory();
    // Makes the data directory usable, or lets the user choose another; false: he goes on as a
    // guest.
    bool SettleDataDirectory(data::DataStore& store, MachineSettingsFile& machine);
    bool reportDataFiles();
    std::optional<QString> chooseFolder(const QString& start, const QString& title);
    void LogIn();
    void ChooseStartSetup();
    bool EndSession(bool cancellable);
    // The user's setup name, private settings and MIDI devices, as a session ends.
    void KeepUserState();
    void storeMidiValues();

    QStackedWidget* views_;
    mutable QHash<int, QCursor> cursors_;
    THelpWindow* help_ = nullptr;
    TMenuDialog* menu_ = nullptr;
    std::unique_ptr<MainSound> sound_;
    std::array<TExerciseBaseClass*, 11> exercises_{};
    std::array<SetupView*, 11> setupViews_{};
    std::array<InfoView*, 2> infoViews_{};
    std::array<std::function<TExerciseBaseClass*()>, 11> exerciseMakers_{};
    std::array<std::function<InfoView*()>, 2> infoMakers_{};
    // The setup name the exercise windows show, for those made later.
    std::optional<QString> setupCaption_;
    std::array<QToolBar*, kPanelCount> toolWindows_{};
    std::array<bool, kPanelCount> wanted_{true, true, true, true, true, true};
    std::array<QToolButton*, 11> exerciseButtons_{};
    QButtonGroup* exerciseGroup_ = nullptr;
    QButtonGroup* viewGroup_ = nullptr;
    TProgramSettings* settingsDialog_ = nullptr;
    bool pictureFlag_ = false;
    int lastBeat_ = 0;
    int lastBeats_ = 0;
    std::unique_ptr<MainStartup> startup_;
    std::unique_ptr<MainTutor> tutor_;
    bool quitting_ = false;
};

// The program directory: $KALVINTOR_PROGRAM_DIR when set, else the executable's directory or the
// installation's share folder.
QString programDirectory();

}  // namespace kalvintor::ui
