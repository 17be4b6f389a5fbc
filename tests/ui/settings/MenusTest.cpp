// The menu bar: every item does what it says, the states follow the level and the view.
#include "SettingsFixture.h"
#include "app/ResultCommands.h"
#include "app/THelpWindow.h"
#include "app/ViewTags.h"
#include "users/TUserLoggin.h"
#include "users/TUserslist.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
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

// The machine settings with the Help menu's addresses, for as long as it lives.
class HelpAddresses {
public:
    HelpAddresses(const QString& file, const QString& mail, const QString& web)
        : previous_(qgetenv("KALVINTOR_MACHINE_SETTINGS")) {
        QSettings ini(file, QSettings::IniFormat);
        ini.setValue("Help/SupportMail", mail);
        ini.setValue("Help/WebPage", web);
        ini.sync();
        qputenv("KALVINTOR_MACHINE_SETTINGS", file.toUtf8());
    }
    ~HelpAddresses() { qputenv("KALVINTOR_MACHINE_SETTINGS", previous_); }

private:
    QByteArray previous_;
};

}  // namespace

TEST(Menus, RhythmWithMetronomeTellsTheShownExerciseSoThatItsBoxFollows) {
    SettingsShell shell;
    shell.main.SelectView(1, 1);
    shell.exercise->calls.clear();
    const bool before = shell.main.Settings.rhythmWithMetronome;
    shell.main.menuAction("Rhythmwithmetronome1")->trigger();
    EXPECT_NE(shell.main.Settings.rhythmWithMetronome, before);
    EXPECT_TRUE(shell.exercise->calls.contains("settingsChanged"));
}

TEST(Menus, EveryItemDoesWhatItSays) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    HelpAddresses addresses(shell.dir.path() + "/kalvintor.ini", "help@school.example",
                            "https://school.example/kalvintor");
    auto* results = new RecordingResults;
    main.SetInfoView(app::kViewResults, results);
    main.CreateTeacherWindows();
    main.SetExerciseWindow(4, new RecordingExercise(4, main));
    // The exercise's own switches for its answer displays.
    for (const char* name : {"InputNames", "InputPiano", "InputGuitar", "InputNotesheet"}) {
        auto* button = new QToolButton(shell.exercise);
        button->setObjectName(name);
        button->setCheckable(true);
    }
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
    const auto inView = [&](int view, const char* menu) {
        main.SelectView(1, view);
        emit main.menuBar()->findChild<QMenu*>(menu)->aboutToShow();
    };
    const auto records = [&](const QString& call) {
        return Check([&, call](QAction* a) {
            results->calls.clear();
            inView(app::kViewResults, "File1");
            a->trigger();
            EXPECT_TRUE(results->calls.contains(call)) << a->objectName().toStdString();
        });
    };
    const auto period = [&](int days, int item) {
        return Check([&, days, item](QAction* a) {
            a->trigger();
            EXPECT_EQ(shell.store->StatisticsPeriod, days);
            EXPECT_EQ(main.Settings.statisticsPeriod, item);
        });
    };
    const auto classFilter = [&](int classId) {
        return Check([&, classId](QAction* a) {
            a->trigger();
            EXPECT_EQ(main.userslist()->classFilter(), classId) << a->objectName().toStdString();
        });
    };
    const auto answerDisplay = [&](std::uint8_t bit, const char* windowButton) {
        return Check([&, bit, windowButton](QAction* a) {
            const std::uint8_t before = main.Settings.answerInputs[0].mask;
            a->trigger();
            const std::uint8_t after = main.Settings.answerInputs[0].mask;
            EXPECT_EQ(after, before ^ bit) << a->objectName().toStdString();
            EXPECT_EQ(shell.exercise->findChild<QToolButton*>(windowButton)->isChecked(), (after & bit) != 0);
        });
    };
    const auto clicks = [&](QToolButton* button) {
        return Check([button](QAction* a) {
            MessageBoxes boxes;  // no microphone here: the button says so
            QSignalSpy clicked(button, &QToolButton::clicked);
            a->trigger();
            EXPECT_EQ(clicked.count(), 1) << a->objectName().toStdString();
            if (button->isChecked()) button->click();
        });
    };
    const auto identification = [&](int mode) {
        return Check([&, mode](QAction* a) {
            main.Settings.answerInputMethod = 9;
            a->trigger();
            EXPECT_EQ(main.Settings.answerInputMethod, mode);
        });
    };
    QHash<QString, Check> checks = {
        {"Hentstandardopstning1", opens("kalvintor::ui::TLevels")},
        {"Gemopstning1", opens("kalvintor::ui::TSaveSetupDialog")},
        {"Userinfo1", opens("kalvintor::ui::TAddUserForm")},
        {"ImportExport", records("transfer")},
        {"Restartexercise",
         [&](QAction* a) {
             shell.exercise->QuestionCount = 3;
             a->trigger();
             EXPECT_EQ(shell.exercise->QuestionCount, 0);
         }},
        {"Deleteresults1", records("delete")},
        {"Reports1", records("reports 1")},
        {"Overview1",
         [&](QAction* a) {
             a->trigger();
             EXPECT_EQ(main.CurrentExercise, 0);
             main.SelectView(1, 1);
         }},
        {"Notesheet1", answerDisplay(8, "InputNotesheet")},
        {"Answerbyname1", answerDisplay(1, "InputNames")},
        {"Guitar1", answerDisplay(4, "InputGuitar")},
        {"Piano1", answerDisplay(2, "InputPiano")},
        {"Microphone1", clicks(main.SpeedButton3)},
        {"MIDIin1", clicks(main.MIDIin)},
        {"AUsers1", classFilter(-1)},
        {"Unotinclass1", classFilter(0)},
        {"Class3", classFilter(3)},
        {"Period1day", period(0, 0)},
        {"Period3days", period(2, 1)},
        {"Period1week", period(7, 2)},
        {"Period2weeks", period(14, 3)},
        {"Period1month", period(30, 4)},
        {"Standard", panel(kPanelStandard)},
        {"Result", panel(kPanelScore)},
        {"Speed", panel(kPanelTempo)},
        {"Extra", panel(kPanelExtras)},
        {"Refresh1",
         [&](QAction* a) {
             // A user another workstation added appears.
             data::DataStore other(shell.store->DataPath());
             data::UserRecord pupil;
             pupil.userId = 8;
             pupil.loginName = "pupil";
             std::vector<std::size_t> taken;
             other.AddUsers({pupil}, taken);
             inView(app::kViewUserOverview, "View1");
             a->trigger();
             EXPECT_TRUE(shell.store->FindUser(8, {}, false));
         }},
        {"Programsettings1", opens("kalvintor::ui::TProgramSettings")},
        {"Classmaintenance1", opens("kalvintor::ui::TClassMaintenance")},
        {"Program1", opens("kalvintor::ui::TSystemadmin")},
        {"MIDIallnotesoff1", sends},
        {"ResetMIDIcontrollers1", sends},
        {"MIDIremote1", toggles(main.Settings.controlByMidiTones)},
        {"Autonewquest1", toggles(main.Settings.autoNewQuestion)},
        {"ShowMetronome1", toggles(main.Settings.visualMetronome)},
        {"Playmetronome1", toggles(main.Settings.metronomePlaying)},
        {"Rhythmwithmetronome1",
         [&](QAction* a) {
             main.SelectView(4, 1);
             emit main.menuBar()->findChild<QMenu*>("Options1")->aboutToShow();
             toggles(main.Settings.rhythmWithMetronome)(a);
         }},
        {"Absolute1", identification(0)},
        {"Anyoctave1", identification(1)},
        {"Relative1", identification(2)},
        {"Showkeyname1",
         [&](QAction* a) {
             // The setup lets the staff name the key.
             auto block = main.Setup.current.pitchBlock(1);
             block.showKeySignature = 1;
             main.Setup.current.setPitchBlock(1, block);
             emit main.menuBar()->findChild<QMenu*>("Options1")->aboutToShow();
             shell.exercise->calls.clear();
             toggles(main.Settings.showKeyNames)(a);
             // The pitch window takes its setup again, so its staff shows the names or not.
             EXPECT_TRUE(shell.exercise->calls.contains("setup"));
         }},
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
             EXPECT_EQ(catcher.urls.last(), "mailto:help@school.example");
         }},
        {"KalvintorWeb1",
         [&](QAction* a) {
             a->trigger();
             EXPECT_EQ(catcher.urls.last(), "https://school.example/kalvintor");
         }},
        {"OmKalvintor1", opens("kalvintor::ui::TAboutBox")},
        {"Activatetutor1",
         [&](QAction* a) {
             // A user without a tutor who may not choose one is told so, and no tutor starts.
             main.SpeedButton10->setEnabled(true);
             const bool mayChoose = main.AccessRights[app::kRightChooseTutor];
             main.AccessRights[app::kRightChooseTutor] = false;
             emit main.menuBar()->findChild<QMenu*>("File1")->aboutToShow();
             closesModal();
             a->trigger();
             main.AccessRights[app::kRightChooseTutor] = mayChoose;
             EXPECT_EQ(modalClass, "QMessageBox");
             EXPECT_FALSE(main.TutorActive);
             EXPECT_FALSE(main.SpeedButton10->isChecked());
         }},
        {"Tutoreditor2",
         [&](QAction* a) {
             // Exercise 1 has no setup view here: the editor, which works beside it, stays shut.
             main.SpeedButton9->setEnabled(true);
             emit main.menuBar()->findChild<QMenu*>("File1")->aboutToShow();
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
                // Only exercises 1 and 4 have windows here and none a setup view; the results
                // window and the user overview serve every exercise.
                const bool exists = ((e == 1 || e == 4) && v == 1) || v >= 3;
                EXPECT_EQ(main.CurrentExercise == e && main.CurrentView == v, exists)
                    << a->objectName().toStdString();
                main.SelectView(1, 1);
            });

    // The users submenu makes its class items when it opens.
    openMenus(main.menuBar());
    QAction* exit = nullptr;
    QAction* changeUser = nullptr;
    for (QAction* a : commandItems(main.menuBar())) {
        if (a->objectName() == "Afslut1") {
            exit = a;
            continue;
        }
        if (a->objectName() == "Changeuser1") {
            changeUser = a;
            continue;
        }
        ASSERT_TRUE(checks.contains(a->objectName()))
            << "an item without a check: " << a->objectName().toStdString();
        EXPECT_FALSE(a->text().isEmpty());
        checks[a->objectName()](a);
        main.SelectView(1, 1);
    }
    EXPECT_TRUE(main.menuAction("Class3") != nullptr);

    // "Log in as another user" ends the session and asks who logs in; a guest may.
    ASSERT_NE(changeUser, nullptr);
    shell.store->Common.allowGuestLogin = true;
    shell.store->Common.useSystemLogin = false;
    MessageBoxes questions;
    bool loginShown = false;
    whenModalOf<TUserLoggin>([&loginShown](TUserLoggin* login) {
        loginShown = true;
        login->reject();
    });
    changeUser->trigger();
    EXPECT_TRUE(loginShown);
    EXPECT_TRUE(main.Guest);

    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    main.show();
    exit->trigger();
    EXPECT_FALSE(main.isVisible());
    QDesktopServices::unsetUrlHandler("mailto");
    QDesktopServices::unsetUrlHandler("https");
}

TEST(Menus, HelpAddressesComeFromTheInstallation) {
    SettingsShell shell;
    QMenu* help = shell.main.menuBar()->findChild<QMenu*>("Help1");
    {
        // No address given: no item that could reach nobody.
        HelpAddresses none(shell.dir.path() + "/none.ini", "", "");
        emit help->aboutToShow();
        EXPECT_FALSE(shell.main.menuAction("Reportbugs1")->isVisible());
        EXPECT_FALSE(shell.main.menuAction("KalvintorWeb1")->isVisible());
    }
    HelpAddresses given(shell.dir.path() + "/given.ini", "help@school.example", "https://school.example");
    emit help->aboutToShow();
    EXPECT_TRUE(shell.main.menuAction("Reportbugs1")->isVisible());
    EXPECT_TRUE(shell.main.menuAction("KalvintorWeb1")->isVisible());
    // No mail program: the address is shown instead.
    MessageBoxes boxes;
    shell.main.menuAction("Reportbugs1")->trigger();
    QTRY_COMPARE(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts.first(), "help@school.example");
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
        {"Reports1", QKeySequence(Qt::Key_F10)},
        {"Classmaintenance1", QKeySequence(Qt::Key_F11)},
        {"Refresh1", QKeySequence(Qt::Key_F12)},
        {"Notesheet1", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
        {"Answerbyname1", QKeySequence(Qt::SHIFT | Qt::Key_F6)},
        {"Guitar1", QKeySequence(Qt::SHIFT | Qt::Key_F7)},
        {"Piano1", QKeySequence(Qt::SHIFT | Qt::Key_F8)},
        {"Microphone1", QKeySequence(Qt::SHIFT | Qt::Key_F11)},
        {"MIDIin1", QKeySequence(Qt::SHIFT | Qt::Key_F12)},
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
    main.SetInfoView(app::kViewResults, new RecordingResults);
    const auto visible = [&](const char* name) { return main.menuAction(name)->isVisible(); };
    const auto enabled = [&](const char* name) { return main.menuAction(name)->isEnabled(); };
    const auto menuVisible = [&](const char* name) {
        return bar->findChild<QMenu*>(name)->menuAction()->isVisible();
    };

    // A guest: no saving of setups, no options, no user info, no print.
    setLevel(main, app::kLevelGuest);
    main.SelectView(1, 1);
    openMenus(bar);
    EXPECT_FALSE(enabled("Gemopstning1"));
    EXPECT_FALSE(enabled("Exercise1View2"));
    EXPECT_FALSE(visible("Exercise1View4"));
    EXPECT_TRUE(main.menuAction("Exercise1View1")->isChecked());
    EXPECT_FALSE(menuVisible("Options1"));
    EXPECT_FALSE(visible("Userinfo1"));
    EXPECT_FALSE(visible("Reports1"));
    EXPECT_FALSE(visible("Refresh1"));

    // A student in the results view: print and the periods, no users submenu, no refresh.
    setLevel(main, app::kLevelStudent);
    main.SelectView(1, app::kViewResults);
    openMenus(bar);
    EXPECT_TRUE(menuVisible("Options1"));
    EXPECT_TRUE(visible("Reports1") && enabled("Reports1"));
    EXPECT_TRUE(menuVisible("Resultsumations1"));
    EXPECT_TRUE(main.menuAction("Period1week")->isChecked());
    EXPECT_TRUE(visible("Deleteresults1") && enabled("Deleteresults1"));
    EXPECT_FALSE(menuVisible("Usrs1"));
    EXPECT_FALSE(visible("Refresh1"));
    EXPECT_FALSE(visible("Classmaintenance1"));
    EXPECT_TRUE(main.menuAction("Exercise1View3")->isChecked());

    // A teacher in the setup view: setup checked, overview shown, tool panels other than the
    // standard one not available outside the exercise view; no periods or delete here.
    setLevel(main, app::kLevelTeacher);
    main.CurrentView = 2;  // no setup window is registered here; the menus read the view in front
    openMenus(bar);
    EXPECT_TRUE(enabled("Gemopstning1"));
    EXPECT_TRUE(main.menuAction("Exercise1View2")->isChecked());
    EXPECT_FALSE(main.menuAction("Exercise1View1")->isChecked());
    EXPECT_TRUE(visible("Exercise1View4"));
    EXPECT_FALSE(enabled("Speed"));
    EXPECT_TRUE(enabled("Standard"));
    EXPECT_FALSE(visible("Rhythmwithmetronome1"));
    EXPECT_FALSE(visible("Deleteresults1"));
    EXPECT_FALSE(menuVisible("Resultsumations1"));
    EXPECT_TRUE(visible("Refresh1"));
    EXPECT_FALSE(enabled("Refresh1"));
    EXPECT_TRUE(visible("Classmaintenance1"));
    EXPECT_FALSE(visible("Program1"));
    // The answer displays are radio items of the setup dialogs' display.
    EXPECT_FALSE(visible("Answerbyname1"));
    EXPECT_TRUE(main.menuAction("Notesheet1")->isChecked());
    main.menuAction("Notesheet1")->trigger();  // unchecking the only one keeps it
    EXPECT_EQ(main.Settings.answerInputs[0].instrument, 8);
    main.menuAction("Guitar1")->trigger();
    EXPECT_EQ(main.Settings.answerInputs[0].instrument, 4);
    EXPECT_FALSE(main.menuAction("Notesheet1")->isChecked());

    // An administrator in the exercise view: administration, note identification and key names.
    setLevel(main, app::kLevelAdministrator);
    main.SelectView(1, 1);
    openMenus(bar);
    EXPECT_TRUE(visible("Program1"));
    EXPECT_TRUE(menuVisible("Noteidentification1"));
    EXPECT_TRUE(visible("Showkeyname1"));
    EXPECT_FALSE(menuVisible("Usrs1"));
    EXPECT_FALSE(visible("Deleteresults1"));
    main.Settings.answerInputMethod = 7;  // out of range: the first item
    emit bar->findChild<QMenu*>("Noteidentification1")->aboutToShow();
    EXPECT_TRUE(main.menuAction("Absolute1")->isChecked());
    // The results view shows every answer display disabled, "Answer by name" still visible.
    main.SelectView(1, app::kViewResults);
    openMenus(bar);
    EXPECT_TRUE(visible("Answerbyname1"));
    for (const char* item : {"Answerbyname1", "Piano1", "Guitar1", "Notesheet1", "Microphone1", "MIDIin1"})
        EXPECT_FALSE(enabled(item)) << item;

    // The tool panels' pop-up mirrors the Speedbar items and works them.
    std::unique_ptr<QMenu> popup(main.createPopupMenu());
    ASSERT_NE(popup, nullptr);
    const QList<QAction*> mirrors = popup->actions();
    ASSERT_EQ(mirrors.size(), 4);
    EXPECT_EQ(mirrors[0]->text(), "1");
    EXPECT_FALSE(mirrors[2]->isEnabled());  // "Speed" only in the exercise view
    const bool standard = main.ToolPanelWanted(kPanelStandard);
    EXPECT_EQ(mirrors[0]->isChecked(), standard);
    mirrors[0]->trigger();
    EXPECT_NE(main.ToolPanelWanted(kPanelStandard), standard);

    // Opening a menu stops the automatic new question.
    main.AutoNewQuestTimer.start(5000);
    emit bar->findChild<QMenu*>("Options1")->aboutToShow();
    EXPECT_FALSE(main.AutoNewQuestTimer.isActive());
}

#include "MenusTest.moc"
