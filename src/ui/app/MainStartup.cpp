// The main window's start-up dialogue, the settings taken in and kept, the access levels, the
// change of user and the close query.
#include "MainStartup.h"

#include "MachineSettingsFile.h"
#include "MainSound.h"
#include "Program.h"
#include "Style.h"
#include "TExerciseBaseClass.h"
#include "TKalvintorMain.h"
#include "TLevels.h"
#include "TMenuDialog.h"
#include "TVelkommen.h"
#include "Texts.h"
#include "app/MachineSettings.h"
#include "app/ViewTags.h"
#include "data/DataDirectory.h"
#include "data/SessionResult.h"
#include "users/TAddUserForm.h"
#include "users/TProgressForm.h"
#include "users/TUserLoggin.h"
#include "users/TUserslist.h"
#include "users/UserTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

constexpr std::uint8_t kStateMaximised = 2;

QString fileProblemText(const app::DataFileState& s) {
    switch (s.problem) {
        case app::FileProblem::Unreadable:
            return userFormat(7240, "%s cannot be read.", {s.file});
        case app::FileProblem::Truncated:
            return userFormat(7241, "%s is damaged: its size is no whole number of records.", {s.file});
        case app::FileProblem::Oversized:
            return userFormat(7242, "%s is larger than the program ever writes it.", {s.file});
        case app::FileProblem::ReadOnly:
            return userFormat(7243, "%s is read-only: changes to it cannot be saved.", {s.file});
        case app::FileProblem::None:
            break;
    }
    return {};
}

// Results that could not be written stay in memory only: before the program ends they are offered
// once more. True when the program may close (all written, or the user lets them go).
bool letUnsavedResultsGo(TKalvintorMain& main) {
    QString why;
    while (!main.UnsavedResults.empty()) {
        QString message = userFormat(8500,
                                     "%d result(s) of this session could not be saved. If the program "
                                     "closes now, they are lost. Press Retry to try to save them again.",
                                     {static_cast<long long>(main.UnsavedResults.size())});
        if (!why.isEmpty()) message += "\n\n" + why;
        QMessageBox box(QMessageBox::Warning, text(5005, "Error"), message, QMessageBox::NoButton, &main);
        box.setObjectName(QStringLiteral("UnsavedResults"));
        QPushButton* retry = box.addButton(QMessageBox::Retry);
        QPushButton* closeAnyway = box.addButton(text(8501, "Close anyway"), QMessageBox::DestructiveRole);
        closeAnyway->setObjectName(QStringLiteral("CloseAnyway"));
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(retry);
        box.exec();
        if (box.clickedButton() == closeAnyway) return true;
        if (box.clickedButton() != retry) return false;
        if (main.Store == nullptr || data::AppendKeptResults(*main.Store, main.UnsavedResults)) break;
        why = QString::fromStdString(main.Store->describe(main.Store->LastError()));
    }
    return true;
}

}  // namespace

MainStartup::MainStartup() = default;
MainStartup::~MainStartup() = default;

MainStartup& TKalvintorMain::startup() {
    if (!startup_) startup_ = std::make_unique<MainStartup>();
    return *startup_;
}

data::DataStore& TKalvintorMain::makeStore() {
    MainStartup& s = startup();
    if (s.store) return *s.store;
    Program& p = program();
    data::StoreEnvironment environment;
    environment.languageDir = p.paths.languageDir;
    environment.language = &p.language;
    environment.lowColourDisplay = !p.highColour;
    data::StoreCallbacks callbacks;
    callbacks.lockWait.pause = [](int ms) {
        QApplication::processEvents();
        QThread::msleep(static_cast<unsigned long>(ms));
        QApplication::processEvents();
    };
    callbacks.lockWait.askRetry = [this](const std::string& message) {
        return QMessageBox::critical(this, text(5005, "Error"), QString::fromStdString(message),
                                     QMessageBox::Ok | QMessageBox::Retry) == QMessageBox::Retry;
    };
    callbacks.showError = [this](const std::string& message) {
        QMessageBox::critical(this, text(5005, "Error"), QString::fromStdString(message));
    };
    callbacks.progress = [this](int index, int count, bool computing) {
        if (computing) progressForm().Step(index, count, text(7244, "Computing the statistics of the users"));
    };
    callbacks.progressDone = [this] { progressForm().Done(); };
    s.store =
        std::make_unique<data::DataStore>(p.paths.dataPath, std::move(environment), std::move(callbacks));
    Store = s.store.get();
    return *s.store;
}

TProgressForm& TKalvintorMain::progressForm() {
    MainStartup& s = startup();
    if (!s.progress) s.progress = new TProgressForm(this);
    return *s.progress;
}

bool TKalvintorMain::OpenDataDirectory() {
    data::DataStore& store = makeStore();
    Program& p = program();
    MachineSettingsFile machine(machineSettingsFile());
    data::DataDirectoryQuestions questions;
    questions.hideWelcome = [] {
        if (program().welcome) program().welcome->hide();
    };
    questions.askYesNo = [this](const std::string& question) {
        return QMessageBox::question(this, text(5008, "Confirm"), QString::fromStdString(question),
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    questions.showMessage = [this](const std::string& message) {
        QMessageBox::information(this, text(5007, "Information"), QString::fromStdString(message));
    };
    questions.selectFolder = [this](const std::filesystem::path& start,
                                    const std::string& title) -> std::optional<std::filesystem::path> {
        const auto chosen = chooseFolder(toQString(start), QString::fromStdString(title));
        if (!chosen) return std::nullopt;
        // An empty folder becomes a new data directory when the school says so.
        const std::filesystem::path dir = toPath(*chosen);
        std::error_code ec;
        if (!std::filesystem::exists(dir / "User.dat", ec) &&
            !std::filesystem::exists(dir / "Data" / "User.dat", ec) &&
            QMessageBox::question(
                this, text(5008, "Confirm"),
                userFormat(
                    7245,
                    "The folder %s holds no user data yet. Do you want to start a new data folder there?",
                    {chosen->toStdString()})) == QMessageBox::Yes)
            app::PrepareDataDirectory(dir);
        return dir;
    };
    // The directory as the school will find it: made when missing, with a user file, before
    // Common.dat is read there.
    bool usable = true;
    questions.prepareDirectory = [&] {
        usable = SettleDataDirectory(store, machine);
        return usable;
    };
    // Common.dat is read and, when short, rewritten by the directory check: a damaged one is
    // reported before anything can overwrite the id counters it holds.
    if (app::Damaged(app::CheckDataFiles(store.DataPath()), "Common.dat")) return reportDataFiles();
    data::ChooseDataDirectory(store, p.firstRun, &machine, questions);
    if (!usable) return false;
    p.paths.dataPath = store.DataPath();

    if (!reportDataFiles()) return false;
    if (!app::Damaged(startup().files, "Class.dat")) store.LoadClasses();
    store.LoadUsers();
    return true;
}

bool TKalvintorMain::SettleDataDirectory(data::DataStore& store, MachineSettingsFile& machine) {
    for (;;) {
        const auto state = app::PrepareDataDirectory(store.DataPath());
        if (state == app::DirectoryState::Ready || state == app::DirectoryState::Created) {
            if (state == app::DirectoryState::Created)
                machine.writeValue(app::kProgramKey, app::kDataPathValue, store.DataPath().string());
            return true;
        }
        const QString dir = toQString(store.DataPath());
        QString why = state == app::DirectoryState::ReadOnly ? text(7246, "The data folder %s is read-only.")
                      : state == app::DirectoryState::NotDirectory
                          ? text(7247, "The data folder %s is a file, not a folder.")
                          : text(7248, "The data folder %s does not exist and cannot be made.");
        QMessageBox box(QMessageBox::Warning, text(5005, "Error"), why.replace("%s", dir),
                        QMessageBox::NoButton, this);
        QPushButton* other = box.addButton(text(7249, "Choose another folder..."), QMessageBox::AcceptRole);
        box.addButton(text(7250, "Continue as guest"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() != other) return false;
        const auto chosen = chooseFolder(dir, text(5453, "Choose the folder of the user data"));
        if (chosen) store.setDataPath(app::withTrailingSeparator(toPath(*chosen)));
    }
}

bool TKalvintorMain::reportDataFiles() {
    // Files that cannot be read as the program wrote them are reported and never written.
    MainStartup& s = startup();
    s.files = app::CheckDataFiles(s.store->DataPath());
    QStringList problems;
    for (const auto& f : s.files)
        if (f.problem != app::FileProblem::None) problems << fileProblemText(f);
    s.settingsWritable = !app::Damaged(s.files, "Setting.dat");
    const bool usersReadable = !app::Damaged(s.files, "User.dat") && !app::Damaged(s.files, "Common.dat");
    if (!usersReadable)
        problems << text(7251, "Until it is repaired (kalvintor-admin check), you work as a guest.");
    if (!problems.isEmpty())
        QMessageBox::warning(this, text(5005, "Error"), problems.join(QStringLiteral("\n")));
    return usersReadable;
}

std::optional<QString> TKalvintorMain::chooseFolder(const QString& start, const QString& title) {
    QFileDialog dialog(this, title, start);
    dialog.setObjectName(QStringLiteral("DataFolderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

void TKalvintorMain::RunStartupDialogue() {
    MainStartup& s = startup();
    Program& p = program();
    LoginDone = false;
    makeStore();
    ApplySettings(true);
    s.dataUsable = OpenDataDirectory();
    if (!s.dataUsable) {
        ApplyAccessLevel(app::kLevelGuest);
    } else {
        LogIn();
    }
    if (quitting_) return;
    for (int e = 1; e <= 10; ++e) RestartSession(e);
    ApplySettings(false);

    // The start menu greets the user by name.
    data::DataStore& store = *s.store;
    if (menu_) {
        if (!Guest && store.CurrentUser() && !menu_->WelcomeLines.empty()) {
            // Line 0 is the blank line before the greeting: the name stands there alone.
            std::string& first = menu_->WelcomeLines.front();
            first += (first.empty() ? "" : " ") + data::DisplayName(store.CurrentUser()->record.fullName);
        }
        menu_->introMusic = Settings.introMusic;
        ShowMaximized(menu_);
    }
    ChooseStartSetup();
    RunConfigWizard();
    ShowTipsAtStart();
    if (menu_) menu_->StartMenu();
    Timer1.start();
    if (!LoginDone) ApplyAccessLevel(app::kLevelGuest);
    if (p.welcome) p.welcome->hide();
}

void TKalvintorMain::LogIn() {
    MainStartup& s = startup();
    data::DataStore& store = *s.store;
    if (!s.addUser) s.addUser = std::make_unique<TAddUserForm>(store, this);
    std::optional<int> level;
    try {
        level = Login(this, store, *s.addUser);
    } catch (const std::exception&) {
        level = app::kLevelGuest;
    }
    if (!level) {
        // Cancelled where guests are not allowed: the program ends.
        quitting_ = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        level = app::kLevelGuest;
    }
    if (*level == app::kLevelGuest) store.LoginGuest();
    store.setSelectedUser(store.CurrentUser());
    ApplyAccessLevel(*level);
}

void TKalvintorMain::ChooseStartSetup() {
    Program& p = program();
    const data::TUserInfo* user = Store ? Store->CurrentUser() : nullptr;
    Setup.setupLoaded = false;
    const QString argument = CommandLine.isEmpty() ? QString() : CommandLine.first();
    if (app::IsSetupArgument(toPath(argument))) {
        Setup.LoadSetupFile(toPath(argument).string(), false);
    } else if (!Guest && user && !user->record.setupFile.empty() &&
               Setup.LoadSetupFile(user->record.setupFile, false)) {
    } else if (!Guest) {
        if (const auto file =
                TLevels::choose(this, p.paths.programDir, app::setupDirectory(p.paths, p.privateDirectory)))
            Setup.LoadSetupFile(toPath(*file).string(), false);
    }
    std::error_code ec;
    if (!Setup.setupLoaded && std::filesystem::exists(p.paths.defaultSetupFile, ec))
        Setup.LoadSetupFile(p.paths.defaultSetupFile.string(), true);
    if (!Setup.setupLoaded) Setup.UseDefaultSetup();
}

void TKalvintorMain::ApplySettings(bool languageOnly) {
    MainStartup& s = startup();
    Program& p = program();
    data::DataStore* store = s.store.get();
    if (languageOnly) {
        if (store && s.settingsWritable) {
            store->LoadSettings(1, false);
            Settings.language = store->Settings.language;
        }
    } else {
        // The catalogue with the user entries of Chord.dat (edits are written when they are made).
        if (s.dataUsable) LoadUserCatalogue();
        const data::TUserInfo* user = store ? store->CurrentUser() : nullptr;
        const bool privateSettings = user && user->record.allowPrivateSettings;
        const std::int16_t key = app::SettingsKey(UserId, Guest, privateSettings);
        if (store && s.dataUsable && s.settingsWritable && store->LoadSettings(key, true))
            Settings = store->Settings;
        else if (store && s.dataUsable && s.settingsWritable)
            Settings = store->Settings;
        else
            Settings = settings::defaultSettings();
        RestoreToolLayout(Settings);
        ApplyResultPeriod();
        if (s.userslist) s.userslist->RestoreColumns(Settings);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, style::colourFromSetting(Settings.colour));
        setPalette(palette);
        AutoNewQuestTimer.setInterval(Settings.autoNewQuestionDelay * 1000 + 100);
        // The machine's MIDI values override the record's.
        MachineSettingsFile machine(machineSettingsFile());
        const app::MidiValues midi = app::readMidiValues(machine);
        if (midi.inputDevice) Settings.midiInputDevice = *midi.inputDevice;
        if (midi.outputDevice) Settings.midiOutputDevice = *midi.outputDevice;
        if (midi.syncDelay) Settings.syncDelay = *midi.syncDelay;
    }
    const std::string language = language::chooseLanguage(p.paths.languageDir, Settings.language);
    Settings.language = language;
    LoadLanguage(languageFileName(QString::fromStdString(language)), language::kLoadAll, this);
    if (languageOnly) return;
    ApplySound();
    if (Settings.mainWidth > 0 && Settings.mainHeight > 0 && Settings.mainState != kStateMaximised)
        setGeometry(Settings.mainLeft, Settings.mainTop, Settings.mainWidth, Settings.mainHeight);
    SetTempoTrackBar();
}

void TKalvintorMain::ApplyAccessLevel(int level) {
    MainStartup& s = startup();
    Program& p = program();
    const data::TUserInfo* user = s.store ? s.store->CurrentUser() : nullptr;
    app::StudentPermissions permissions;
    if (user) {
        permissions = {user->record.allowExerciseSetup, user->record.allowTutorChange,
                       user->record.allowEditChords, user->record.allowPrivateSettings};
    }
    Access = app::AccessFor(s.dataUsable ? level : app::kLevelGuest, permissions);
    Guest = Access.guest;
    AccessRights = Access.rights;
    UserId = Guest || !user ? std::int16_t{0} : user->record.userId;
    p.privateDirectory = Guest || !user ? std::filesystem::path()
                                        : toPath(QString::fromStdString(user->record.privateDirectory));

    const auto apply = [this](QWidget* w, app::Command c) {
        if (!w) return;
        const app::CommandState state = Access.command(c);
        w->setVisible(state.visible);
        w->setEnabled(state.enabled);
    };
    apply(SpeedButton10, app::Command::Tutor);
    apply(SpeedButton9, app::Command::TutorEditor);
    apply(SpeedButton11, app::Command::UserOverview);
    if (SpeedButton2) SpeedButton2->setEnabled(true);
    Label1->setMinimumWidth(Access.bevelWidth + 50);
    ApplyMenuAccess();
    LoginDone = true;
    if (!Guest && app::LevelOf(level) >= app::kLevelTeacher) CreateTeacherWindows();
    UpdateViewButtons();
}

void TKalvintorMain::CreateTeacherWindows() {
    MainStartup& s = startup();
    if (TeacherWindowsCreated || !s.store) return;
    // The user overview is the one teacher window every teacher has; it is made when first needed
    // or soon after the window is up, with the column widths of the settings in force then. The
    // class and administration dialogs are made when first opened.
    SetInfoViewMaker(app::kViewUserOverview, [this]() -> InfoView* {
        MainStartup& made = startup();
        made.userslist = new TUserslist(*this, *made.store, views_);
        made.userslist->RestoreColumns(Settings);
        return made.userslist;
    });
    TeacherWindowsCreated = true;
}

TUserslist* TKalvintorMain::userslist() const {
    if (!startup_) return nullptr;
    if (TeacherWindowsCreated && !startup_->userslist) infoView(app::kViewUserOverview);
    return startup_->userslist;
}

void TKalvintorMain::StoreSettings(bool asDefault) {
    MainStartup& s = startup();
    if (!s.store || !s.dataUsable || !s.settingsWritable) return;
    Settings.mainState = isMaximized() ? kStateMaximised : 0;
    if (!isMaximized()) {
        const QRect g = geometry();
        Settings.mainLeft = g.left();
        Settings.mainTop = g.top();
        Settings.mainWidth = g.width();
        Settings.mainHeight = g.height();
    }
    StoreToolLayout(Settings);
    if (s.userslist) s.userslist->StoreColumns(Settings);
    std::uint8_t volume = 0;
    if (sound_->midiOut().GetVolume(volume)) Settings.midiVolume = volume;
    s.store->Settings = Settings;
    s.store->SaveSettings(asDefault ? std::int16_t{1} : UserId);
}

void TKalvintorMain::storeMidiValues() {
    MachineSettingsFile machine(machineSettingsFile());
    app::writeMidiValues(machine, Settings.midiInputDevice, Settings.midiOutputDevice, Settings.syncDelay);
}

bool TKalvintorMain::EndSession(bool cancellable) {
    // Results of five answers or more are offered for saving.
    if (!Guest && !TutorEditorActive) {
        const std::uint16_t answered = ExercisesWithQuestions(0x3FF, 5);
        if (answered != 0) {
            const auto buttons = cancellable ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                             : QMessageBox::Yes | QMessageBox::No;
            const auto answer =
                QMessageBox::question(this, text(5008, "Confirm"),
                                      text(98, "Do you want to save the results of this session?"), buttons);
            if (answer == QMessageBox::Cancel) return false;
            if (answer == QMessageBox::Yes) {
                SaveSessionResults(answered, TutorActive, false);
                RestartSession(0);
            }
        }
    }
    // The tutor editor agrees first; tutor material never outlives the session.
    if (TutorEditorActive && !LeaveTutorEditorForClose()) return false;
    RestoreTutorCatalogue();
    if (!Setup.ConfirmSetupChange()) return false;
    KeepUserState();
    return true;
}

void TKalvintorMain::KeepUserState() {
    MainStartup& s = startup();
    if (!Guest && s.store && s.store->CurrentUser()) {
        data::UserRecord record = s.store->CurrentUser()->record;
        record.setupFile = Setup.setupName;
        if (s.store->ReloadUser(record)) {
            record.setupFile = Setup.setupName;
            if (s.store->SaveUser(record)) s.store->CurrentUser()->record.setupFile = Setup.setupName;
        }
    }
    if (!Guest && AccessRights[app::kRightPrivateSettings]) StoreSettings(false);
    storeMidiValues();
}

bool TKalvintorMain::CloseQuery() {
    try {
        return EndSession(true) && letUnsavedResultsGo(*this);
    } catch (const std::exception&) {
        return true;  // an error never traps the user in the program
    }
}

void TKalvintorMain::closeEvent(QCloseEvent* event) {
    if (!StartupDialogue || quitting_ || CloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TKalvintorMain::ChangeUser() {
    MainStartup& s = startup();
    if (!s.dataUsable || !EndSession(true)) return;
    EndTutorModes();
    RestartSession(0);
    LogIn();
    if (quitting_) return;
    ApplySettings(false);
    ChooseStartSetup();
    if (menu_) ShowMaximized(menu_);
}

}  // namespace kalvintor::ui
