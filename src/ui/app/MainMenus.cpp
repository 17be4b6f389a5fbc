// The main window's menu bar: every command with its key, and the visible, enabled and checked
// state each menu takes from the user's level, the view and the exercise when it opens.
#include "MainMenuItems.h"
#include "MainSound.h"
#include "MainStartup.h"
#include "ResultCommands.h"
#include "TExerciseBaseClass.h"
#include "THelpWindow.h"
#include "TKalvintorMain.h"
#include "Texts.h"
#include "app/ExerciseNames.h"
#include "app/MenuState.h"
#include "app/ViewTags.h"
#include "data/SessionResult.h"
#include "settings/TAboutBox.h"

#include <QActionGroup>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace kalvintor::ui {

namespace {

// The exercises in the order of the "Exercises" menu.
constexpr int kMenuOrder[10] = {3, 2, 1, 7, 10, 8, 5, 4, 6, 9};

QMenu* addMenu(QMenuBar* bar, const char* name, int id, const char* english) {
    auto* menu = new QMenu(bar);
    menu->setObjectName(QString::fromLatin1(name));
    bindText(
        menu, id, [menu](const QString& t) { menu->setTitle(t); }, language::Decoration::MenuTitle);
    menu->setTitle(QStringLiteral("&") + text(id, english));
    bar->addMenu(menu);
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* name, int id, const char* english) {
    QMenu* menu = parent->addMenu(text(id, english));
    menu->setObjectName(QString::fromLatin1(name));
    bindText(menu, id, [menu](const QString& t) { menu->setTitle(t); });
    return menu;
}

}  // namespace

QAction* addItem(QMenu* menu, const char* name, int id, const char* english, const QKeySequence& key,
                 bool dialog) {
    QAction* action = menu->addAction(text(id, english) + (dialog ? QStringLiteral("...") : QString()));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    bindText(
        action, id, [action](const QString& t) { action->setText(t); },
        dialog ? language::Decoration::OpensDialog : language::Decoration::None);
    return action;
}

void apply(QAction* action, const app::ItemState& state) {
    action->setVisible(state.visible);
    action->setEnabled(state.enabled);
    if (action->isCheckable()) action->setChecked(state.checked);
}

namespace {

// The periods of "Result sumations": component, caption text and the days counted back.
struct PeriodItem {
    const char* name;
    int id;
    const char* english;
    int days;
};
constexpr PeriodItem kPeriods[] = {{"Period1day", 51, "1 day", 0},
                                   {"Period3days", 53, "3 days", 2},
                                   {"Period1week", 55, "1 week", 7},
                                   {"Period2weeks", 56, "2 weeks", 14},
                                   {"Period1month", 58, "1 month", 30}};

}  // namespace

QAction* TKalvintorMain::menuAction(const QString& name) const {
    if (QAction* item = menuBar()->findChild<QAction*>(name)) return item;
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

app::MenuContext TKalvintorMain::MenuContextNow() const {
    app::MenuContext c;
    c.access = Access;
    c.exercise = CurrentExercise;
    c.view = CurrentView;
    c.tutorActive = TutorActive;
    c.tutorEditorActive = TutorEditorActive;
    if (const TExerciseBaseClass* window = exerciseWindow(CurrentExercise))
        c.forcedAnswerInput = window->ForcedAnswerInput != 0;
    if (app::IsPitchExerciseWindow(CurrentExercise)) {
        const int e = CurrentExercise;
        c.keyNamesAllowed = app::KeyNamesAllowed(e, e == 9 ? 0 : Setup.current.pitchBlock(e).showKeySignature,
                                                 Setup.current.melodyBlock().melodyType);
    }
    return c;
}

void TKalvintorMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setAccessibleName(QStringLiteral("Menu"));

    // File.
    QMenu* file = addMenu(bar, "File1", 5, "File");
    connect(addItem(file, "Hentstandardopstning1", 10, "Load", Qt::Key_F2), &QAction::triggered, this,
            [this] { ChooseSetup(); });
    // "Save setup..." is the window's own command with its F3 key; the menu shows it.
    if (QAction* save = findChild<QAction*>(QStringLiteral("Gemopstning1"), Qt::FindDirectChildrenOnly))
        file->addAction(save);
    AddTutorMenuItems(file);
    QAction* userSeparator = file->addSeparator();
    connect(addItem(file, "Userinfo1", 18, "User info", {}, true), &QAction::triggered, this,
            [this] { UserInfo(); });
    connect(addItem(file, "Changeuser1", 8000, "Log in as another user", {}, true), &QAction::triggered, this,
            [this] { ChangeUser(); });
    connect(addItem(file, "ImportExport", 19, "Import/Export user data", {}, true), &QAction::triggered, this,
            [this] { ImportExportClick(); });
    file->addSeparator();
    connect(addItem(file, "Restartexercise", 20, "Reset current results",
                    QKeySequence(Qt::CTRL | Qt::Key_Delete)),
            &QAction::triggered, this, [this] { RestartExerciseClick(); });
    connect(addItem(file, "Deleteresults1", 26, "Delete results", {}, true), &QAction::triggered, this,
            [this] { DeleteResultsClick(); });
    connect(addItem(file, "Reports1", 22, "Print", Qt::Key_F10, true), &QAction::triggered, this,
            [this] { PrintClick(); });
    file->addSeparator();
    connect(addItem(file, "Afslut1", 25, "Exit", QKeySequence(Qt::ALT | Qt::Key_F4)), &QAction::triggered,
            this, [this] { close(); });
    connect(file, &QMenu::aboutToShow, this, [this, userSeparator] {
        AutoNewQuestTimer.stop();
        const app::MenuContext c = MenuContextNow();
        const ResultCommands* results = resultCommands(*this);
        apply(menuAction("Gemopstning1"), app::MenuCommandState(app::MenuCommand::SaveSetup, c));
        apply(menuAction("Hentstandardopstning1"), app::MenuCommandState(app::MenuCommand::Load, c));
        apply(menuAction("Restartexercise"), app::MenuCommandState(app::MenuCommand::ResetResults, c));
        apply(menuAction("Userinfo1"), app::MenuCommandState(app::MenuCommand::UserInfo, c));
        apply(menuAction("Changeuser1"), app::MenuCommandState(app::MenuCommand::ChangeUser, c));
        menuAction("Changeuser1")->setEnabled(startup().dataUsable);
        userSeparator->setVisible(menuAction("Userinfo1")->isVisible() ||
                                  menuAction("Changeuser1")->isVisible());
        apply(menuAction("ImportExport"), app::MenuCommandState(app::MenuCommand::ImportExport, c));
        apply(menuAction("Deleteresults1"), app::MenuCommandState(app::MenuCommand::DeleteResults, c));
        apply(menuAction("Reports1"), app::MenuCommandState(app::MenuCommand::Print, c));
        for (const char* name : {"ImportExport", "Deleteresults1", "Reports1"})
            if (!results) menuAction(name)->setEnabled(false);
    });

    // Exercises: one submenu per exercise, then the overview.
    QMenu* exercises = addMenu(bar, "Exercises1", 30, "Exercises");
    connect(exercises, &QMenu::aboutToShow, this, [this] { AutoNewQuestTimer.stop(); });
    for (int position = 0; position < 10; ++position) {
        const int e = kMenuOrder[position];
        const QString name = QStringLiteral("Exercise%1").arg(e);
        QMenu* sub = exercises->addMenu(text(app::ExerciseNameText(e), app::ExerciseEnglishName(e).data()));
        sub->setObjectName(name);
        bindText(sub, app::ExerciseNameText(e), [sub](const QString& t) { sub->setTitle(t); });
        const int ids[4] = {42, 44, 46, 47};
        const char* english[4] = {"Exercise", "Exercise setup", "Results", "User overview"};
        for (int v = 1; v <= 4; ++v) {
            QAction* item = addItem(sub, "", ids[v - 1], english[v - 1]);
            item->setObjectName(name + QStringLiteral("View%1").arg(v));
            item->setCheckable(v <= 3);
            const int tag = v * 256 + e;
            connect(item, &QAction::triggered, this, [this, tag] { Speed1Click(tag); });
        }
        connect(sub, &QMenu::aboutToShow, this, [this, sub, e] {
            const auto states = app::ExerciseSubmenuState(e, MenuContextNow());
            const QList<QAction*> items = sub->actions();
            for (int v = 1; v <= 4; ++v) {
                app::ItemState state = states[static_cast<std::size_t>(v - 1)];
                state.enabled = state.enabled && ViewAvailable(e, v);
                apply(items[v - 1], state);
            }
        });
    }
    exercises->addSeparator();
    connect(addItem(exercises, "Overview1", 31, "Overview"), &QAction::triggered, this,
            [this] { Speed1Click(app::kTagOverview); });

    CreateAnswerInputMenu(*this, addMenu(bar, "AnswerInput1", 245, "Answer Input"));

    // View: the users of a class, the result periods, the tool panels and refresh.
    QMenu* view = addMenu(bar, "View1", 40, "View");
    QMenu* users = CreateUsersMenu(*this, addSubmenu(view, "Usrs1", 6300, "Users"));
    QMenu* periods = addSubmenu(view, "Resultsumations1", 45, "Result sumations");
    auto* periodGroup = new QActionGroup(periods);
    for (const auto& p : kPeriods) {
        QAction* item = addItem(periods, p.name, p.id, p.english);
        item->setCheckable(true);
        item->setActionGroup(periodGroup);
        item->setData(p.days);
        connect(item, &QAction::triggered, this, [this, days = p.days] { ChooseResultPeriod(days); });
    }
    QMenu* panels = addSubmenu(view, "Speedbar1", 48, "Speedbar");
    const int panelIds[4] = {60, 61, 62, 63};
    const char* panelNames[4] = {"Standard", "Result", "Speed", "Extra"};
    const int panelTags[4] = {kPanelStandard, kPanelScore, kPanelTempo, kPanelExtras};
    for (int i = 0; i < 4; ++i) {
        QAction* item = addItem(panels, panelNames[i], panelIds[i], panelNames[i]);
        item->setCheckable(true);
        const int tag = panelTags[i];
        connect(item, &QAction::triggered, this, [this, item, tag] {
            const bool on = !wanted_[static_cast<std::size_t>(tag)];
            wanted_[static_cast<std::size_t>(tag)] = on;
            item->setChecked(on);
            const bool inExercise = CurrentView == app::kViewExercise && CurrentExercise != 0;
            ShowToolPanel(tag, tag == kPanelStandard || inExercise);
        });
    }
    QAction* refreshSeparator = view->addSeparator();
    connect(addItem(view, "Refresh1", 49, "Refresh", Qt::Key_F12), &QAction::triggered, this, [this] {
        RefreshUsers();
        if (CurrentView == app::kViewResults)
            if (InfoView* results = infoView(app::kViewResults)) results->ShowView(CurrentExercise);
    });
    connect(view, &QMenu::aboutToShow, this, [this, panels, panelTags, users, periods, refreshSeparator] {
        AutoNewQuestTimer.stop();
        const app::MenuContext c = MenuContextNow();
        apply(users->menuAction(), app::MenuCommandState(app::MenuCommand::Users, c));
        apply(periods->menuAction(), app::MenuCommandState(app::MenuCommand::ResultPeriods, c));
        const int days = Store ? Store->StatisticsPeriod : 7;
        for (QAction* item : periods->actions()) item->setChecked(item->data().toInt() == days);
        apply(menuAction("Refresh1"), app::MenuCommandState(app::MenuCommand::Refresh, c));
        refreshSeparator->setVisible(menuAction("Refresh1")->isVisible());
        const bool inExercise = CurrentView == app::kViewExercise && CurrentExercise != 0;
        const QList<QAction*> items = panels->actions();
        for (int i = 0; i < 4; ++i) {
            items[i]->setEnabled(i == 0 || inExercise);
            items[i]->setChecked(wanted_[static_cast<std::size_t>(panelTags[i])]);
        }
    });

    // Options.
    QMenu* options = addMenu(bar, "Options1", 70, "Options");
    connect(addItem(options, "Programsettings1", 100, "Program settings", {}, true), &QAction::triggered,
            this, [this] { Opstning1Click(); });
    connect(addItem(options, "Classmaintenance1", 23, "Class maintenance", Qt::Key_F11, true),
            &QAction::triggered, this, [this] { ClassMaintenance(); });
    connect(addItem(options, "Program1", 71, "Administration", {}, true), &QAction::triggered, this,
            [this] { Administration(); });
    options->addSeparator();
    connect(addItem(options, "MIDIallnotesoff1", 5150, "MIDI all notes off",
                    QKeySequence(Qt::SHIFT | Qt::Key_F9)),
            &QAction::triggered, this, [this] { sound_->midiOut().AllNotesOff(); });
    connect(addItem(options, "ResetMIDIcontrollers1", 5151, "MIDI reset controllers",
                    QKeySequence(Qt::CTRL | Qt::Key_F9)),
            &QAction::triggered, this, [this] { sound_->midiOut().ResetControllers(); });
    QAction* remote =
        addItem(options, "MIDIremote1", 5153, "MIDI remote", QKeySequence(Qt::CTRL | Qt::Key_F12));
    remote->setCheckable(true);
    connect(remote, &QAction::triggered, this, [this](bool on) {
        Settings.controlByMidiTones = on;
        sound_->router().BuildControlKeySet();
    });
    QAction* autoQuestion =
        addItem(options, "Autonewquest1", 375, "Auto new quest", QKeySequence(Qt::SHIFT | Qt::Key_F2));
    autoQuestion->setCheckable(true);
    connect(autoQuestion, &QAction::triggered, this, [this](bool on) {
        Settings.autoNewQuestion = on;
        if (!on) AutoNewQuestTimer.stop();
    });
    options->addSeparator();
    QAction* showMetronome = addItem(options, "ShowMetronome1", 5156, "Metronome show ");
    showMetronome->setCheckable(true);
    connect(showMetronome, &QAction::triggered, this, [this] { VisualMetronomeClick(true); });
    QAction* playMetronome =
        addItem(options, "Playmetronome1", 5157, "Metronome play", QKeySequence(Qt::CTRL | Qt::Key_M));
    playMetronome->setCheckable(true);
    connect(playMetronome, &QAction::triggered, this, [this] { MetroClick(true); });
    QAction* rhythmMetronome = addItem(options, "Rhythmwithmetronome1", 940, "Rhythm with metronome");
    rhythmMetronome->setCheckable(true);
    connect(rhythmMetronome, &QAction::triggered, this, [this](bool on) {
        Settings.rhythmWithMetronome = on;
        if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise)) window->SettingsChanged();
    });
    options->addSeparator();
    QMenu* identification = addSubmenu(options, "Noteidentification1", 5159, "Note identification");
    auto* identificationGroup = new QActionGroup(identification);
    const char* modeNames[3] = {"Absolute1", "Anyoctave1", "Relative1"};
    const char* modeEnglish[3] = {"Absolute", "Any octave", "Relative"};
    for (int mode = 0; mode < 3; ++mode) {
        QAction* item = addItem(identification, modeNames[mode], 5160 + mode, modeEnglish[mode]);
        item->setCheckable(true);
        item->setActionGroup(identificationGroup);
        connect(item, &QAction::triggered, this,
                [this, mode] { Settings.answerInputMethod = static_cast<std::uint8_t>(mode); });
    }
    connect(identification, &QMenu::aboutToShow, this, [this, identification] {
        identification->actions()[app::NoteIdentificationItem(Settings.answerInputMethod)]->setChecked(true);
    });
    QAction* keyName = addItem(options, "Showkeyname1", 5164, "Show keyname");
    keyName->setCheckable(true);
    connect(keyName, &QAction::triggered, this, [this](bool on) { ShowKeynameClick(on); });
    connect(options, &QMenu::aboutToShow, this, [this, identification] {
        AutoNewQuestTimer.stop();
        const app::MenuContext c = MenuContextNow();
        apply(menuAction("Programsettings1"), app::MenuCommandState(app::MenuCommand::ProgramSettings, c));
        apply(menuAction("Classmaintenance1"), app::MenuCommandState(app::MenuCommand::ClassMaintenance, c));
        apply(menuAction("Program1"), app::MenuCommandState(app::MenuCommand::Administration, c));
        apply(identification->menuAction(), app::MenuCommandState(app::MenuCommand::NoteIdentification, c));
        apply(menuAction("Showkeyname1"), app::MenuCommandState(app::MenuCommand::ShowKeyname, c));
        menuAction("Showkeyname1")->setChecked(Settings.showKeyNames);
        for (const char* name : {"MIDIremote1", "Autonewquest1"})
            apply(menuAction(name), app::MenuCommandState(app::MenuCommand::ExerciseOptions, c));
        apply(menuAction("Rhythmwithmetronome1"),
              app::MenuCommandState(app::MenuCommand::RhythmWithMetronome, c));
        menuAction("Rhythmwithmetronome1")->setChecked(Settings.rhythmWithMetronome);
        menuAction("MIDIremote1")->setChecked(Settings.controlByMidiTones);
        menuAction("Autonewquest1")->setChecked(Settings.autoNewQuestion);
        menuAction("ShowMetronome1")->setChecked(Settings.visualMetronome);
        menuAction("Playmetronome1")->setChecked(Settings.metronomePlaying);
    });

    // Help.
    QMenu* help = addMenu(bar, "Help1", 80, "Help");
    connect(help, &QMenu::aboutToShow, this, [this] {
        AutoNewQuestTimer.stop();
        // An installation that names no address offers no item that could not reach anyone.
        menuAction("Reportbugs1")->setVisible(!SupportAddress().isEmpty());
        menuAction("KalvintorWeb1")->setVisible(!WebAddress().isEmpty());
    });
    // F1 opens the help of what is shown, as every window promises; the contents are a click away.
    connect(addItem(help, "Indhold1", 83, "Contents..", QKeySequence()), &QAction::triggered, this,
            [this] { helpWindow()->showContents(); });
    connect(addItem(help, "Contexthelp1", 84, "Context help", Qt::Key_F1), &QAction::triggered, this,
            [this] { ContextHelp(); });
    QMenu* theory = addSubmenu(help, "Musictheoryhelp1", 4900, "Music theory help");
    const struct {
        const char* name;
        int id;
        const char* english;
        int topic;
    } topics[] = {{"Intervals1", 4902, "Intervals", 501},
                  {"Chords1", 4903, "Chords", 503},
                  {"Scales1", 4904, "Scales", 502}};
    for (const auto& t : topics)
        connect(addItem(theory, t.name, t.id, t.english), &QAction::triggered, this,
                [this, topic = t.topic] { helpWindow()->showTopic(topic); });
    connect(addItem(help, "Keyboardshortcuts1", 81, "Keyboard shortcuts"), &QAction::triggered, this,
            [this] { helpWindow()->showTopic(9); });
    connect(addItem(help, "Usingthemicrophone1", 82, "Using the microphone"), &QAction::triggered, this,
            [this] { helpWindow()->showTopic(8); });
    help->addSeparator();
    connect(addItem(help, "Reportbugs1", 86, "Report bugs and suggestions", {}, true), &QAction::triggered,
            this, [this] { OpenAddress(QStringLiteral("mailto:") + SupportAddress(), SupportAddress()); });
    connect(addItem(help, "KalvintorWeb1", 87, "Kalvintor Web", {}, true), &QAction::triggered, this,
            [this] { OpenAddress(WebAddress(), WebAddress()); });
    connect(addItem(help, "OmKalvintor1", 85, "About Kalvintor", {}, true), &QAction::triggered, this,
            [this] {
                TAboutBox about(this);
                about.exec();
            });
}

void TKalvintorMain::OpenAddress(const QString& url, const QString& shown) {
    if (!QDesktopServices::openUrl(QUrl(url)))
        QMessageBox::information(this, text(5007, "Information"), shown);
}

void TKalvintorMain::RestartExerciseClick() {
    const int e = CurrentExercise;
    if (e == 0) return;
    if (!Guest && !TutorActive && ExercisesWithQuestions(static_cast<std::uint16_t>(1u << (e - 1)), 5) != 0) {
        const auto answer = QMessageBox::question(
            this, text(5008, "Confirm"), text(98, "Do you want to save the results of this session?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel) return;
        if (answer == QMessageBox::Yes) SaveSessionResult(e, TutorActive, false);
    }
    RestartSession(e);
    if (TExerciseBaseClass* window = exerciseWindow(e)) window->ResetExercise();
}

}  // namespace kalvintor::ui
