// The menu bar: every item does what it says, the states follow the level and the view.
#include "SettingsFixture.h"
#include "app/THelpWindow.h"
#include "app/ViewTags.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolButton>
#include <QUrl>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QStringList urls;
public slots:
    void open(const QUrl& url) { urls << url.toString(); }
};

QList<QAction*> commandItems(QMenuBar* bar) {
    QList<QAction*> items;
    for (QAction* a : bar->findChildren<QAction*>())
        if (!a->isSeparator() && a->menu() == nullptr && !a->objectName().isEmpty()) items << a;
    return items;
}

void openMenus(QMenuBar* bar) {
    for (QMenu* menu : bar->findChildren<QMenu*>()) emit menu->aboutToShow();
}

}  // namespace

TEST(Menus, EveryItemDoesWhatItSays) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    main.Guest = false;
    main.SelectView(1, 1);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("mailto", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    QString modalClass;
    const auto closesModal = [&modalClass] {
        modalClass.clear();
        whenModal([&modalClass](QWidget* modal) {
            modalClass = modal->metaObject()->className();
            modal->close();
        });
    };
    const auto sent = [&] { return shell.recording->Output()->Sent().size(); };

    using Check = std::function<void(QAction*)>;
    const auto opens = [&](const char* windowClass) {
        return Check([&, windowClass](QAction* a) {
            closesModal();
            a->trigger();
            EXPECT_EQ(modalClass, windowClass) << a->objectName().toStdString();
        });
    };
    const auto toggles = [&](bool& flag) {
        return Check([&flag](QAction* a) {
            const bool before = flag;
            a->trigger();
            EXPECT_NE(flag, before) << a->objectName().toStdString();
            a->trigger();
        });
    };
    const auto helpTopic = [&](int topic) {
        return Check([&, topic](QAction* a) {
            a->trigger();
            EXPECT_EQ(main.helpWindow()->currentTopic(), topic) << a->objectName().toStdString();
            main.helpWindow()->hide();
        });
    };
    const auto sends = Check([&](QAction* a) {
        const auto before = sent();
        a->trigger();
        EXPECT_GT(sent(), before) << a->objectName().toStdString();
    });
    const auto panel = [&](int index) {
        return Check([&, index](QAction* a) {
            const bool before = main.ToolPanelWanted(index);
            a->trigger();
            EXPECT_NE(main.ToolPanelWanted(index), before);
            a->trigger();
        });
    };
    QHash<QString, Check> checks = {
        {"Hentstandardopstning1", opens("kalvintor::ui::TLevels")},
        {"Gemopstning1", opens("kalvintor::ui::TSaveSetupDialog")},
        {"Restartexercise",
         [&](QAction* a) {
             shell.exercise->QuestionCount = 3;
             a->trigger();
             EXPECT_EQ(shell.exercise->QuestionCount, 0);
         }},
        {"Overview1",
         [&](QAction* a) {
             a->trigger();
             EXPECT_EQ(main.CurrentExercise, 0);
             main.SelectView(1, 1);
         }},
        {"Standard", panel(kPanelStandard)},
        {"Result", panel(kPanelScore)},
        {"Speed", panel(kPanelTempo)},
        {"Extra", panel(kPanelExtras)},
        {"Programsettings1", opens("kalvintor::ui::TProgramSettings")},
        {"MIDIallnotesoff1", sends},
        {"ResetMIDIcontrollers1", sends},
        {"MIDIremote1", toggles(main.Settings.controlByMidiTones)},
        {"Autonewquest1", toggles(main.Settings.autoNewQuestion)},
        {"ShowMetronome1", toggles(main.Settings.visualMetronome)},
        {"Playmetronome1", toggles(main.Settings.metronomePlaying)},
        {"Rhythmwithmetronome1", toggles(main.Settings.rhythmWithMetronome)},
        {"Indhold1", helpTopic(1)},
        {"Contexthelp1", helpTopic(11)},
        {"Intervals1", helpTopic(501)},
        {"Chords1", helpTopic(503)},
        {"Scales1", helpTopic(502)},
        {"Keyboardshortcuts1", helpTopic(9)},
        {"Usingthemicrophone1", helpTopic(8)},
        {"Reportbugs1",
         [&](QAction* a) {
             a->trigger();
             ASSERT_FALSE(catcher.urls.isEmpty());
             EXPECT_TRUE(catcher.urls.last().startsWith("mailto:"));
         }},
        {"KalvintorWeb1",
         [&](QAction* a) {
             a->trigger();
             EXPECT_TRUE(catcher.urls.last().startsWith("https:"));
         }},
        {"OmKalvintor1", opens("kalvintor::ui::TAboutBox")},
        {"Activatetutor1",
         [&](QAction* a) {
             // A user without a tutor who may not choose one is told so, and no tutor starts.
             main.SpeedButton10->setEnabled(true);
             closesModal();
             a->trigger();
             EXPECT_EQ(modalClass, "QMessageBox");
             EXPECT_FALSE(main.TutorActive);
             EXPECT_FALSE(main.SpeedButton10->isChecked());
         }},
        {"Tutoreditor2",
         [&](QAction* a) {
             // Exercise 1 has no setup view here: the editor, which works beside it, stays shut.
             main.SpeedButton9->setEnabled(true);
             a->trigger();
             EXPECT_FALSE(main.TutorEditorActive);
             EXPECT_FALSE(main.SpeedButton9->isChecked());
         }},
    };
    for (int e = 1; e <= 10; ++e)
        for (int v = 1; v <= 4; ++v)
            checks.insert(QStringLiteral("Exercise%1View%2").arg(e).arg(v), [&, e, v](QAction* a) {
                main.SelectView(1, 1);
                a->trigger();
                // Only exercise 1 has a window here; it has no setup, results or overview views.
                const bool exists = e == 1 && v == 1;
                EXPECT_EQ(main.CurrentExercise == e && main.CurrentView == v, exists)
                    << a->objectName().toStdString();
            });

    QAction* exit = nullptr;
    for (QAction* a : commandItems(main.menuBar())) {
        if (a->objectName() == "Afslut1") {
            exit = a;
            continue;
        }
        ASSERT_TRUE(checks.contains(a->objectName()))
            << "an item without a check: " << a->objectName().toStdString();
        EXPECT_FALSE(a->text().isEmpty());
        checks[a->objectName()](a);
    }
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    main.show();
    exit->trigger();
    EXPECT_FALSE(main.isVisible());
    QDesktopServices::unsetUrlHandler("mailto");
    QDesktopServices::unsetUrlHandler("https");
}

TEST(Menus, KeysOfTheItems) {
    SettingsShell shell;
    const QHash<QString, QKeySequence> keys = {
        {"Hentstandardopstning1", QKeySequence(Qt::Key_F2)},
        {"Gemopstning1", QKeySequence(Qt::Key_F3)},
        {"Restartexercise", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"MIDIallnotesoff1", QKeySequence(Qt::SHIFT | Qt::Key_F9)},
        {"ResetMIDIcontrollers1", QKeySequence(Qt::CTRL | Qt::Key_F9)},
        {"MIDIremote1", QKeySequence(Qt::CTRL | Qt::Key_F12)},
        {"Autonewquest1", QKeySequence(Qt::SHIFT | Qt::Key_F2)},
        {"Playmetronome1", QKeySequence(Qt::CTRL | Qt::Key_M)},
        {"Indhold1", QKeySequence()},
        {"Contexthelp1", QKeySequence(Qt::Key_F1)},
    };
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        QAction* a = shell.main.menuAction(it.key());
        ASSERT_NE(a, nullptr) << it.key().toStdString();
        EXPECT_EQ(a->shortcut(), it.value()) << it.key().toStdString();
    }
    // Every menu title has its accelerator.
    for (QAction* title : shell.main.menuBar()->actions()) EXPECT_TRUE(title->text().startsWith('&'));
}

TEST(Menus, StatesFollowTheLevelAndTheView) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    QMenuBar* bar = main.menuBar();

    // A guest: no saving of setups.
    main.Guest = true;
    main.AccessRights.fill(false);
    main.SelectView(1, 1);
    openMenus(bar);
    EXPECT_FALSE(main.menuAction("Gemopstning1")->isEnabled());
    EXPECT_FALSE(main.menuAction("Exercise1View2")->isEnabled());
    EXPECT_FALSE(main.menuAction("Exercise1View4")->isVisible());
    EXPECT_TRUE(main.menuAction("Exercise1View1")->isChecked());

    // A teacher in the setup view: setup checked, overview shown, tool panels other than the
    // standard one not available outside the exercise view.
    main.Guest = false;
    main.UserLevel = 2;
    main.AccessRights.fill(true);
    main.CurrentView = 2;  // no setup window is registered here; the menus read the view in front
    openMenus(bar);
    EXPECT_TRUE(main.menuAction("Gemopstning1")->isEnabled());
    EXPECT_TRUE(main.menuAction("Exercise1View2")->isChecked());
    EXPECT_FALSE(main.menuAction("Exercise1View1")->isChecked());
    EXPECT_TRUE(main.menuAction("Exercise1View4")->isVisible());
    EXPECT_FALSE(main.menuAction("Speed")->isEnabled());
    EXPECT_TRUE(main.menuAction("Standard")->isEnabled());
    EXPECT_FALSE(main.menuAction("Rhythmwithmetronome1")->isVisible());

    // Opening a menu stops the automatic new question.
    main.AutoNewQuestTimer.start(5000);
    emit main.menuBar()->findChild<QMenu*>("Options1")->aboutToShow();
    EXPECT_FALSE(main.AutoNewQuestTimer.isActive());
}

#include "MenusTest.moc"
