// The main window as the shell of the exercises: view switching and tags, clocks, session results,
// the score panel, keys, timers, notifications and the visual metronome.
#include "ExerciseTestDoubles.h"
#include "app/ExerciseClocks.h"
#include "app/MainPanels.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/TControlButton.h"
#include "app/TKalvintorMain.h"
#include "app/TMenuDialog.h"
#include "app/ViewTags.h"
#include "data/DataStore.h"
#include "setup/SetupRecord.h"
#include "sound/SoundEvents.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using kalvintor::ui::testing::RecordingExercise;

namespace {

// How long a test waits for a timer of a few hundred milliseconds to fire on a busy machine.
constexpr int kTimerDeadlineMs = 10000;

// A main window on a recording MIDI device with recording exercises 1, 3 and 5 and the start menu.
struct Shell {
    Shell() {
        for (int e : {1, 3, 5}) {
            exercises[e] = new RecordingExercise(e, main);
            main.SetExerciseWindow(e, exercises[e]);
        }
        main.CreateMenuDialog();
    }
    void key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, key, mods);
        QKeyEvent up(QEvent::KeyRelease, key, mods);
        main.HandleKeyDown(&down);
        main.HandleKeyUp(&up);
    }
    TKalvintorMain main{nullptr, kalvintor::ui::testing::quietSound()};
    std::array<RecordingExercise*, 11> exercises{};
};

}  // namespace

TEST(MainViews, TagsChooseTheExerciseAndTheView) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.Speed1Click(3);  // a tool button: exercise 3 in the current view
    EXPECT_EQ(main.CurrentExercise, 3);
    EXPECT_EQ(main.CurrentView, 1);
    EXPECT_EQ(main.views()->currentWidget(), shell.exercises[3]);
    EXPECT_TRUE(main.exerciseButton(3)->isChecked());
    EXPECT_EQ(main.Label3->text(), "Interval comparison");
    EXPECT_EQ(main.Label1->text(), "Exercise");

    main.Speed1Click(0);  // a button without a tag keeps both
    EXPECT_EQ(main.CurrentExercise, 3);

    main.Speed1Click(app::MakeTag(1, 5));
    EXPECT_EQ(main.CurrentExercise, 5);
    EXPECT_EQ(shell.exercises[3]->calls.count("leave"), 1);
    EXPECT_TRUE(main.Label4->isVisibleTo(main.Label4->parentWidget())) << "\"Total\" in the rhythm exercises";

    main.Speed1Click(app::kTagOverview);
    EXPECT_EQ(main.CurrentExercise, 0);
    EXPECT_EQ(main.CurrentView, 1);
    EXPECT_EQ(main.views()->currentWidget(), main.menuDialog());
    EXPECT_EQ(shell.exercises[5]->calls.count("leave"), 1);
    EXPECT_EQ(shell.exercises[5]->calls.count("stop"), 1) << "a rhythm exercise stops when it is left";
    for (int e = 1; e <= 10; ++e) EXPECT_FALSE(main.exerciseButton(e)->isChecked()) << e;

    // Exercises without a window and views not built yet are refused without a change.
    main.Speed1Click(7);
    main.Speed1Click(app::MakeTag(2, 3));
    EXPECT_EQ(main.CurrentExercise, 0);
    EXPECT_FALSE(main.exerciseButton(7)->isEnabled());
    EXPECT_TRUE(main.exerciseButton(3)->isEnabled());
    EXPECT_FALSE(main.menuDialog()->exerciseButton(7)->isEnabled());
}

namespace {

// A setup view that shows whether an exercise plays its notes together, and an info view that notes
// the exercise it was shown for.
struct TempoSetupView final : SetupView {
    QWidget* widget() override { return &page; }
    void LoadSetup(int exercise, const setup::SetupRecord& setup) override {
        loadedFor = exercise;
        together = setup.pitchBlock(exercise).playTogether;
    }
    void StoreSetup(int exercise, setup::SetupRecord& setup) override {
        pitch::SetupBlock block = setup.pitchBlock(exercise);
        block.playTogether = together;
        setup.setPitchBlock(exercise, block);
    }
    QWidget page;
    int loadedFor = 0;
    std::uint8_t together = 0;
};

struct NotingInfoView final : InfoView {
    QWidget* widget() override { return &page; }
    void ShowView(int exercise) override { shownFor.push_back(exercise); }
    QWidget page;
    std::vector<int> shownFor;
};

}  // namespace

TEST(MainViews, SetupViewTakesTheSetupAndInfoViewsShowTheExercise) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    TempoSetupView setupView;
    NotingInfoView results;
    main.AccessRights.fill(true);
    main.SetSetupView(3, &setupView);
    main.SetInfoView(app::kViewResults, &results);

    main.Speed1Click(3);
    EXPECT_TRUE(main.RunKonfig->isEnabled());
    EXPECT_TRUE(main.SpeedButton5->isEnabled());
    EXPECT_FALSE(main.SpeedButton11->isEnabled()) << "no user overview registered";

    // GIVEN the setup view of interval comparison WHEN its value changes and the view is left
    // THEN the setup in force and its saved copy hold the new value and the change is noted.
    main.Speed1Click(app::MakeTag(2, 0));
    ASSERT_EQ(main.CurrentView, app::kViewSetup);
    EXPECT_EQ(main.views()->currentWidget(), &setupView.page);
    EXPECT_EQ(setupView.loadedFor, 3);
    EXPECT_TRUE(main.RunKonfig->isChecked());
    EXPECT_EQ(main.Label1->text(), "Exercise setup");
    EXPECT_EQ(shell.exercises[3]->calls.count("leave"), 1);
    const std::uint8_t changed = setupView.together == 0 ? 1 : 0;
    setupView.together = changed;

    // Leaving the changed view asks whether to save it; No keeps the change in force unsaved.
    int asked = 0;
    QTimer::singleShot(0, [&asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++asked;
            box->button(QMessageBox::No)->click();
        }
    });
    main.Speed1Click(app::MakeTag(3, 0));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(main.Setup.current.pitchBlock(3).playTogether, changed);
    EXPECT_EQ(main.Setup.savedCopy.pitchBlock(3).playTogether, changed);
    EXPECT_TRUE(main.Setup.setupChanged);
    EXPECT_EQ(main.views()->currentWidget(), &results.page);
    EXPECT_EQ(results.shownFor, std::vector<int>{3});
    EXPECT_EQ(main.Label1->text(), "Results");

    // Exercise 1 has no setup view: the setup view cannot be chosen for it.
    main.Speed1Click(1);
    EXPECT_EQ(results.shownFor, (std::vector<int>{3, 1}));
    EXPECT_FALSE(main.RunKonfig->isEnabled());
    main.Speed1Click(app::MakeTag(2, 0));
    EXPECT_EQ(main.CurrentView, app::kViewResults);

    main.Speed1Click(app::MakeTag(1, 0));
    EXPECT_EQ(main.views()->currentWidget(), shell.exercises[1]);
    EXPECT_TRUE(main.SpeedButton1->isChecked());
}

TEST(MainViews, EnteringAgainKeepsOneLeaveAndTheExerciseTimeCountsOnlyInTheView) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    RecordingExercise& three = *shell.exercises[3];
    main.Speed1Click(3);
    EXPECT_GE(three.SessionStart, 1.0);
    EXPECT_EQ(main.Label7->text(), "0:00");
    EXPECT_TRUE(main.Timer1.isActive());

    // Ten minutes in the exercise view, then away to the start menu.
    three.ActivatedAt -= 10.0 / 1440;
    main.Speed1Click(app::kTagOverview);
    EXPECT_NEAR(three.ActiveTime * 1440, 10.0, 0.01);
    EXPECT_EQ(three.ActivatedAt, 0.0);
    EXPECT_TRUE(main.Label7->text().isEmpty());

    main.Speed1Click(3);
    EXPECT_EQ(main.Label7->text(), "0:10") << "the time of the earlier visit is kept";
    main.Speed1Click(3);  // the same exercise again: entered again, not left
    EXPECT_EQ(three.calls.count("enter"), 3);
    EXPECT_EQ(three.calls.count("leave"), 1);
}

TEST(MainViews, SessionResultsOnlyForTheSessionOrAppendedToTheStore) {
    QTemporaryDir dir;
    data::DataStore store(toPath(dir.path() + "/"));
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.Store = &store;
    main.UserId = 12;
    RecordingExercise& three = *shell.exercises[3];

    main.SaveSessionResult(3, false, true);
    EXPECT_EQ(main.SessionResults[3].record.questions, 0) << "never opened: nothing is stored";

    main.Speed1Click(3);
    three.QuestionCount = 3;
    three.CorrectCount = 2;
    EXPECT_EQ(main.ExercisesWithQuestions(0x3FF, 5), 0);
    EXPECT_EQ(main.ExercisesWithQuestions(0x3FF, 1), 0b100);
    main.SaveSessionResult(3, false, true);
    const data::ResultRecord& session = main.SessionResults[3].record;
    EXPECT_EQ(session.questions, 3);
    EXPECT_EQ(session.correct, 2);
    EXPECT_LT(session.sessionStart, 1.0) << "a time of day only";
    store.LoadResults(12);
    EXPECT_TRUE(store.ResultList().empty()) << "a session-only result is not appended";
    EXPECT_GT(three.ActivatedAt, 0.0) << "the clock goes on in the exercise view";

    three.QuestionCount = 5;
    three.CorrectCount = 4;
    main.SaveSessionResults(main.ExercisesWithQuestions(0x3FF, 5), false, false);
    store.LoadResults(12);
    ASSERT_EQ(store.ResultList().size(), 1u);
    const data::ResultRecord& saved = store.ResultList()[0]->record;
    EXPECT_EQ(saved.userId, 12);
    EXPECT_EQ(saved.exercise, 3);
    EXPECT_EQ(saved.questions, 5);
    EXPECT_EQ(saved.correct, 4);
    EXPECT_GE(saved.sessionStart, 1.0);
}

TEST(MainViews, AResultThatCannotBeSavedIsToldAndKeptForTheNextSave) {
    QTemporaryDir dir;
    const auto data = toPath(dir.path() + "/");
    // The result folder is a link the store does not write through.
    std::filesystem::create_directories(data / "Elsewhere");
    std::filesystem::create_directory_symlink(data / "Elsewhere", data / "Result");
    data::DataStore store(data);
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.Store = &store;
    main.UserId = 12;
    RecordingExercise& three = *shell.exercises[3];
    main.Speed1Click(3);
    three.QuestionCount = 5;

    QString told;
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&told] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->button(QMessageBox::Cancel)->click();
        }
    });
    answer.start(0);
    main.SaveSessionResults(0b100, false, false);
    EXPECT_TRUE(told.contains("could not be saved")) << told.toStdString();
    EXPECT_TRUE(told.contains("symbolic link")) << told.toStdString();
    ASSERT_EQ(main.UnsavedResults.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(data / "Elsewhere"));

    // Once the folder is right again, the next save writes the kept result first.
    std::filesystem::remove(data / "Result");
    three.QuestionCount = 7;
    main.SaveSessionResults(0b100, false, false);
    EXPECT_TRUE(main.UnsavedResults.empty());
    store.LoadResults(12);
    ASSERT_EQ(store.ResultList().size(), 2u);
    EXPECT_EQ(store.ResultList()[0]->record.questions, 5);
    EXPECT_EQ(store.ResultList()[1]->record.questions, 7);
}

TEST(MainViews, ScorePanelWidthsFollowTheExercise) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    QWidget* panel = main.Label15->parentWidget();
    panel->setFixedSize(300, 30);  // docked one row high
    main.Speed1Click(1);
    main.LayOutScorePanel();
    EXPECT_EQ(main.Label15->width(), 200) << "chord identification: two thirds";
    main.Speed1Click(5);
    main.LayOutScorePanel();
    EXPECT_EQ(main.Label15->width(), 150) << "rhythm reading: half";

    // The gauge before any question and at 2 of 3.
    main.showScore(kalvintor::app::ScorePercent(0, 0), "Score");
    EXPECT_EQ(main.Gauge15->Progress(), 100);
    main.showScore(kalvintor::app::ScorePercent(2, 3), "Score: 2 of 3");
    EXPECT_EQ(main.Gauge15->Progress(), 67);
    EXPECT_EQ(main.Label15->text(), "Score: 2 of 3");
}

TEST(MainViews, KeysSwitchExercisesAndPressControlButtons) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    shell.key(Qt::Key_1, Qt::ControlModifier);  // the first exercise of the menu
    EXPECT_EQ(main.CurrentExercise, 3);
    shell.key(Qt::Key_3, Qt::ControlModifier);  // chord identification
    EXPECT_EQ(main.CurrentExercise, 1);
    shell.key(Qt::Key_Escape);
    EXPECT_EQ(main.CurrentExercise, 0);

    main.Speed1Click(3);
    RecordingExercise& three = *shell.exercises[3];
    TControlButton& buttons = *three.ControlButton;
    buttons.setButtonEnabled(0, true);
    shell.key(Qt::Key_F6);  // button 1 is disabled: nothing
    EXPECT_FALSE(three.calls.contains("repeat"));
    shell.key(Qt::Key_F5);
    EXPECT_EQ(three.calls.count("new"), 1);
    EXPECT_EQ(buttons.PressedIndex, -1);

    // On the start menu the function keys reach no exercise.
    main.Speed1Click(app::kTagOverview);
    shell.key(Qt::Key_F5);
    EXPECT_EQ(three.calls.count("new"), 1);
}

TEST(MainViews, NotificationsAndTimersReachTheCurrentExerciseOnly) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.Speed1Click(3);
    RecordingExercise& three = *shell.exercises[3];
    const std::uint64_t current = main.sound().sequencer.Generation();

    QCoreApplication::sendEvent(
        &main, std::make_unique<sound::NotificationEvent>(sound::Notification{3, 41, current}).get());
    QCoreApplication::sendEvent(
        &main, std::make_unique<sound::NotificationEvent>(sound::Notification{3, 42, current + 7}).get());
    EXPECT_EQ(three.calls.filter("notify").join(","), "notify:41") << "one of a stopped playback is dropped";

    main.startAnswerBlinkTimer(200);
    main.startAutoNewQuestTimer();
    EXPECT_EQ(main.AutoNewQuestTimer.interval(), 4 * 1000 + 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return three.calls.count("blink") >= 1; }, kTimerDeadlineMs));
    main.stopAnswerBlinkTimer();

    // The light display steps the pitch exercises only: interval comparison gets no step however
    // often the timer has fired.
    int lightTicks = 0;
    const auto counting = QObject::connect(&main.LightDisplaytime, &QTimer::timeout, [&] { ++lightTicks; });
    main.startLightDisplayTimer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return lightTicks >= 2; }, kTimerDeadlineMs));
    EXPECT_FALSE(three.calls.contains("light"));
    main.Speed1Click(1);
    main.startLightDisplayTimer();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return shell.exercises[1]->calls.count("light") >= 1; }, kTimerDeadlineMs));
    QObject::disconnect(counting);

    main.Speed1Click(app::kTagOverview);
    EXPECT_FALSE(main.AutoNewQuestTimer.isActive()) << "leaving the exercise stops it";
    EXPECT_FALSE(main.LightDisplaytime.isActive());
}

TEST(MainViews, TempoAndTheVisualMetronome) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.TrackBar1->setValue(120);
    EXPECT_EQ(main.Label8->text(), "= 120");
    EXPECT_EQ(main.sound().sequencer.Tempo(), 120);
    EXPECT_EQ(main.Settings.pitchTempo, 90) << "moving the slider in the overview stores nothing";

    main.Speed1Click(3);
    EXPECT_EQ(main.TrackBar1->value(), 90) << "the settings' tempo for interval comparison";
    main.TrackBar1->setValue(100);
    EXPECT_EQ(main.Settings.pitchTempo, 100);

    main.Speed1Click(5);
    EXPECT_TRUE(main.Metro->isEnabled()) << "rhythm reading has a metronome";
    EXPECT_FALSE(main.ToolWindow(kPanelMetronome)->isVisibleTo(&main));
    main.VisualMetronomeClick(true);
    EXPECT_TRUE(main.ToolWindow(kPanelMetronome)->isVisibleTo(&main));
    main.show();
    QCoreApplication::sendEvent(
        &main, std::make_unique<sound::NotificationEvent>(
                   sound::Notification{sound::kWindowMain, 4 * 256 + 3, main.sound().sequencer.Generation()})
                   .get());
    const auto& dots = main.PaintBox2->Frame().dots;
    ASSERT_EQ(dots.size(), 4u);
    EXPECT_EQ(dots[2].colour, app::DotColour::DarkGreen);
    EXPECT_EQ(dots[0].colour, app::DotColour::Silver);

    main.Speed1Click(1);
    EXPECT_FALSE(main.Metro->isEnabled()) << "chord identification has no metronome";
    EXPECT_FALSE(main.ToolWindow(kPanelMetronome)->isVisibleTo(&main));
}

TEST(MainViews, ToolPanelLayoutSurvivesTheSettings) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    main.resize(1000, 700);
    main.Speed1Click(3);
    main.removeToolBar(main.ToolWindow(kPanelScore));
    main.addToolBar(Qt::BottomToolBarArea, main.ToolWindow(kPanelScore));
    main.ToolWindow(kPanelScore)->show();
    main.show();
    QCoreApplication::processEvents();

    settings::Settings stored = settings::defaultSettings();
    main.StoreToolLayout(stored);
    EXPECT_EQ(stored.toolWindows[kPanelScore].dockSide,
              static_cast<std::uint8_t>(settings::DockSide::Bottom));
    EXPECT_EQ(stored.toolWindows[kPanelStandard].dockSide,
              static_cast<std::uint8_t>(settings::DockSide::Top));

    Shell other;
    other.main.resize(1000, 700);
    other.main.RestoreToolLayout(stored);
    EXPECT_EQ(other.main.toolBarArea(other.main.ToolWindow(kPanelScore)), Qt::BottomToolBarArea);
    EXPECT_EQ(other.main.toolBarArea(other.main.ToolWindow(kPanelStandard)), Qt::TopToolBarArea);
}

TEST(MainViews, ALayoutStoredFromTheStartMenuKeepsThePanelsItHides) {
    // The start menu hides the score, tempo and extras panels; stored from there, at a close or
    // by the wizard, they must come back in their rows, not above the standard panel.
    const auto topsInAnExercise = [](TKalvintorMain& m) {
        m.Speed1Click(3);
        m.layout()->activate();
        return std::pair(m.ToolWindow(kPanelStandard)->geometry().top(),
                         m.ToolWindow(kPanelScore)->geometry().top());
    };
    Shell shell;
    shell.main.resize(1000, 700);
    shell.main.show();
    const auto [standardTop, scoreTop] = topsInAnExercise(shell.main);
    ASSERT_LT(standardTop, scoreTop);

    for (const bool everShown : {false, true}) {
        SCOPED_TRACE(everShown);
        Shell from;
        from.main.resize(1000, 700);
        from.main.show();
        if (everShown) topsInAnExercise(from.main);
        from.main.SelectView(0, 1);
        ASSERT_TRUE(from.main.ToolWindow(kPanelScore)->isHidden());
        settings::Settings stored = settings::defaultSettings();
        from.main.StoreToolLayout(stored);
        EXPECT_TRUE(from.main.ToolWindow(kPanelScore)->isHidden()) << "what is hidden stays hidden";

        Shell next;
        next.main.resize(1000, 700);
        next.main.RestoreToolLayout(stored);
        next.main.show();
        EXPECT_EQ(topsInAnExercise(next.main), std::pair(standardTop, scoreTop));
    }
}

TEST(MainViews, ToolButtonPicturesAreInked) {
    Shell shell;  // the program directory, where the music font is
    const auto inked = [](const QIcon& icon, QSize size) {
        const QImage image = icon.pixmap(size).toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 128;
        return count;
    };
    for (int e = 1; e <= 10; ++e) EXPECT_GT(inked(exerciseIcon(e), QSize(50, 23)), 40) << "exercise " << e;
    for (ToolGlyph glyph : {ToolGlyph::LoadSetup, ToolGlyph::Help, ToolGlyph::Microphone})
        EXPECT_GT(inked(toolIcon(glyph), QSize(24, 24)), 20);
}

TEST(MainViews, ToolPicturesAreDrawnWholeAtEverySizeTheyAreShownAt) {
    Shell shell;
    const auto argb = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
    // Smaller than drawn (a button of the small icon size): the whole picture scaled down, not a
    // corner of it.
    const QIcon help = toolIcon(ToolGlyph::Help);
    const QPixmap whole = help.pixmap(QSize(24, 24), 1.0);
    EXPECT_EQ(argb(help.pixmap(QSize(16, 16), 1.0)),
              argb(whole.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    // On a screen of twice the pixel ratio: drawn with twice the pixels, not blown up.
    struct Case {
        QIcon icon;
        QSize shown;
        QSize pixels;
    };
    for (const Case& c : {Case{help, {24, 24}, {48, 48}}, Case{exerciseIcon(1), {50, 23}, {100, 45}}}) {
        const QPixmap sharp = c.icon.pixmap(c.shown, 2.0);
        EXPECT_EQ(sharp.size(), c.pixels);
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_NE(argb(sharp), argb(c.icon.pixmap(c.shown, 1.0).scaled(c.pixels)));
    }
}

TEST(MainViews, SetupFilesLoadIntoEveryExerciseAndBadOnesAreToldInABox) {
    QTemporaryDir dir;
    Shell shell;
    TKalvintorMain& main = shell.main;
    const auto loadAnswering = [&main](const QString& file) {
        QString seen;
        QTimer answer;  // ends with the call when no box came
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->text();
                box->accept();
            }
        });
        answer.start(0);
        main.Setup.LoadSetupFile(toPath(file).string(), false);
        return seen;
    };

    // A setup of our own: every exercise window takes it, and shows its name.
    setup::SetupRecord own = setup::DefaultSetup();
    own.bytes[own.block(3).data() - own.bytes.data() + 80] = 70;  // exercise 3's upper limit
    main.Setup.current = own;
    ASSERT_TRUE(main.Setup.SaveSetupFile(toPath(dir.filePath("Thirds.lvs")).string()));
    main.Setup.current = setup::DefaultSetup();
    shell.exercises[3]->calls.clear();
    EXPECT_TRUE(loadAnswering(dir.filePath("Thirds.lvs")).isEmpty());
    EXPECT_EQ(main.Setup.current.block(3)[80], 70);
    EXPECT_EQ(shell.exercises[3]->calls.count("setup"), 1);
    EXPECT_EQ(shell.exercises[3]->windowTitle(), "Thirds");
    main.Speed1Click(3);
    EXPECT_EQ(main.windowTitle(), "Kalvintor School - Thirds");
    main.Speed1Click(app::kTagOverview);
    EXPECT_EQ(main.windowTitle(), "Kalvintor School");

    // Garbage of a setup's size: the setup in force stays.
    QFile garbage(dir.filePath("Garbage.lvs"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(static_cast<int>(setup::kSetupRecordSize), '\x5A'));
    garbage.close();
    EXPECT_EQ(loadAnswering(garbage.fileName()),
              "This file is not an exercise setup of this version of Kalvintor School.");
    EXPECT_EQ(main.Setup.current.block(3)[80], 70);

    // A file that is gone: told, and the built-in setup takes over.
    EXPECT_TRUE(loadAnswering(dir.filePath("Gone.lvs")).startsWith("File does not exist:"));
    EXPECT_EQ(main.Setup.current, setup::DefaultSetup());
}

TEST(MainViews, MicrophoneNotesAndClapsReachTheExerciseThatListens) {
    Shell shell;
    TKalvintorMain& main = shell.main;
    const auto post = [&main](int message, std::uint32_t w, std::int64_t l, std::uint64_t generation) {
        sound::MicEvent event(message, w, l, generation);
        QCoreApplication::sendEvent(&main, &event);
    };

    main.sound().mic().MicBegin(1);
    post(sound::kMicNoteMessage, 64, 0, main.sound().MicGeneration());
    post(sound::kMicNoteMessage, 65, 0, main.sound().MicGeneration() + 1);  // of another detection
    EXPECT_EQ(shell.exercises[1]->calls.filter("pitch").join(","), "pitch:64");

    main.sound().mic().MicBegin(5);
    post(sound::kMicEventMessage, 999, 1234, main.sound().MicGeneration());
    EXPECT_EQ(shell.exercises[5]->calls.filter("clap").join(","), "clap:1234");
    main.stopMicrophone();
    post(sound::kMicEventMessage, 999, 1300, main.sound().MicGeneration());
    EXPECT_EQ(shell.exercises[5]->calls.filter("clap").size(), 1) << "nobody listens once it is off";
}
