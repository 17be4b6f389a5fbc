// The main window's menu bar: every command with its key, and the visible, enabled and checked
// state each menu takes from the user's level, the view and the exercise when it opens.
#include "MainSound.h"
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
constexpr const char* kSupportAddress = "support@kalvintor.org";
constexpr const char* kWebAddress = "https://www.kalvintor.org";

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

QAction* addItem(QMenu* menu, const char* name, int id, const char* english, const QKeySequence& key = {},
                 bool dialog = false) {
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

}  // namespace

QAction* TKalvintorMain::menuAction(const QString& name) const {
    if (QAction* item = menuBar()->findChild<QAction*>(name)) return item;
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

app::MenuContext TKalvintorMain::MenuContextNow() const {
    app::MenuContext c;
    c.level = Guest ? app::kMenuLevelGuest : UserLevel;
    c.rights = AccessRights;
    c.exercise = CurrentExercise;
    c.view = CurrentView;
    c.tutorActive = TutorActive;
    c.tutorEditorActive = TutorEditorActive;
    if (const TExerciseBaseClass* window = exerciseWindow(CurrentExercise))
        c.forcedAnswerInput = window->ForcedAnswerInput != 0;
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
    file->addSeparator();
    connect(addItem(file, "Restartexercise", 20, "Reset current results",
                    QKeySequence(Qt::CTRL | Qt::Key_Delete)),
            &QAction::triggered, this, [this] { RestartExerciseClick(); });
    file->addSeparator();
    connect(addItem(file, "Afslut1", 25, "Exit", QKeySequence(Qt::ALT | Qt::Key_F4)), &QAction::triggered,
            this, [this] { close(); });
    connect(file, &QMenu::aboutToShow, this, [this] {
        AutoNewQuestTimer.stop();
        const app::MenuContext c = MenuContextNow();
        apply(menuAction("Gemopstning1"), app::MenuCommandState(app::MenuCommand::SaveSetup, c));
        apply(menuAction("Hentstandardopstning1"), app::MenuCommandState(app::MenuCommand::Load, c));
        apply(menuAction("Restartexercise"), app::MenuCommandState(app::MenuCommand::ResetResults, c));
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

    // View: the tool panels.
    QMenu* view = addMenu(bar, "View1", 40, "View");
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
    connect(view, &QMenu::aboutToShow, this, [this, panels, panelTags] {
        AutoNewQuestTimer.stop();
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
    connect(rhythmMetronome, &QAction::triggered, this,
            [this](bool on) { Settings.rhythmWithMetronome = on; });
    connect(options, &QMenu::aboutToShow, this, [this] {
        AutoNewQuestTimer.stop();
        const app::MenuContext c = MenuContextNow();
        apply(menuAction("Programsettings1"), app::MenuCommandState(app::MenuCommand::ProgramSettings, c));
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
    connect(help, &QMenu::aboutToShow, this, [this] { AutoNewQuestTimer.stop(); });
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
            this, [this] {
                OpenAddress(QStringLiteral("mailto:") + kSupportAddress,
                            QString::fromLatin1(kSupportAddress));
            });
    connect(addItem(help, "KalvintorWeb1", 87, "Kalvintor Web", {}, true), &QAction::triggered, this,
            [this] { OpenAddress(QString::fromLatin1(kWebAddress), QString::fromLatin1(kWebAddress)); });
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
