// The main window's menu commands around the results, the users and the answer input: the
// "Answer Input" menu, the users submenu, the result periods, key names, and the Help menu's
// addresses.
#include "MachineSettingsFile.h"
#include "MainMenuItems.h"
#include "MainStartup.h"
#include "ResultCommands.h"
#include "TExerciseBaseClass.h"
#include "TKalvintorMain.h"
#include "Texts.h"
#include "app/MachineSettings.h"
#include "app/ViewTags.h"
#include "users/TUserslist.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

// The four answer displays of the menu: component, text, key and the bit of the answer mask.
struct AnswerItem {
    const char* name;
    int id;
    const char* english;
    Qt::Key key;
    std::uint8_t bit;
    const char* windowButton;  // the pitch window's own switch for the display
};
constexpr AnswerItem kAnswerItems[] = {
    {"Notesheet1", 260, "Notesheet", Qt::Key_F5, 8, "InputNotesheet"},
    {"Answerbyname1", 250, "Answer by name", Qt::Key_F6, 1, "InputNames"},
    {"Guitar1", 257, "Guitar", Qt::Key_F7, 4, "InputGuitar"},
    {"Piano1", 255, "Piano", Qt::Key_F8, 2, "InputPiano"},
};

QAction* answerAction(TKalvintorMain& main, const AnswerItem& item) {
    return main.menuAction(QString::fromLatin1(item.name));
}

QString machineValue(std::string_view value) {
    MachineSettingsFile machine(machineSettingsFile());
    const auto text = machine.readValue(app::kHelpKey, value);
    return text ? QString::fromStdString(*text).trimmed() : QString();
}

}  // namespace

ResultCommands* resultCommands(TKalvintorMain& main) {
    return dynamic_cast<ResultCommands*>(main.infoView(app::kViewResults));
}

void CreateAnswerInputMenu(TKalvintorMain& main, QMenu* menu) {
    auto* displays = new QActionGroup(menu);
    for (const AnswerItem& item : kAnswerItems) {
        QAction* action = addItem(menu, item.name, item.id, item.english, QKeySequence(Qt::SHIFT | item.key));
        action->setCheckable(true);
        if (item.bit != 1) displays->addAction(action);
        // The item's new state joins the others as the exercise or the setup dialogs have them.
        QObject::connect(action, &QAction::triggered, &main, [&main, action](bool on) {
            main.RefillAnswerInputMenu(true);
            action->setChecked(on);
            main.RefillAnswerInputMenu(false);
        });
    }
    menu->addSeparator();
    QAction* microphone =
        addItem(menu, "Microphone1", 32, "Microphone", QKeySequence(Qt::SHIFT | Qt::Key_F11));
    microphone->setCheckable(true);
    QObject::connect(microphone, &QAction::triggered, &main, [&main] {
        if (main.SpeedButton3 && main.SpeedButton3->isEnabled()) main.SpeedButton3->click();
    });
    QAction* midiIn = addItem(menu, "MIDIin1", 34, "MIDI in", QKeySequence(Qt::SHIFT | Qt::Key_F12));
    midiIn->setCheckable(true);
    QObject::connect(midiIn, &QAction::triggered, &main, [&main] {
        if (main.MIDIin) main.MIDIin->click();
    });
    QObject::connect(menu, &QMenu::aboutToShow, &main, [&main] {
        main.AutoNewQuestTimer.stop();
        main.RefillAnswerInputMenu(true);
    });
}

void TKalvintorMain::RefillAnswerInputMenu(bool load) {
    const int e = CurrentExercise;
    const app::MenuContext c = MenuContextNow();
    const std::size_t index = static_cast<std::size_t>(e >= 1 && e <= 10 ? e - 1 : 0);
    std::uint8_t& mask = Settings.answerInputs[index].mask;
    std::uint8_t& display = Settings.answerInputs[0].instrument;
    const app::AnswerInputState state = app::AnswerInputMenuState(c, mask, display);
    QAction* byName = answerAction(*this, kAnswerItems[1]);
    if (QActionGroup* group = answerAction(*this, kAnswerItems[0])->actionGroup())
        group->setExclusionPolicy(state.radio ? QActionGroup::ExclusionPolicy::Exclusive
                                              : QActionGroup::ExclusionPolicy::None);
    QAction* notesheet = answerAction(*this, kAnswerItems[0]);
    QAction* guitar = answerAction(*this, kAnswerItems[2]);
    QAction* piano = answerAction(*this, kAnswerItems[3]);
    QAction* microphone = menuAction(QStringLiteral("Microphone1"));
    QAction* midiIn = menuAction(QStringLiteral("MIDIin1"));
    if (load) {
        apply(notesheet, state.notesheet);
        apply(byName, state.byName);
        apply(guitar, state.guitar);
        apply(piano, state.piano);
        apply(microphone, state.microphone);
        apply(midiIn, state.midiIn);
        microphone->setChecked(SpeedButton3 && SpeedButton3->isChecked());
        midiIn->setChecked(MIDIin && MIDIin->isChecked());
        return;
    }
    if (c.view == app::kViewExercise && e != 0) {
        mask = app::AnswerMaskFromChecks(byName->isChecked(), piano->isChecked(), guitar->isChecked(),
                                         notesheet->isChecked());
        // A pitch window takes the mask through its own switches, as if the student pressed them.
        if (TExerciseBaseClass* window = exerciseWindow(e); window && app::IsPitchExerciseWindow(e)) {
            for (const AnswerItem& item : kAnswerItems) {
                auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(item.windowButton));
                if (button && button->isEnabled() && button->isChecked() != ((mask & item.bit) != 0))
                    button->click();
            }
        }
    } else if (c.view == app::kViewSetup && e != 0) {
        display =
            app::SetupDisplayFromChecks(piano->isChecked(), guitar->isChecked(), notesheet->isChecked());
        // The setup dialog draws its answer pictures again for the new display.
        if (SetupView* view = setupView(e)) {
            view->StoreSetup(e, Setup.current);
            view->LoadSetup(e, Setup.current);
        }
    }
    RefillAnswerInputMenu(true);
}

QMenu* CreateUsersMenu(TKalvintorMain& main, QMenu* menu) {
    auto* group = new QActionGroup(menu);
    const auto add = [&main, menu, group](const QString& caption, int classId) {
        QAction* item = menu->addAction(caption);
        item->setCheckable(true);
        item->setData(classId);
        item->setActionGroup(group);
        QObject::connect(item, &QAction::triggered, &main,
                         [&main, classId] { main.FilterUsersByClass(classId); });
        return item;
    };
    add(text(6304, "A Users"), -1)->setObjectName(QStringLiteral("AUsers1"));
    add(text(6306, "U not in class"), 0)->setObjectName(QStringLiteral("Unotinclass1"));
    QObject::connect(menu, &QMenu::aboutToShow, &main, [&main, menu, add] {
        const QList<QAction*> items = menu->actions();
        items[0]->setText(text(6304, "A Users"));
        items[1]->setText(text(6306, "U not in class"));
        for (int i = 2; i < items.size(); ++i) delete items[i];
        if (main.Store)
            for (const auto& c : main.Store->ClassList())
                if (c->record.classId != 0)
                    add(QString::fromStdString(c->record.className), c->record.classId)
                        ->setObjectName(QStringLiteral("Class%1").arg(c->record.classId));
        const int filter = main.userslist() ? main.userslist()->classFilter() : -1;
        for (QAction* item : menu->actions()) item->setChecked(item->data().toInt() == filter);
    });
    return menu;
}

void TKalvintorMain::FilterUsersByClass(int classId) {
    if (TUserslist* list = userslist()) list->setClassFilter(classId);
}

void TKalvintorMain::ImportExportClick() {
    if (ResultCommands* results = resultCommands(*this)) {
        results->OpenTransfer();
        SelectView(CurrentExercise, CurrentView);
    }
}

void TKalvintorMain::DeleteResultsClick() {
    if (ResultCommands* results = resultCommands(*this)) results->DeleteResults();
}

void TKalvintorMain::PrintClick() {
    ResultCommands* results = resultCommands(*this);
    if (!results || Guest) return;
    ReportWindowsCreated = true;
    results->OpenReports(CurrentExercise >= 1 && CurrentExercise <= 10 ? CurrentExercise : 1);
}

namespace {
// The days of the "Result sumations" items, index = the item the settings keep.
constexpr int kPeriodDays[] = {0, 2, 7, 14, 30};
}  // namespace

void TKalvintorMain::ApplyResultPeriod() {
    // An index beyond the menu leaves the period as it is.
    if (Settings.statisticsPeriod < std::size(kPeriodDays))
        ChooseResultPeriod(kPeriodDays[Settings.statisticsPeriod]);
}

void TKalvintorMain::ChooseResultPeriod(int days) {
    for (std::uint16_t item = 0; item < std::size(kPeriodDays); ++item)
        if (kPeriodDays[item] == days) Settings.statisticsPeriod = item;
    if (!Store || Store->StatisticsPeriod == days) return;
    Store->StatisticsPeriod = static_cast<std::uint8_t>(days);
    for (const auto& user : Store->UserList()) user->statisticsValid = false;
    if (data::TUserInfo* selected = Store->SelectedUser()) Store->ComputeStatistics(*selected);
    if (CurrentView == app::kViewResults || CurrentView == app::kViewUserOverview)
        if (InfoView* view = infoView(CurrentView)) view->ShowView(CurrentExercise);
}

void TKalvintorMain::ShowKeynameClick(bool on) {
    Settings.showKeyNames = on;
    // A pitch window passes the flag to its staff when it takes its setup again.
    if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise);
        window && app::IsPitchExerciseWindow(CurrentExercise)) {
        window->ApplySetup(false);
        window->update();
    }
}

QMenu* TKalvintorMain::createPopupMenu() {
    QMenu* panels = menuBar()->findChild<QMenu*>(QStringLiteral("Speedbar1"));
    if (!panels) return nullptr;
    // The View menu sets the items' states when it opens; so does the pop-up.
    if (QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("View1"))) emit view->aboutToShow();
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    int number = 1;
    for (QAction* item : panels->actions()) {
        QAction* mirror = popup->addAction(QString::number(number++));
        mirror->setToolTip(item->text());
        mirror->setCheckable(true);
        mirror->setChecked(item->isChecked());
        mirror->setEnabled(item->isEnabled());
        connect(mirror, &QAction::triggered, item, &QAction::trigger);
    }
    return popup;
}

void TKalvintorMain::ApplyMenuAccess() {
    if (QMenu* options = menuBar()->findChild<QMenu*>(QStringLiteral("Options1")))
        options->menuAction()->setVisible(Access.command(app::Command::OptionsMenu).visible);
}

QString TKalvintorMain::SupportAddress() const {
    return machineValue(app::kSupportMailValue);
}

QString TKalvintorMain::WebAddress() const {
    return machineValue(app::kWebPageValue);
}

}  // namespace kalvintor::ui
